# The Windows program's plain C++ text helpers (the UTF-8 and UTF-16 conversion, the PATH
# splitting), built natively so that tests and a fuzz target can check them without Windows.
if(NOT TARGET tarnwick_windows_text)
    add_library(tarnwick_windows_text STATIC ${PROJECT_SOURCE_DIR}/windows/wide_text.cpp
                                             ${PROJECT_SOURCE_DIR}/windows/search_path.cpp)
    target_include_directories(tarnwick_windows_text PUBLIC ${PROJECT_SOURCE_DIR}/windows)
    target_link_libraries(tarnwick_windows_text PRIVATE tarnwick_logic tarnwick_warnings tarnwick_sanitizers)
    set_target_properties(tarnwick_windows_text PROPERTIES AUTOMOC OFF)
endif()
