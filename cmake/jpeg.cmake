# libjpeg-turbo: Debian's package for native builds; for Windows, a static library cross-built
# from Debian's own source package by tools/build-libjpeg-turbo.sh, as a build step of its own.
#
# The Windows library is the same code as the native one: the source version is the one of the
# installed libjpeg62-turbo-dev. It is cached under TESSMOOR_DEPS_DIR (several build folders can
# share it) in a folder named by a key made of that version and a hash of the build script, so a
# new Debian version or a changed script builds a new library and nothing stale is ever linked.
add_library(tessmoor_jpeg INTERFACE)
if(NOT WIN32)
  find_package(JPEG REQUIRED)
  target_link_libraries(tessmoor_jpeg INTERFACE JPEG::JPEG)
  return()
endif()

set(TESSMOOR_DEPS_DIR "$ENV{TESSMOOR_DEPS_DIR}" CACHE PATH "Cache of cross-built dependencies")
if(TESSMOOR_DEPS_DIR STREQUAL "")
  set(TESSMOOR_DEPS_DIR "${CMAKE_SOURCE_DIR}/build/deps" CACHE PATH "Cache of cross-built dependencies" FORCE)
endif()

set(_jpeg_script "${CMAKE_SOURCE_DIR}/tools/build-libjpeg-turbo.sh")
execute_process(
  COMMAND dpkg-query -W "-f=\${source:Version}" libjpeg62-turbo-dev
  OUTPUT_VARIABLE TESSMOOR_JPEG_VERSION
  RESULT_VARIABLE _jpeg_rc
  ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT _jpeg_rc EQUAL 0 OR TESSMOOR_JPEG_VERSION STREQUAL "")
  message(FATAL_ERROR "libjpeg62-turbo-dev is not installed (tools/setup.sh installs it): its "
    "source version is the libjpeg-turbo that the Windows build cross-builds")
endif()
# An upgrade of the package rewrites its file list: configure again, and so pick the new version.
file(GLOB _jpeg_dpkg_list /var/lib/dpkg/info/libjpeg62-turbo-dev*.list)
# Editing the script configures again too, which changes the key below.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_jpeg_script} ${_jpeg_dpkg_list})

file(SHA256 "${_jpeg_script}" _jpeg_script_hash)
string(SUBSTRING "${_jpeg_script_hash}" 0 12 _jpeg_script_hash)
string(REPLACE ":" "_" _jpeg_version_name "${TESSMOOR_JPEG_VERSION}")
set(_jpeg_prefix
  "${TESSMOOR_DEPS_DIR}/libjpeg-turbo-${TESSMOOR_MINGW_TRIPLE}-${_jpeg_version_name}-${_jpeg_script_hash}")
set(_jpeg_library "${_jpeg_prefix}/lib/libjpeg.a")

add_custom_command(OUTPUT "${_jpeg_library}"
  COMMAND bash "${_jpeg_script}" "${TESSMOOR_MINGW_TRIPLE}" "${_jpeg_prefix}" "${TESSMOOR_JPEG_VERSION}"
  DEPENDS "${_jpeg_script}"
  COMMENT "Cross-building libjpeg-turbo ${TESSMOOR_JPEG_VERSION} for ${TESSMOOR_MINGW_TRIPLE} (log ${_jpeg_prefix}.log)"
  VERBATIM)
add_custom_target(tessmoor_jpeg_build DEPENDS "${_jpeg_library}")

# The step installs the headers; the folder exists from now on so that CMake takes the path.
file(MAKE_DIRECTORY "${_jpeg_prefix}/include")
target_include_directories(tessmoor_jpeg INTERFACE "${_jpeg_prefix}/include")
target_link_libraries(tessmoor_jpeg INTERFACE "${_jpeg_library}")
# Whatever links tessmoor_jpeg waits for the step, so nothing compiles before jpeglib.h exists.
add_dependencies(tessmoor_jpeg tessmoor_jpeg_build)
