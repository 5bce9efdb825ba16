# The Windows programs' plain C++ text helpers (the UTF-8 and UTF-16 conversion, the PATH
# splitting, the quoting and reading of command lines, the console host's request, and the words and
# colours of how a run ended), built natively so that tests and a fuzz target can check them
# without Windows.
if(NOT TARGET tarnwick_windows_text)
    set(_windows ${PROJECT_SOURCE_DIR}/windows)
    add_library(tarnwick_windows_text STATIC
        ${_windows}/wide_text.cpp
        ${_windows}/search_path.cpp
        ${_windows}/argument_quoting.cpp
        ${_windows}/console/host_request.cpp
        ${_windows}/console/run_ending.cpp
        ${_windows}/console/file_time.cpp)
    target_include_directories(tarnwick_windows_text PUBLIC ${_windows} ${_windows}/console)
    target_link_libraries(tarnwick_windows_text PUBLIC tarnwick_run PRIVATE tarnwick_warnings tarnwick_sanitizers)
    set_target_properties(tarnwick_windows_text PROPERTIES AUTOMOC OFF)
endif()
