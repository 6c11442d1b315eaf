# End-to-end suites: every tests/e2e/<name>_test.cpp is one ctest test per architecture,
# e2e_<arch>_<name>, which runs the driver under Wine with a filter on the gtest suites that file
# defines, in a Wine session of its own. The ctest summary then counts suites, not one driver run.
#
#   <name>_test.cpp          the main suites: run one at a time (they drive real windows and check
#                            timings), beside the tests that use no display;
#   release<...>_test.cpp    the release suites: the install tests change the Windows of their
#                            prefix, so they run alone, each in a prefix of its own (a 32-bit one
#                            for the 32-bit build), and a skipped test fails them;
#   monitors_<...>_test.cpp  registered by cmake/e2e_monitors.cmake, which needs a desktop of its
#                            own.
# A suite's name belongs to one file; a suite that several files share is run by each file
# through the full names of its own tests, so that nothing runs twice.
#
# The driver prints "UNEXPECTED SKIP" for a skip it does not allow and "no tests matched" when its
# filter selected nothing; either fails the test, as does a summary without a passed test.

set(TESSMOOR_E2E_PASS "\\[  PASSED  \\] [1-9][0-9]* test")
set(TESSMOOR_E2E_FAIL "\\[  FAILED  \\]|UNEXPECTED SKIP|did not finish|no tests matched")

# Reads the tests a file defines into OUT, as items KIND|SUITE|NAME.
function(_tessmoor_e2e_scan file out)
  file(READ "${file}" text)
  string(REGEX REPLACE "//[^\n]*" "" text "${text}")
  string(REPLACE ";" "\n" text "${text}")
  set(ws "[ \t\r\n]*")
  set(id "[A-Za-z_][A-Za-z0-9_]*")
  set(kind "TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P")
  string(REGEX MATCHALL "(^|[^A-Za-z0-9_])(${kind})${ws}\\(${ws}${id}${ws},${ws}${id}" hits "${text}")
  set(tests "")
  foreach(hit IN LISTS hits)
    string(REGEX REPLACE "^[^A-Z]?(${kind})${ws}\\(${ws}(${id})${ws},${ws}(${id})$" "\\1|\\2|\\3" test "${hit}")
    list(APPEND tests "${test}")
  endforeach()
  set(${out} "${tests}" PARENT_SCOPE)
endfunction()

# The gtest filter pattern for a whole suite (NAME empty) or one test of it. Value-parameterized
# tests are named PREFIX/SUITE.NAME/PARAM, typed ones SUITE/TYPE.NAME or PREFIX/SUITE/TYPE.NAME.
function(_tessmoor_e2e_pattern kind suite name out)
  set(param "/*")
  if(name STREQUAL "")
    set(name "*")
    set(param "")
  endif()
  if(kind STREQUAL "TEST_P")
    set(pattern "*/${suite}.${name}${param}")
  elseif(kind STREQUAL "TYPED_TEST")
    set(pattern "${suite}/*.${name}")
  elseif(kind STREQUAL "TYPED_TEST_P")
    set(pattern "*/${suite}/*.${name}")
  else()
    set(pattern "${suite}.${name}")
  endif()
  set(${out} "${pattern}" PARENT_SCOPE)
endfunction()

