# Third-party libraries for the target, as imported targets:
#   ZLIB::ZLIB      zlib from Debian's mingw package (static archive)
#   minizip         the unzip part of minizip, cross-built from Debian's source package
#   JPEG::JPEG      libjpeg-turbo, cross-built (static) from Debian's source package
#   GTest::gtest / GTest::gtest_main  GoogleTest built for the target from Debian's sources
# The sources are fetched at configure time into the build tree; nothing is vendored.

set(THIRD_PARTY_SOURCES "${CMAKE_BINARY_DIR}/_sources" CACHE PATH "Unpacked Debian source packages")

if(NOT EXISTS "${THIRD_PARTY_SOURCES}/minizip.unpacked" OR NOT EXISTS "${THIRD_PARTY_SOURCES}/libjpeg-turbo.unpacked")
  message(STATUS "Fetching minizip and libjpeg-turbo sources")
  execute_process(COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/fetch-sources.sh" "${THIRD_PARTY_SOURCES}"
                  RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "Could not fetch the minizip and libjpeg-turbo sources")
  endif()
endif()

# zlib: the static archive, never the import library.
find_library(ZLIB_STATIC_LIBRARY NAMES libz.a REQUIRED)
find_path(ZLIB_INCLUDE_DIR zlib.h REQUIRED)
add_library(ZLIB::ZLIB STATIC IMPORTED GLOBAL)
set_target_properties(ZLIB::ZLIB PROPERTIES
  IMPORTED_LOCATION "${ZLIB_STATIC_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${ZLIB_INCLUDE_DIR}")

# minizip: unzip.c, ioapi.c and iowin32.c. The program opens archives through its own file
# functions (unzip/archive_file.cpp), which take the UTF-16 path that unzOpen2_64 passes
# through unread and open it with CreateFileW; iowin32 serves the benchmark and miniunz.
set(MINIZIP_DIR "${THIRD_PARTY_SOURCES}/minizip")
add_library(minizip STATIC
  "${MINIZIP_DIR}/unzip.c" "${MINIZIP_DIR}/ioapi.c" "${MINIZIP_DIR}/iowin32.c")
target_include_directories(minizip SYSTEM PUBLIC "${MINIZIP_DIR}")
target_compile_definitions(minizip PRIVATE NOCRYPT NOUNCRYPT)
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)

# libjpeg-turbo: its own CMake project, configured with this toolchain and built once (again
# when its settings change), with the same folder-name maps as our own code.
set(JPEG_SOURCE_DIR "${THIRD_PARTY_SOURCES}/libjpeg-turbo")
set(JPEG_BUILD_DIR "${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo")
set(JPEG_INSTALL_DIR "${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-install")
list(JOIN REPRODUCIBLE_PREFIX_MAPS " " jpeg_c_flags)
set(JPEG_SETTINGS
  -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX=${JPEG_INSTALL_DIR}
  -DCMAKE_C_FLAGS=${jpeg_c_flags}
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF
  -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm -DREQUIRE_SIMD=ON)
set(jpeg_settings_file "${JPEG_INSTALL_DIR}/settings.txt")
set(jpeg_built_settings "")
if(EXISTS "${jpeg_settings_file}")
  file(READ "${jpeg_settings_file}" jpeg_built_settings)
endif()
if(NOT EXISTS "${JPEG_INSTALL_DIR}/lib/libjpeg.a" OR NOT jpeg_built_settings STREQUAL "${JPEG_SETTINGS}")
  message(STATUS "Building libjpeg-turbo for the target")
  file(REMOVE_RECURSE "${JPEG_BUILD_DIR}" "${JPEG_INSTALL_DIR}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S "${JPEG_SOURCE_DIR}" -B "${JPEG_BUILD_DIR}" ${JPEG_SETTINGS}
    OUTPUT_QUIET RESULT_VARIABLE jpeg_configure)
  if(NOT jpeg_configure EQUAL 0)
    message(FATAL_ERROR "Could not configure libjpeg-turbo")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build "${JPEG_BUILD_DIR}" --target install --parallel 2
                  OUTPUT_QUIET RESULT_VARIABLE jpeg_build)
  if(NOT jpeg_build EQUAL 0)
    message(FATAL_ERROR "Could not build libjpeg-turbo")
  endif()
  file(WRITE "${jpeg_settings_file}" "${JPEG_SETTINGS}")
endif()
add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
set_target_properties(JPEG::JPEG PROPERTIES
  IMPORTED_LOCATION "${JPEG_INSTALL_DIR}/lib/libjpeg.a"
  INTERFACE_INCLUDE_DIRECTORIES "${JPEG_INSTALL_DIR}/include")

# GoogleTest for the target.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory("${GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL SYSTEM)
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
