# kelvo_add_model(<name> PRODUCT <Product> SOURCES <model sources...>
#                 [UNIT_SOURCES <sources...>] [RESOURCES <files...>] [RACK])
#
# Builds a model: the static library kelvo_model_<name> (the model's tables and engine, with
# the framework's unit headers and the model folder's model.h on its include path; model tests
# link it), and, once the unit framework provides kelvo_add_unit_bundle, the model's Audio Unit
# bundle <Product>.component with the framework built for this model.
function(kelvo_add_model name)
  cmake_parse_arguments(M "RACK" "PRODUCT" "SOURCES;UNIT_SOURCES;RESOURCES" ${ARGN})
  set(lib kelvo_model_${name})
  add_library(${lib} STATIC ${M_SOURCES})
  target_include_directories(${lib} PUBLIC
    ${CMAKE_CURRENT_SOURCE_DIR}
    ${PROJECT_SOURCE_DIR}/framework/unit
    ${PROJECT_SOURCE_DIR}/models)
  set_target_properties(${lib} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  # Engines are compared sample for sample with plain transcriptions: never fuse multiply and
  # add, whatever instruction set a build targets.
  target_compile_options(${lib} PRIVATE -ffp-contract=off)
  if(COMMAND kelvo_add_unit_bundle)
    set(rack "")
    if(M_RACK)
      set(rack RACK)
    endif()
    kelvo_add_unit_bundle(${name} PRODUCT ${M_PRODUCT} MODEL_LIBRARY ${lib}
      UNIT_SOURCES ${M_UNIT_SOURCES} RESOURCES ${M_RESOURCES} ${rack})
  endif()
endfunction()
