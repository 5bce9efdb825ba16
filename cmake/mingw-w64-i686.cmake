# The 32-bit Windows program, as the program first was; built, not run, on machines without 32-bit support.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
