# Cross-compiling for Windows with MinGW-w64, for the processor that the
# including toolchain file sets in MINGW_PROCESSOR. The shipped programs use
# the win32 thread model (its runtime imports nothing Windows XP lacks); the
# GoogleTest programs need the posix one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_PROCESSOR})
set(MINGW_THREAD_MODEL "win32" CACHE STRING "MinGW-w64 thread model: win32 or posix")
find_program(CMAKE_C_COMPILER ${MINGW_PROCESSOR}-w64-mingw32-gcc-${MINGW_THREAD_MODEL} REQUIRED)
find_program(CMAKE_CXX_COMPILER ${MINGW_PROCESSOR}-w64-mingw32-g++-${MINGW_THREAD_MODEL} REQUIRED)
find_program(CMAKE_RC_COMPILER ${MINGW_PROCESSOR}-w64-mingw32-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
