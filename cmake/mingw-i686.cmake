# 32-bit Windows: the shipped programs, and everything run under a Wine
# that runs 32-bit programs.
set(MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
