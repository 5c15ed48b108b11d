# Tests of target executables run under Wine (see scripts/wine-run.sh), inside one Wine
# session per ctest run: a setup fixture starts it, a cleanup fixture ends it.

# The Wine the tree's programs need (scripts/wine-env.sh): a win64 prefix for the 64-bit twin.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  file(WRITE "${CMAKE_BINARY_DIR}/wine-arch" "win64")
else()
  file(WRITE "${CMAKE_BINARY_DIR}/wine-arch" "win32")
endif()

add_test(NAME wine_session_start
         COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/wine-session.sh" start "${CMAKE_BINARY_DIR}")
add_test(NAME wine_session_stop
         COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/wine-session.sh" stop "${CMAKE_BINARY_DIR}")
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)

# add_wine_test(NAME TARGET [ARGS ...] [DRIVES d e ...] [FILES path ...] [PREPARE cmd ...] [TIMEOUT s]
#               [LOCALE locale CODE_PAGE n])
#   DRIVES:  drive letters mapped to fresh empty folders for this test (no other drive but c:)
#   FILES:   files or generator expressions copied beside the test program in C:\tests\NAME\
#   PREPARE: a host command run after the drive folders exist and before the program starts;
#            it finds each drive's folder in DRIVE_<LETTER> (DRIVE_D, ...) and the program's
#            staging folder in TEST_STAGE
#   LOCALE:  the Unix locale the test's Wine processes run in, which gives them their ANSI code
#            page (default zh_CN.UTF-8, code page 936); CODE_PAGE: the one it must give, handed
#            to the test as QX_EXPECTED_CODE_PAGE for the test to check
function(add_wine_test name target)
  cmake_parse_arguments(W "" "TIMEOUT;LOCALE;CODE_PAGE" "ARGS;DRIVES;FILES;PREPARE" ${ARGN})
  add_test(NAME ${name} COMMAND ${target} ${W_ARGS})
  list(JOIN W_DRIVES "|" drives)
  list(JOIN W_FILES "|" files)
  list(JOIN W_PREPARE "|" prepare)
  if(NOT W_TIMEOUT)
    set(W_TIMEOUT 300)
  endif()
  if(NOT W_LOCALE)
    set(W_LOCALE zh_CN.UTF-8)
    set(W_CODE_PAGE 936)
  endif()
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine
    TIMEOUT ${W_TIMEOUT}
    ENVIRONMENT "WINE_TEST_NAME=${name};WINE_TEST_DRIVES=${drives};WINE_TEST_FILES=${files};WINE_TEST_PREPARE=${prepare};WINE_TEST_LOCALE=${W_LOCALE};QX_EXPECTED_CODE_PAGE=${W_CODE_PAGE}")
endfunction()
