# The Windows zip: the program and its console host side by side, as the program looks for the host
# in its own folder, the licence and a short text on where it looks for the compiler.
install(TARGETS tarnwick tarnwick-console RUNTIME DESTINATION .)

# The texts go in with Windows' line endings: Notepad before Windows 10 shows a text with bare line
# feeds as one long line. The sources keep theirs.
function(tarnwick_windows_text source name)
    file(READ ${source} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${CMAKE_BINARY_DIR}/windows-text/${name} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    install(FILES ${CMAKE_BINARY_DIR}/windows-text/${name} DESTINATION .)
endfunction()
tarnwick_windows_text(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt)
tarnwick_windows_text(${CMAKE_CURRENT_LIST_DIR}/windows-readme.txt README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
else()
    set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
