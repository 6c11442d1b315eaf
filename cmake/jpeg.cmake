# libjpeg-turbo: Debian's package for native builds; for Windows, a static library cross-built
# from Debian's own source package by tools/build-libjpeg-turbo.sh, cached under the build folder
# (or TESSMOOR_DEPS_DIR, so that several build folders can share one build of it).
add_library(tessmoor_jpeg INTERFACE)
if(WIN32)
  set(TESSMOOR_DEPS_DIR "${CMAKE_BINARY_DIR}/deps" CACHE PATH "Cache of cross-built dependencies")
  set(_jpeg_prefix "${TESSMOOR_DEPS_DIR}/libjpeg-turbo-${TESSMOOR_MINGW_TRIPLE}")
  if(NOT EXISTS "${_jpeg_prefix}/.built")
    message(STATUS "Cross-building libjpeg-turbo for ${TESSMOOR_MINGW_TRIPLE} into ${_jpeg_prefix}")
    execute_process(
      COMMAND bash "${CMAKE_SOURCE_DIR}/tools/build-libjpeg-turbo.sh" "${TESSMOOR_MINGW_TRIPLE}" "${_jpeg_prefix}"
      RESULT_VARIABLE _jpeg_rc)
    if(NOT _jpeg_rc EQUAL 0 OR NOT EXISTS "${_jpeg_prefix}/.built")
      message(FATAL_ERROR "tools/build-libjpeg-turbo.sh failed (${_jpeg_rc})")
    endif()
  endif()
  target_include_directories(tessmoor_jpeg INTERFACE "${_jpeg_prefix}/include")
  target_link_libraries(tessmoor_jpeg INTERFACE "${_jpeg_prefix}/lib/libjpeg.a")
else()
  find_package(JPEG REQUIRED)
  target_link_libraries(tessmoor_jpeg INTERFACE JPEG::JPEG)
endif()
