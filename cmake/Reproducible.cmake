# Reproducible builds: the same sources and payload give the same bytes, whatever folder they
# are built in and whenever (scripts/check-reproducible.sh checks it with two builds).
#
# - Folder names that the compiler writes into objects (__FILE__, debug information, the
#   assembler's file symbols) are written relative to the source folder (".") and the build
#   folder ("build"); the build folder comes last so that it wins where it lies inside the
#   source folder. The libraries cross-built at configure time get the same maps
#   (cmake/Dependencies.cmake).
# - The linker writes 0 instead of the time of the link into the PE header.
# - The shipped program is linked stripped (installer/CMakeLists.txt): no debug sections and
#   no symbol table, which would name the objects it was linked from.
# What stays in the program is code, data, resources and imports, all derived from the sources.
set(REPRODUCIBLE_PREFIX_MAPS
  "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=."
  "-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX,ASM>:${REPRODUCIBLE_PREFIX_MAPS}>")
add_link_options(-Wl,--no-insert-timestamp)
