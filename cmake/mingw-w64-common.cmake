# Cross-builds the Windows program with MinGW-w64 for the processor the including file names in
# CMAKE_SYSTEM_PROCESSOR. The win32 thread flavour: the program needs no threads, and the posix
# one would bring winpthread into every executable.
set(CMAKE_SYSTEM_NAME Windows)
set(_triplet ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${_triplet}-gcc-win32)
set(CMAKE_CXX_COMPILER ${_triplet}-g++-win32)
set(CMAKE_RC_COMPILER ${_triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
