# 64-bit Windows: the same programs and tests, for hosts whose Wine runs
# only 64-bit programs. Nothing built here ships.
set(MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
