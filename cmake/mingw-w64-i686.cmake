# The 32-bit build, for 32-bit Windows PE: the same as the 64-bit one with the i686 compiler.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
