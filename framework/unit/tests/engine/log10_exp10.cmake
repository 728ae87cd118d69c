# classic::log10*, exp10* and exp* (engine/log10.h, engine/exp10.h): the accuracy and path
# tests, the table generators and the benchmark. Included from framework/unit/tests/CMakeLists.txt.
include(GoogleTest)

set(kelvo_logexp_dir ${CMAKE_CURRENT_LIST_DIR})
set(kelvo_logexp_unit_dir ${CMAKE_CURRENT_LIST_DIR}/../..)

# KELVO_HAVE_QUADMATH and kelvo_quadmath_flags: from tanh.cmake, which framework/unit includes
# first.
if(KELVO_HAVE_QUADMATH)
  foreach(name log10 exp10)
    add_executable(kelvo_${name}_tests ${kelvo_logexp_dir}/${name}_test.cpp)
    target_include_directories(kelvo_${name}_tests PRIVATE ${kelvo_logexp_unit_dir})
    target_link_libraries(kelvo_${name}_tests PRIVATE GTest::gtest_main kelvo_quadmath)
    gtest_discover_tests(kelvo_${name}_tests NO_PRETTY_VALUES)

    # Rewrites engine/<name>_table.h: kelvo_<name>_table_generator > framework/unit/engine/<name>_table.h
    add_executable(kelvo_${name}_table_generator ${kelvo_logexp_dir}/${name}_table_generator.cpp)
    target_link_libraries(kelvo_${name}_table_generator PRIVATE kelvo_quadmath)
  endforeach()
else()
  message(STATUS "log10/exp10 tests: no libquadmath, tests skipped")
endif()

find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(kelvo_log10_exp10_benchmark ${kelvo_logexp_dir}/log10_exp10_benchmark.cpp)
  target_include_directories(kelvo_log10_exp10_benchmark PRIVATE ${kelvo_logexp_unit_dir})
  target_link_libraries(kelvo_log10_exp10_benchmark PRIVATE benchmark::benchmark)
  # A smoke run keeps it building and running; it asserts no timing.
  add_test(NAME kelvo_log10_exp10_benchmark
           COMMAND kelvo_log10_exp10_benchmark --benchmark_min_time=0.02)
  set_tests_properties(kelvo_log10_exp10_benchmark PROPERTIES LABELS benchmark)
endif()