file(GLOB TESSMOOR_E2E_SUITE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.cpp)
file(GLOB _e2e_all_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
foreach(_file IN LISTS _e2e_all_files)
  _tessmoor_e2e_scan("${_file}" _tests)
  if(NOT _file IN_LIST TESSMOOR_E2E_SUITE_FILES)
    if(_tests)
      message(FATAL_ERROR "${_file} defines tests, which no ctest test would run: "
        "tests go in files named *_test.cpp")
    endif()
    continue()
  endif()
  if(NOT _tests)
    message(FATAL_ERROR "${_file} defines no test")
  endif()
  set_property(SOURCE "${_file}" PROPERTY TESSMOOR_E2E_TESTS "${_tests}")
  foreach(_test IN LISTS _tests)
    string(REPLACE "|" ";" _parts "${_test}")
    list(GET _parts 1 _suite)
    set_property(GLOBAL APPEND PROPERTY TESSMOOR_E2E_FILES_OF_${_suite} "${_file}")
  endforeach()
endforeach()

# tessmoor_e2e_filter(FILE OUT): the --gtest_filter value that runs exactly FILE's tests.
function(tessmoor_e2e_filter file out)
  get_property(tests SOURCE "${file}" PROPERTY TESSMOOR_E2E_TESTS)
  set(patterns "")
  foreach(test IN LISTS tests)
    string(REPLACE "|" ";" parts "${test}")
    list(GET parts 0 kind)
    list(GET parts 1 suite)
    list(GET parts 2 name)
    get_property(files GLOBAL PROPERTY TESSMOOR_E2E_FILES_OF_${suite})
    list(REMOVE_DUPLICATES files)
    list(LENGTH files shared)
    if(shared EQUAL 1)
      set(name "")
    endif()
    _tessmoor_e2e_pattern(${kind} ${suite} "${name}" pattern)
    list(APPEND patterns "${pattern}")
  endforeach()
  list(REMOVE_DUPLICATES patterns)
  list(JOIN patterns ":" filter)
  set(${out} "${filter}" PARENT_SCOPE)
endfunction()

# tessmoor_add_e2e_test(NAME FILTER WORKDIR TIMEOUT [ARTIFACTS DIR] [ENVIRONMENT VAR=VALUE...]): the
# driver under Wine, judged by its own summary as well as its exit code (a 32-bit driver on a Wine without
# 32-bit support exits 0 having run nothing). The driver gets a minute less than ctest, so that a
# hung run ends with "did not finish" and its Wine session closed.
function(tessmoor_add_e2e_test name filter workdir timeout)
  cmake_parse_arguments(PARSE_ARGV 4 arg "" "ARTIFACTS" "ENVIRONMENT")
  if(NOT arg_ARTIFACTS)
    set(arg_ARTIFACTS ${CMAKE_BINARY_DIR}/artifacts)
  endif()
  add_test(NAME ${name}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/run-under-wine.sh ${TESSMOOR_WINE_ARCH} ${workdir}
            -- $<TARGET_FILE:tessmoor_e2e> --module=$<TARGET_FILE:Tessmoor>
            --artifacts=${arg_ARTIFACTS} --gtest_filter=${filter})
  math(EXPR program_limit "${timeout} - 60")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout}
    PASS_REGULAR_EXPRESSION "${TESSMOOR_E2E_PASS}"
    FAIL_REGULAR_EXPRESSION "${TESSMOOR_E2E_FAIL}")
  set_property(TEST ${name} PROPERTY ENVIRONMENT TESSMOOR_E2E_TIMEOUT=${program_limit} ${arg_ENVIRONMENT})
endfunction()

foreach(_file IN LISTS TESSMOOR_E2E_SUITE_FILES)
  get_filename_component(_stem "${_file}" NAME_WE)
  string(REGEX REPLACE "_test$" "" _name "${_stem}")
  if(_name MATCHES "^monitors_")
    continue()
  endif()
  tessmoor_e2e_filter("${_file}" _filter)
  set(_test e2e_${TESSMOOR_WINE_ARCH}_${_name})
  if(_name MATCHES "^release")
    set(_work ${CMAKE_BINARY_DIR}/release-e2e-work/${_name})
    set(_env TESSMOOR_RELEASE_E2E=1 TESSMOOR_INSTALLER=${TESSMOOR_TEST_INSTALLER}
      TESSMOOR_HELP_SOURCE=${TESSMOOR_HELP_DIR})
    if(TESSMOOR_WINE_ARCH STREQUAL "win32")
      list(APPEND _env TESSMOOR_WINEARCH=win32)
    endif()
    tessmoor_add_e2e_test(${_test} "${_filter}" ${_work} 420 ENVIRONMENT ${_env})
    set_tests_properties(${_test} PROPERTIES LABELS "e2e;release" RUN_SERIAL TRUE
      FAIL_REGULAR_EXPRESSION "${TESSMOOR_E2E_FAIL}|\\[  SKIPPED \\]")
  else()
    set(_work ${CMAKE_BINARY_DIR}/e2e-work/${_name})
    # The music tests check the sound the module plays on a dummy device that writes it to files.
    tessmoor_add_e2e_test(${_test} "${_filter}" ${_work} 660
      ENVIRONMENT TESSMOOR_ALSA_FILE=${_work}/sound/pcm)
    set_tests_properties(${_test} PROPERTIES LABELS e2e RESOURCE_LOCK wine_display)
  endif()
endforeach()

if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/e2e_monitors.cmake)
  include(${CMAKE_SOURCE_DIR}/cmake/e2e_monitors.cmake)
else()
  list(FILTER TESSMOOR_E2E_SUITE_FILES INCLUDE REGEX "/monitors_[^/]*$")
  if(TESSMOOR_E2E_SUITE_FILES)
    message(FATAL_ERROR "no cmake/e2e_monitors.cmake to run ${TESSMOOR_E2E_SUITE_FILES}")
  endif()
endif()
