# classic::tanhScalar / tanh2 / tanh4 (engine/tanh.h): the accuracy and path tests, the table
# generator and the benchmark. Included from framework/unit/CMakeLists.txt.
include(GoogleTest)
include(CheckCXXSourceCompiles)

set(kelvo_tanh_dir ${CMAKE_CURRENT_LIST_DIR})
set(kelvo_tanh_unit_dir ${CMAKE_CURRENT_LIST_DIR}/../..)

# The tests and the generators take their exact values from quadruple precision (GCC's
# libquadmath): kelvo_quadmath. Clang links the same library but finds its header only among
# GCC's own headers, which are searched after every other folder so that none of them shadows
# the compiler's.
set(kelvo_quadmath_options "")
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=include/quadmath.h
    OUTPUT_VARIABLE kelvo_quadmath_header OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(IS_ABSOLUTE "${kelvo_quadmath_header}" AND EXISTS "${kelvo_quadmath_header}")
    cmake_path(GET kelvo_quadmath_header PARENT_PATH kelvo_quadmath_dir)
    set(kelvo_quadmath_options -idirafter ${kelvo_quadmath_dir})
  endif()
endif()
set(CMAKE_REQUIRED_LIBRARIES quadmath)
string(JOIN " " CMAKE_REQUIRED_FLAGS ${kelvo_quadmath_options})
check_cxx_source_compiles([[
  #include <quadmath.h>
  int main() { return static_cast<int>(tanhq(static_cast<__float128>(0.5))); }
]] KELVO_HAVE_QUADMATH)
unset(CMAKE_REQUIRED_LIBRARIES)
unset(CMAKE_REQUIRED_FLAGS)

if(KELVO_HAVE_QUADMATH)
  add_library(kelvo_quadmath INTERFACE)
  target_compile_options(kelvo_quadmath INTERFACE ${kelvo_quadmath_options})
  target_link_libraries(kelvo_quadmath INTERFACE quadmath)

  add_executable(kelvo_tanh_tests ${kelvo_tanh_dir}/tanh_test.cpp)
  target_include_directories(kelvo_tanh_tests PRIVATE ${kelvo_tanh_unit_dir})
  target_link_libraries(kelvo_tanh_tests PRIVATE GTest::gtest_main kelvo_quadmath)
  gtest_discover_tests(kelvo_tanh_tests NO_PRETTY_VALUES)

  # Rewrites engine/tanh_table.h: kelvo_tanh_table_generator > framework/unit/engine/tanh_table.h
  add_executable(kelvo_tanh_table_generator ${kelvo_tanh_dir}/tanh_table_generator.cpp)
  target_link_libraries(kelvo_tanh_table_generator PRIVATE kelvo_quadmath)
else()
  message(STATUS "tanh tests: no libquadmath, tests skipped")
endif()

find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(kelvo_tanh_benchmark ${kelvo_tanh_dir}/tanh_benchmark.cpp)
  target_include_directories(kelvo_tanh_benchmark PRIVATE ${kelvo_tanh_unit_dir})
  target_link_libraries(kelvo_tanh_benchmark PRIVATE benchmark::benchmark)
  # A smoke run keeps it building and running; it asserts no timing.
  add_test(NAME kelvo_tanh_benchmark COMMAND kelvo_tanh_benchmark --benchmark_min_time=0.05)
  set_tests_properties(kelvo_tanh_benchmark PROPERTIES LABELS benchmark)
endif()
