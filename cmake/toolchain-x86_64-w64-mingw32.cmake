# Cross build for 64-bit Windows with mingw-w64 (posix thread model): the 64-bit twin that
# the tests run on machines whose kernel runs no 32-bit code (scripts/machine.sh). The
# shipped program is built with toolchain-i686-w64-mingw32.cmake.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARGET_TRIPLE x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-posix.cmake")
