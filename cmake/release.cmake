# What a Windows build puts beside Tessmoor.scr for a release, and its tests:
#   - the module's icon (drawn by tools/make-icon.sh) and version numbers, for resources/tessmoor.rc;
#   - the help file Tessmoor.chm (tools/make-help.sh, chmcmd), in the module's own folder, where the
#     version dialog's help button looks for it;
#   - an installer holding this build's module alone (resources/installer/tessmoor.nsi), which the
#     release end-to-end suites (cmake/e2e.cmake) install and uninstall. tools/release.sh builds
#     the release installer, with both modules, from the same script.
# Every step is a custom command with its inputs listed, so a build with nothing changed does nothing.

find_program(TESSMOOR_MAKENSIS makensis REQUIRED)
find_program(TESSMOOR_CHMCMD chmcmd REQUIRED)

set(TESSMOOR_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
# CMake takes SOURCE_DATE_EPOCH into account here, for builds that must give the same bytes.
string(TIMESTAMP TESSMOOR_COPYRIGHT_YEAR "%Y" UTC)
configure_file(${CMAKE_SOURCE_DIR}/resources/tessmoor_version.h.in
  ${TESSMOOR_GENERATED_DIR}/tessmoor_version.h @ONLY)

set(TESSMOOR_ICON ${TESSMOOR_GENERATED_DIR}/tessmoor.ico)
set(TESSMOOR_WIZARD_BITMAP ${TESSMOOR_GENERATED_DIR}/installer-wizard.bmp)
add_custom_command(OUTPUT ${TESSMOOR_ICON} ${TESSMOOR_WIZARD_BITMAP}
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/make-icon.sh ${TESSMOOR_ICON} ${TESSMOOR_WIZARD_BITMAP}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-icon.sh
  COMMENT "Drawing the application icon"
  VERBATIM)
# Listing the icon as a source ties its command to the module; windres finds it (and the version
# header) through the include path, and OBJECT_DEPENDS recompiles the script when they change.
target_sources(Tessmoor PRIVATE ${TESSMOOR_ICON})
target_include_directories(Tessmoor PRIVATE ${TESSMOOR_GENERATED_DIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/tessmoor.rc APPEND PROPERTY OBJECT_DEPENDS
  ${TESSMOOR_ICON} ${TESSMOOR_GENERATED_DIR}/tessmoor_version.h ${CMAKE_SOURCE_DIR}/resources/tessmoor.manifest)

set(TESSMOOR_HELP_DIR ${CMAKE_SOURCE_DIR}/resources/help)
file(GLOB_RECURSE TESSMOOR_HELP_SOURCES CONFIGURE_DEPENDS ${TESSMOOR_HELP_DIR}/*)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Tessmoor.chm
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/make-help.sh ${TESSMOOR_HELP_DIR} ${CMAKE_BINARY_DIR}/Tessmoor.chm
  DEPENDS ${TESSMOOR_HELP_SOURCES} ${CMAKE_SOURCE_DIR}/tools/make-help.sh
  COMMENT "Compiling the help file Tessmoor.chm"
  VERBATIM)
add_custom_target(tessmoor_help ALL DEPENDS ${CMAKE_BINARY_DIR}/Tessmoor.chm)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_tessmoor_scr_define SCR64)
  set(_tessmoor_arch x64)
else()
  set(_tessmoor_scr_define SCR32)
  set(_tessmoor_arch x86)
endif()
set(TESSMOOR_TEST_INSTALLER ${CMAKE_BINARY_DIR}/Tessmoor-${PROJECT_VERSION}-setup-${_tessmoor_arch}-only.exe)
set(TESSMOOR_NSIS_SCRIPT ${CMAKE_SOURCE_DIR}/resources/installer/tessmoor.nsi)
add_custom_command(OUTPUT ${TESSMOOR_TEST_INSTALLER}
  COMMAND ${TESSMOOR_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
          -DOUTFILE=${TESSMOOR_TEST_INSTALLER} -DICON=${TESSMOOR_ICON} -DWIZARD=${TESSMOOR_WIZARD_BITMAP} -DCHM=${CMAKE_BINARY_DIR}/Tessmoor.chm
          -D${_tessmoor_scr_define}=$<TARGET_FILE:Tessmoor> ${TESSMOOR_NSIS_SCRIPT}
  DEPENDS Tessmoor ${TESSMOOR_NSIS_SCRIPT} ${TESSMOOR_ICON} ${TESSMOOR_WIZARD_BITMAP} ${CMAKE_BINARY_DIR}/Tessmoor.chm
  COMMENT "Building the test installer (${_tessmoor_arch} module only)"
  VERBATIM)
add_custom_target(tessmoor_installer ALL DEPENDS ${TESSMOOR_TEST_INSTALLER})
add_dependencies(tessmoor_installer tessmoor_help)

# The driver reads the module's version block and checks what the installer left behind.
target_link_libraries(tessmoor_e2e PRIVATE version)
add_dependencies(tessmoor_e2e tessmoor_help tessmoor_installer)

add_test(NAME help_contents
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check-help.sh ${CMAKE_BINARY_DIR}/Tessmoor.chm ${TESSMOOR_HELP_DIR})
set_tests_properties(help_contents PROPERTIES LABELS release TIMEOUT 60
  PASS_REGULAR_EXPRESSION "[0-9]+ passed, 0 failed")
