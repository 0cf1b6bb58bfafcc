# Cross build for 64-bit Windows with the MinGW-w64 compilers of Debian
# (g++-mingw-w64-x86-64). The win32 thread model: the player runs one thread and needs no
# POSIX thread library, so nothing but system DLLs is imported.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LORIX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LORIX_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${LORIX_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${LORIX_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LORIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
