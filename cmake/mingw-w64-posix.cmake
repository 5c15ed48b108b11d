# The cross build with mingw-w64 (posix thread model) for the triple in TARGET_TRIPLE; included
# by the toolchain file of each word size.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${TARGET_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARGET_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${TARGET_TRIPLE}-windres)
set(CMAKE_AR           ${TARGET_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       ${TARGET_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${TARGET_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
