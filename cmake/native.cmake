# Native build: the portable core, its unit tests, fuzz targets and benchmarks.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB TESSMOOR_TEST_SUPPORT CONFIGURE_DEPENDS tests/support/*.cpp)
add_library(tessmoor_test_support STATIC ${TESSMOOR_TEST_SUPPORT})
target_link_libraries(tessmoor_test_support PUBLIC tessmoor_core GTest::gtest GTest::gmock)
target_include_directories(tessmoor_test_support PUBLIC ${CMAKE_SOURCE_DIR})

file(GLOB TESSMOOR_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*_test.cpp)
add_executable(unit_tests ${TESSMOOR_UNIT_TESTS})
# zlib reads back what the PNG writer writes, independently of it.
find_package(ZLIB REQUIRED)
target_link_libraries(unit_tests PRIVATE tessmoor_test_support GTest::gtest_main ZLIB::ZLIB)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)

# Fuzz targets: tests/fuzz/<name>_fuzz.cpp, each with LLVMFuzzerTestOneInput. Built with clang's
# libFuzzer when TESSMOOR_FUZZ is on; otherwise each is linked against a small driver that replays
# its corpus folder, so the targets always compile and run in the normal test run.
file(GLOB TESSMOOR_FUZZ_TARGETS CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
option(TESSMOOR_FUZZ "Build fuzz targets with libFuzzer (clang)" OFF)
if(TESSMOOR_FUZZ)
  # The decoders live in the core: instrument it too, or the fuzzer sees only the target's own code.
  target_compile_options(tessmoor_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(tessmoor_core INTERFACE -fsanitize=address,undefined)
endif()
foreach(_src ${TESSMOOR_FUZZ_TARGETS})
  get_filename_component(_name ${_src} NAME_WE)
  if(TESSMOOR_FUZZ)
    add_executable(${_name} ${_src})
    target_compile_options(${_name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${_name} PRIVATE -fsanitize=fuzzer,address,undefined)
  else()
    add_executable(${_name} ${_src} tests/fuzz/replay_main.cc)
  endif()
  target_link_libraries(${_name} PRIVATE tessmoor_test_support)
  if(NOT TESSMOOR_FUZZ)
    # Kept inputs of a target, when it has any, are replayed after its built-in seeds.
    set(_corpus)
    if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${_name})
      set(_corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${_name})
    endif()
    add_test(NAME ${_name}_seeds COMMAND ${_name} ${_corpus})
    set_tests_properties(${_name}_seeds PROPERTIES LABELS decode TIMEOUT 300)
  endif()
endforeach()

file(GLOB TESSMOOR_BENCHES CONFIGURE_DEPENDS bench/*_bench.cpp)
if(TESSMOOR_BENCHES)
  find_package(benchmark REQUIRED)
  foreach(_src ${TESSMOOR_BENCHES})
    get_filename_component(_name ${_src} NAME_WE)
    add_executable(${_name} ${_src})
    target_link_libraries(${_name} PRIVATE tessmoor_test_support benchmark::benchmark)
  endforeach()
endif()

# Handles are released only by their owner types in platform/win32/handles.h. The second test
# shows that the check finds a call planted in a tree of its own.
add_test(NAME cleanup_calls_only_in_handle_owners
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check-cleanup-calls.sh ${CMAKE_SOURCE_DIR})
add_test(NAME cleanup_call_check_finds_a_planted_call
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check-cleanup-calls.sh --self-test)
set_tests_properties(cleanup_calls_only_in_handle_owners cleanup_call_check_finds_a_planted_call
  PROPERTIES LABELS lint TIMEOUT 60)
