# Cross build for 64-bit Windows with Debian's MinGW-w64. The -posix variants of the compilers
# are used because the default ones (win32 thread model) lack std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BWCORE_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${BWCORE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BWCORE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BWCORE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BWCORE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
