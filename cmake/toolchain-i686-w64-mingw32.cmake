# Cross build for 32-bit Windows with mingw-w64 (posix thread model): the shipped program.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TARGET_TRIPLE i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-posix.cmake")
