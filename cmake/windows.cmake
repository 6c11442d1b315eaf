# Windows build: the module Tessmoor.scr and the end-to-end test driver run under Wine.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

file(GLOB TESSMOOR_WIN32_SOURCES CONFIGURE_DEPENDS
  app/win32/*.cpp show/win32/*.cpp pattern2/win32/*.cpp setup/win32/*.cpp platform/win32/*.cpp)
# The entry is linked into the module itself, not the archive, so its WinMain is always found.
list(FILTER TESSMOOR_WIN32_SOURCES EXCLUDE REGEX "/app/win32/main\\.cpp$")
add_library(tessmoor_win32 STATIC ${TESSMOOR_WIN32_SOURCES})
target_link_libraries(tessmoor_win32 PUBLIC tessmoor_core)
target_compile_definitions(tessmoor_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_libraries(tessmoor_win32 PUBLIC
  user32 gdi32 comctl32 comdlg32 shell32 shlwapi advapi32 winmm imm32 ole32 uuid)

add_executable(Tessmoor WIN32 app/win32/main.cpp resources/tessmoor.rc)
target_link_libraries(Tessmoor PRIVATE tessmoor_win32)
target_link_options(Tessmoor PRIVATE -municode)
set_target_properties(Tessmoor PROPERTIES SUFFIX ".scr")

# GoogleTest, cross-compiled from Debian's own sources for the test driver.
set(TESSMOOR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${TESSMOOR_GTEST_SOURCE} googletest EXCLUDE_FROM_ALL SYSTEM)

file(GLOB TESSMOOR_E2E_SOURCES CONFIGURE_DEPENDS tests/e2e/*.cpp)
# The driver writes its test pictures with the same writers as the native tests.
add_executable(tessmoor_e2e ${TESSMOOR_E2E_SOURCES} tests/support/picture_files.cpp
  tests/support/png_file.cpp tests/support/gif_file.cpp tests/support/tiff_file.cpp)
target_include_directories(tessmoor_e2e PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(tessmoor_e2e PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0601)
# The Win32 layer too: some suites test its pieces (the WIC decoder) in this process.
target_link_libraries(tessmoor_e2e PRIVATE gtest tessmoor_win32 user32 gdi32 advapi32 shell32 psapi)
target_link_options(tessmoor_e2e PRIVATE -municode)
add_dependencies(tessmoor_e2e Tessmoor)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TESSMOOR_WINE_ARCH win64)
else()
  set(TESSMOOR_WINE_ARCH win32)
endif()

# Icon, version numbers, help file and test installer beside the module, and their tests.
include(cmake/release.cmake)

# One ctest test per end-to-end suite file (after the release steps, whose installer they test).
include(cmake/e2e.cmake)
