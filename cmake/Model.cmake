# kelvo_add_model(<name> PRODUCT <Product> SOURCES <model sources...>
#                 [UNIT_SOURCES <sources...>] [RESOURCES <files...>]
#                 [EDITOR_DATA <sources...>] [EDITOR_FACEPLATE <sources...>]
#                 [EDITOR_CLASSES <stem>] [EDITOR_FACTORY <name>] [RACK])
#
# Builds a model: the static library kelvo_model_<name> (the model's tables and engine, with
# the framework's unit headers and the model folder's model.h on its include path; model tests
# link it), and, once the unit framework provides kelvo_add_unit_bundle, the model's Audio Unit
# bundle <Product>.component with the framework built for this model. EDITOR_DATA are the
# model folder's editor data (help texts, faceplate data, INIT values): with them, and once
# the framework editor is built, kelvo_editor_<name> is the framework editor compiled for
# this model, and the bundle carries it. EDITOR_FACEPLATE, EDITOR_CLASSES and EDITOR_FACTORY
# are kelvo_add_editor_library's FACEPLATE, CLASSES and FACTORY (the rack series' editor).
function(kelvo_add_model name)
  cmake_parse_arguments(M "RACK" "PRODUCT;EDITOR_CLASSES;EDITOR_FACTORY"
    "SOURCES;UNIT_SOURCES;RESOURCES;EDITOR_DATA;EDITOR_FACEPLATE" ${ARGN})
  set(lib kelvo_model_${name})
  add_library(${lib} STATIC ${M_SOURCES})
  target_include_directories(${lib} PUBLIC
    ${CMAKE_CURRENT_SOURCE_DIR}
    ${PROJECT_SOURCE_DIR}/framework/unit
    ${PROJECT_SOURCE_DIR}/models)
  set_target_properties(${lib} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  if(M_EDITOR_DATA AND COMMAND kelvo_add_editor_library)
    set(editor "")
    foreach(option CLASSES FACTORY)
      if(M_EDITOR_${option})
        list(APPEND editor ${option} ${M_EDITOR_${option}})
      endif()
    endforeach()
    if(M_EDITOR_FACEPLATE)
      list(APPEND editor FACEPLATE ${M_EDITOR_FACEPLATE})
    endif()
    kelvo_add_editor_library(${name} PRODUCT ${M_PRODUCT} DATA ${M_EDITOR_DATA} ${editor})
  endif()
  if(COMMAND kelvo_add_unit_bundle)
    set(rack "")
    if(M_RACK)
      set(rack RACK)
    endif()
    kelvo_add_unit_bundle(${name} PRODUCT ${M_PRODUCT} MODEL_LIBRARY ${lib}
      UNIT_SOURCES ${M_UNIT_SOURCES} RESOURCES ${M_RESOURCES} ${rack})
  endif()
endfunction()

# kelvo_add_model_tests(<name> SOURCES <test sources...> [INCLUDES <dirs...>]
#                       [LIBRARIES <libraries...>] [ENGINE_BENCHMARK]
#                       [UNIT_TESTS PRODUCT <Product> [UNIT_SOURCES <sources...>]])
#
# A model's tests: kelvo_<name>_tests on its model library; with ENGINE_BENCHMARK, the engine
# benchmark (tick and render at every preset, reported as x_realtime, never asserted); with
# UNIT_TESTS, the checks every model's unit passes through the Audio Unit calls, plus
# UNIT_SOURCES, once the bundle can be built.
function(kelvo_add_model_tests name)
  cmake_parse_arguments(T "ENGINE_BENCHMARK;UNIT_TESTS" "PRODUCT"
    "SOURCES;INCLUDES;LIBRARIES;UNIT_SOURCES" ${ARGN})
  include(GoogleTest)
  set(model kelvo_model_${name})
  add_executable(kelvo_${name}_tests ${T_SOURCES})
  target_include_directories(kelvo_${name}_tests PRIVATE ${T_INCLUDES})
  target_link_libraries(kelvo_${name}_tests PRIVATE ${model} ${T_LIBRARIES} GTest::gtest_main)
  gtest_discover_tests(kelvo_${name}_tests)

  find_package(benchmark QUIET)
  if(T_ENGINE_BENCHMARK AND benchmark_FOUND)
    set(bench kelvo_${name}_engine_benchmark)
    add_executable(${bench} ${PROJECT_SOURCE_DIR}/models/tests/dynamics_engine_benchmark.cpp)
    target_link_libraries(${bench} PRIVATE ${model} benchmark::benchmark)
    add_test(NAME ${bench} COMMAND ${bench})
    set_tests_properties(${bench} PROPERTIES LABELS benchmark)
  endif()

  if(T_UNIT_TESTS AND COMMAND kelvo_add_unit_test AND TARGET ${T_PRODUCT})
    kelvo_add_unit_test(kelvo_${name}_unit_tests PRODUCT ${T_PRODUCT} MODEL_LIBRARY ${model}
      SOURCES ${PROJECT_SOURCE_DIR}/models/rack/tests/unit_test.cpp ${T_UNIT_SOURCES})
  endif()
endfunction()

# kelvo_add_dynamics_model_tests(<name> PRODUCT <Product>)
#
# A dynamics model's tests (Opalin, Mireth, Vantor, Elvane): its own table and engine tests
# (tables_test.cpp, engine_test.cpp in the calling folder) with the engine checks and unit
# checks the four share (models/tests), run with this model's data; and its editor tests.
function(kelvo_add_dynamics_model_tests name)
  cmake_parse_arguments(D "" "PRODUCT" "" ${ARGN})
  set(shared ${PROJECT_SOURCE_DIR}/models/tests)
  kelvo_add_model_tests(${name}
    SOURCES tables_test.cpp engine_test.cpp ${shared}/dynamics_engine_checks.cpp
    INCLUDES ${CMAKE_CURRENT_SOURCE_DIR} ${shared}
    LIBRARIES kelvo_allocation_counter
    ENGINE_BENCHMARK
    UNIT_TESTS PRODUCT ${D_PRODUCT}
    UNIT_SOURCES ${shared}/dynamics_unit_checks.cpp)
  kelvo_add_model_editor_tests(${name} PRODUCT ${D_PRODUCT})
endfunction()

# kelvo_add_model_editor_tests(<name> PRODUCT <Product>)
#
# A framework-editor model's editor tests: kelvo_<name>_editor_tests, the editor checks the
# further models share (models/tests/editor_checks.cpp) run with the model's expectations
# (editor_test.cpp in the calling folder) on the fake unit, with the model's user guide; and
# kelvo_<name>_editor_benchmark, the cost of a poll and a full redraw (never asserted).
function(kelvo_add_model_editor_tests name)
  cmake_parse_arguments(E "" "PRODUCT" "" ${ARGN})
  if(NOT (COMMAND kelvo_add_editor_test_program AND TARGET kelvo_editor_${name}))
    return()
  endif()
  include(GoogleTest)
  set(shared ${PROJECT_SOURCE_DIR}/models/tests)
  set(tests kelvo_${name}_editor_tests)
  kelvo_add_editor_test_program(${tests} MODEL ${name} PRODUCT ${E_PRODUCT}
    SOURCES editor_test.cpp ${shared}/editor_checks.cpp
    LIBRARIES kelvo_allocation_counter GTest::gtest_main
    GUIDE ${CMAKE_CURRENT_SOURCE_DIR}/../resources/USER-GUIDE.txt)
  target_include_directories(${tests} PRIVATE ${shared})
  gtest_discover_tests(${tests})

  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    set(bench kelvo_${name}_editor_benchmark)
    kelvo_add_editor_test_program(${bench} MODEL ${name} PRODUCT ${E_PRODUCT}
      SOURCES ${KELVO_EDITOR_TEST_SUPPORT_DIR}/refresh_benchmark.cpp
      LIBRARIES benchmark::benchmark)
    add_test(NAME ${bench} COMMAND ${bench} --benchmark_min_time=0.05)
    set_tests_properties(${bench} PROPERTIES LABELS benchmark)
  endif()
  # kelvo-editor is defined after the models, so its test is declared once every folder has
  # been read (EVAL, so that the call carries this model's name, not the variables').
  cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]]
    CALL _kelvo_model_editor_host_test [[${name}]] [[${E_PRODUCT}]])")
endfunction()

# The editor through kelvo-editor and the model's bundle: presets, user preset files, help
# mode, guide, METER and INIT (models/tests/editor_host_test.py).
function(_kelvo_model_editor_host_test name product)
  find_program(KELVO_PYTHON3 python3)
  if(NOT (TARGET kelvo-editor AND TARGET ${product} AND KELVO_PYTHON3))
    return()
  endif()
  set(test kelvo_${name}_editor_host)
  kelvo_program_path(editor kelvo-editor)
  add_test(NAME ${test}
    COMMAND ${KELVO_PYTHON3} ${PROJECT_SOURCE_DIR}/models/tests/editor_host_test.py
            ${editor} ${name} ${CMAKE_BINARY_DIR}/models/${test})
  # Fontconfig's caches live until the process ends (leak checks under the sanitizers).
  set_tests_properties(${test} PROPERTIES ENVIRONMENT "LSAN_OPTIONS=${KELVO_APPKIT_LSAN_OPTIONS}")
endfunction()
