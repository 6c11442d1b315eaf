# The end-to-end tests on desktops of several monitors (tests/e2e/monitors_*_test.cpp): run by
# tools/run-under-wine.sh on an Xorg desktop that tools/monitor-desktop.sh lays out, one ctest test
# per test file and layout. The driver is the one of every other suite; TESSMOOR_MONITORS tells it
# (and run-under-wine.sh) the layout the desktop must have.

# NAME=LAYOUT: monitors WxH+X+Y in Windows coordinates, '*' after the primary one.
set(TESSMOOR_MONITOR_LAYOUTS
  # A smaller monitor left of the primary (negative coordinates) and a portrait one right of it.
  "three=1024x768+0+0* 800x600-800+0 600x800+1024+0"
  # One above the primary (negative Y), a portrait one left of it and lower down.
  "stacked=1024x768+0+0* 800x600+112-600 600x800-600+100")

foreach(_file IN LISTS TESSMOOR_E2E_SUITE_FILES)
  get_filename_component(_stem "${_file}" NAME_WE)
  string(REGEX REPLACE "_test$" "" _name "${_stem}")
  if(NOT _name MATCHES "^monitors_")
    continue()
  endif()
  # Changing the monitors goes through ChangeDisplaySettingsEx, which the 32-bit side of Wine
  # refuses (and whose EnumDisplaySettingsEx answers the first device with the whole desktop):
  # the 64-bit tree runs these, over the same show code.
  if(_name STREQUAL "monitors_change" AND TESSMOOR_WINE_ARCH STREQUAL "win32")
    continue()
  endif()
  tessmoor_e2e_filter("${_file}" _filter)
  foreach(_entry IN LISTS TESSMOOR_MONITOR_LAYOUTS)
    string(REGEX REPLACE "=.*" "" _layout_name "${_entry}")
    string(REGEX REPLACE "^[^=]*=" "" _layout "${_entry}")
    set(_test e2e_${TESSMOOR_WINE_ARCH}_${_name}_${_layout_name})
    tessmoor_add_e2e_test(${_test} "${_filter}" ${CMAKE_BINARY_DIR}/e2e-work/${_name}_${_layout_name} 600
      ARTIFACTS ${CMAKE_BINARY_DIR}/artifacts/${_layout_name} ENVIRONMENT "TESSMOOR_MONITORS=${_layout}")
    set_tests_properties(${_test} PROPERTIES LABELS "e2e;monitors" RESOURCE_LOCK wine_display)
  endforeach()
endforeach()
