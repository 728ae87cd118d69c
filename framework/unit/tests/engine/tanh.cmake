# classic::tanhScalar / tanh2 / tanh4 (engine/tanh.h): the accuracy and path tests, the table
# generator and the benchmark. Included from framework/unit/CMakeLists.txt.
include(GoogleTest)
include(CheckCXXSourceCompiles)

set(kelvo_tanh_dir ${CMAKE_CURRENT_LIST_DIR})
set(kelvo_tanh_unit_dir ${CMAKE_CURRENT_LIST_DIR}/../..)

# The tests and the generator take their exact values from quadruple precision (GCC's
# libquadmath). clang links GCC's library but does not search GCC's own header folder, where
# quadmath.h lives: there it is looked for after clang's headers (-idirafter), in the folder
# of the GCC installation clang uses.
set(kelvo_quadmath_flags "")
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
    OUTPUT_VARIABLE kelvo_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(kelvo_gcc_dir "${kelvo_libgcc}" DIRECTORY)
  if(EXISTS "${kelvo_gcc_dir}/include/quadmath.h")
    set(kelvo_quadmath_flags -idirafter "${kelvo_gcc_dir}/include")
  endif()
endif()
set(CMAKE_REQUIRED_LIBRARIES quadmath)
set(CMAKE_REQUIRED_FLAGS "${kelvo_quadmath_flags}")
string(REPLACE ";" " " CMAKE_REQUIRED_FLAGS "${CMAKE_REQUIRED_FLAGS}")
check_cxx_source_compiles([[
  #include <quadmath.h>
  int main() { return static_cast<int>(tanhq(static_cast<__float128>(0.5))); }
]] KELVO_HAVE_QUADMATH)
unset(CMAKE_REQUIRED_LIBRARIES)
unset(CMAKE_REQUIRED_FLAGS)

if(KELVO_HAVE_QUADMATH)
  add_executable(kelvo_tanh_tests ${kelvo_tanh_dir}/tanh_test.cpp)
  target_include_directories(kelvo_tanh_tests PRIVATE ${kelvo_tanh_unit_dir})
  target_compile_options(kelvo_tanh_tests PRIVATE ${kelvo_quadmath_flags})
  target_link_libraries(kelvo_tanh_tests PRIVATE GTest::gtest_main quadmath)
  gtest_discover_tests(kelvo_tanh_tests NO_PRETTY_VALUES)

  # Rewrites engine/tanh_table.h: kelvo_tanh_table_generator > framework/unit/engine/tanh_table.h
  add_executable(kelvo_tanh_table_generator ${kelvo_tanh_dir}/tanh_table_generator.cpp)
  target_compile_options(kelvo_tanh_table_generator PRIVATE ${kelvo_quadmath_flags})
  target_link_libraries(kelvo_tanh_table_generator PRIVATE quadmath)
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
