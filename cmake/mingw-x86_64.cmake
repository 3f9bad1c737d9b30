# Cross-compiling for 64-bit Windows with MinGW-w64: the same programs and
# tests, for hosts whose Wine runs only 64-bit builds. Nothing built here ships.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_THREAD_MODEL "win32" CACHE STRING "MinGW-w64 thread model: win32 or posix")
find_program(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-${MINGW_THREAD_MODEL} REQUIRED)
find_program(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-${MINGW_THREAD_MODEL} REQUIRED)
find_program(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
