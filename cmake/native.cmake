# Native build: the portable logic with its unit tests, benchmarks and fuzzers.
find_package(GTest REQUIRED)
include(GoogleTest)

add_library(kolvi_native STATIC
  ${CMAKE_SOURCE_DIR}/src/platform/posix/iconv_codec.cpp)
target_include_directories(kolvi_native PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(kolvi_native PRIVATE ${KOLVI_WARNINGS})

# The fakes and the in-memory file system: headers only.
add_library(kolvi_test_support INTERFACE)
target_include_directories(kolvi_test_support INTERFACE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(kolvi_test_support INTERFACE kolvi_core kolvi_native)

file(GLOB KOLVI_UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(kolvi_unit_tests ${KOLVI_UNIT_SOURCES})
target_link_libraries(kolvi_unit_tests PRIVATE kolvi_test_support GTest::gtest GTest::gtest_main)
target_compile_options(kolvi_unit_tests PRIVATE ${KOLVI_WARNINGS})
target_compile_definitions(kolvi_unit_tests PRIVATE KOLVI_FUZZ_CORPUS="${CMAKE_SOURCE_DIR}/fuzz/corpus")
gtest_discover_tests(kolvi_unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60 LABELS native)

if(KOLVI_BENCH)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    file(GLOB KOLVI_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
    if(KOLVI_BENCH_SOURCES)
      add_executable(kolvi_bench ${KOLVI_BENCH_SOURCES})
      target_link_libraries(kolvi_bench PRIVATE kolvi_test_support benchmark::benchmark benchmark::benchmark_main)
      target_compile_options(kolvi_bench PRIVATE ${KOLVI_WARNINGS})
    endif()
  endif()
endif()

# Each fuzz target, without libFuzzer, replays its seed corpus and the inputs
# kept from earlier findings, so a fixed fault cannot come back unnoticed.
if(NOT KOLVI_FUZZ)
  file(GLOB KOLVI_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzzer.cpp)
  foreach(src ${KOLVI_FUZZ_TARGETS})
    get_filename_component(name ${src} NAME_WE)
    string(REGEX REPLACE "_fuzzer$" "" corpus ${name})
    add_executable(${name}_replay ${src} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE kolvi_test_support)
    target_compile_options(${name}_replay PRIVATE ${KOLVI_WARNINGS})
    add_test(NAME FuzzReplay.${corpus} COMMAND ${name}_replay
      ${CMAKE_SOURCE_DIR}/fuzz/corpus/${corpus} ${CMAKE_SOURCE_DIR}/fuzz/regressions/${corpus})
    set_tests_properties(FuzzReplay.${corpus} PROPERTIES TIMEOUT 60 LABELS native)
  endforeach()
endif()

if(KOLVI_FUZZ)
  file(GLOB KOLVI_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzzer.cpp)
  foreach(src ${KOLVI_FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE kolvi_test_support)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
endif()
