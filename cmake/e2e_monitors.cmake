# The end-to-end tests on desktops of several monitors (tests/e2e/monitors_*): a driver of their
# own, run by tools/run-under-wine.sh on an Xorg desktop that tools/monitor-desktop.sh lays out,
# one ctest test per test file and layout. They need that desktop, so they stay out of the driver
# that runs on the one-monitor virtual screen.
file(GLOB TESSMOOR_MONITOR_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/monitors_*_test.cpp)
file(GLOB TESSMOOR_MONITOR_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
# The harness, the drivers and main: every file of tests/e2e that holds no tests of its own.
list(FILTER TESSMOOR_MONITOR_SUPPORT EXCLUDE REGEX "_test\\.cpp$")

if(TARGET tessmoor_e2e)
  get_target_property(_tessmoor_e2e_sources tessmoor_e2e SOURCES)
  list(FILTER _tessmoor_e2e_sources EXCLUDE REGEX "(^|/)monitors_[^/]*\\.cpp$")
  set_property(TARGET tessmoor_e2e PROPERTY SOURCES ${_tessmoor_e2e_sources})
endif()

add_executable(tessmoor_e2e_monitors ${TESSMOOR_MONITOR_SUPPORT} ${TESSMOOR_MONITOR_TESTS}
  ${CMAKE_SOURCE_DIR}/tests/support/picture_files.cpp)
target_include_directories(tessmoor_e2e_monitors PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(tessmoor_e2e_monitors PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0601)
target_link_libraries(tessmoor_e2e_monitors PRIVATE gtest tessmoor_core user32 gdi32 advapi32 shell32 psapi)
target_link_options(tessmoor_e2e_monitors PRIVATE -municode)
add_dependencies(tessmoor_e2e_monitors Tessmoor)

# NAME=LAYOUT: monitors WxH+X+Y in Windows coordinates, '*' after the primary one.
set(TESSMOOR_MONITOR_LAYOUTS
  # A smaller monitor left of the primary (negative coordinates) and a portrait one right of it.
  "three=1024x768+0+0* 800x600-800+0 600x800+1024+0"
  # One above the primary (negative Y), a portrait one left of it and lower down.
  "stacked=1024x768+0+0* 800x600+112-600 600x800-600+100")

foreach(test_file IN LISTS TESSMOOR_MONITOR_TESTS)
  get_filename_component(stem ${test_file} NAME_WE)
  string(REGEX REPLACE "_test$" "" stem ${stem})
  # The file's suites make its filter.
  file(STRINGS ${test_file} suite_lines REGEX "^TEST(_F)?\\(")
  set(suites)
  foreach(line IN LISTS suite_lines)
    string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2.*" suite "${line}")
    list(APPEND suites ${suite})
  endforeach()
  list(REMOVE_DUPLICATES suites)
  list(JOIN suites ":" filter)
  foreach(entry IN LISTS TESSMOOR_MONITOR_LAYOUTS)
    string(REGEX REPLACE "=.*" "" layout_name "${entry}")
    string(REGEX REPLACE "^[^=]*=" "" layout "${entry}")
    set(name ${stem}_${layout_name}_${TESSMOOR_WINE_ARCH})
    add_test(NAME ${name}
      COMMAND bash ${CMAKE_SOURCE_DIR}/tools/run-under-wine.sh ${TESSMOOR_WINE_ARCH}
              ${CMAKE_BINARY_DIR}/e2e-work-${name} -- $<TARGET_FILE:tessmoor_e2e_monitors>
              --module=$<TARGET_FILE:Tessmoor> --artifacts=${CMAKE_BINARY_DIR}/artifacts/${stem}-${layout_name}
              --gtest_filter=${filter})
    set_tests_properties(${name} PROPERTIES
      LABELS "e2e;monitors" TIMEOUT 600 RESOURCE_LOCK wine_display
      ENVIRONMENT "TESSMOOR_MONITORS=${layout};TESSMOOR_E2E_TIMEOUT=540"
      PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [1-9][0-9]* test"
      FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]|UNEXPECTED SKIP|did not finish")
  endforeach()
endforeach()
