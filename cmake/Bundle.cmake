# Plug-in bundles: directories laid out as on the platform, with a Linux executable folder
# named after the target's processor (KELVO_BUNDLE_ARCH_FOLDER: x86_64-linux, aarch64-linux).
#
#   <Product>.component/Contents/Info.plist
#                               /<processor>-linux/<Product>.so
#                               /Resources/...
#
# The shared object is compiled with hidden visibility and linked with a version script that
# exports only the named entry points, with --no-undefined (a missing symbol fails the build,
# not the host) and -Bsymbolic-functions, so several bundles defining the same C++ names live
# side by side in one process.
#
# kelvo_add_bundle(<Product>
#     IDENTIFIER <bundle identifier>
#     SOURCES <sources...>
#     COMPONENT_SUBTYPE <four-character code>
#     COMPONENT_FACTORY <exported factory symbol>
#     COMPONENT_NAME <display name>
#     [COMPONENT_TYPE <four-character code>]          default aufx
#     [COMPONENT_MANUFACTURER <four-character code>]  default Kvlo
#     [COMPONENT_DESCRIPTION <text>]                  default the name
#     [COMPONENT_VERSION <integer>]                   default 65536 (1.0.0)
#     [VERSION <x.y.z>]                               default the project's version
#     [LIBRARIES <libraries...>]                      linked privately
#     [EXPORTS <symbols...>]                          default the factory symbol
#     [RESOURCES <files...>]                          copied into Contents/Resources/
#     [RESOURCE_DIRS <dirs...>]                       their contents copied into Resources/
#     [DEPENDS <targets...>]                          targets that generate RESOURCES files
#     [OUTPUT_DIRECTORY <dir>]                        default ${KELVO_BUNDLE_DIR}
#     [EXTENSION <ext>])                              default component
#
# Makes the MODULE target <Product> (building it builds the whole bundle). Relative RESOURCES
# are taken from the current source folder; generated ones are given as absolute paths with
# their generating targets in DEPENDS. The target carries KELVO_BUNDLE_DIR (the bundle's path)
# and KELVO_BUNDLE_FILES (everything in it but the executable).
#
# kelvo_add_aax_bundle(<Name>
#     IDENTIFIER <bundle identifier>
#     SOURCES <sources...>
#     EXPORTS <symbols...>
#     [BACKEND <Product>]    the bundle of kelvo_add_bundle target <Product>, copied whole into
#                            Contents/Resources/Backend/<Product>.<ext>
#     [VERSION ...] [LIBRARIES ...] [RESOURCES ...] [RESOURCE_DIRS ...] [DEPENDS ...]
#     [OUTPUT_DIRECTORY <dir>])
#
# Makes <Name>.aaxplugin/Contents/{Info.plist, <processor>-linux/<Name>.so, Resources/...}.
#
# kelvo_bundle_layout: an interface library that gives the code which finds executables in
# bundles (the bundle loader, the validator, tests) the folder's name as the string macro
# KELVO_BUNDLE_ARCH_FOLDER.

if(NOT DEFINED KELVO_BUNDLE_DIR)
  set(KELVO_BUNDLE_DIR ${CMAKE_BINARY_DIR}/bundles)
endif()
# The one place that names the executable folder: a cross build names its target's processor.
string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}-${CMAKE_SYSTEM_NAME}" KELVO_BUNDLE_ARCH_FOLDER)
if(NOT TARGET kelvo_bundle_layout)
  add_library(kelvo_bundle_layout INTERFACE)
  target_compile_definitions(kelvo_bundle_layout INTERFACE
    KELVO_BUNDLE_ARCH_FOLDER="${KELVO_BUNDLE_ARCH_FOLDER}")
endif()

function(_kelvo_plist_escape out text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(_kelvo_plist_string out key value)
  _kelvo_plist_escape(key "${key}")
  _kelvo_plist_escape(value "${value}")
  set(${out} "${${out}}\t<key>${key}</key>\n\t<string>${value}</string>\n" PARENT_SCOPE)
endfunction()

function(_kelvo_check_four_char_code what code)
  string(LENGTH "${code}" length)
  if(NOT length EQUAL 4)
    message(FATAL_ERROR "${what} must be four characters, got '${code}'")
  endif()
endfunction()

# Builds the MODULE target and the bundle's contents: Info.plist (text given), resources.
function(_kelvo_bundle target bundle_dir plist_text)
  cmake_parse_arguments(B "" "" "SOURCES;LIBRARIES;EXPORTS;RESOURCES;RESOURCE_DIRS;DEPENDS" ${ARGN})
  if(NOT B_EXPORTS)
    message(FATAL_ERROR "bundle ${target}: nothing to export")
  endif()
  set(contents ${bundle_dir}/Contents)

  add_library(${target} MODULE ${B_SOURCES})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    SUFFIX ".so"
    OUTPUT_NAME ${target}
    LIBRARY_OUTPUT_DIRECTORY ${contents}/${KELVO_BUNDLE_ARCH_FOLDER}
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    KELVO_BUNDLE_DIR ${bundle_dir})
  foreach(config IN LISTS CMAKE_CONFIGURATION_TYPES)
    string(TOUPPER ${config} config)
    set_target_properties(${target} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY_${config} ${contents}/${KELVO_BUNDLE_ARCH_FOLDER})
  endforeach()
  target_link_libraries(${target} PRIVATE ${B_LIBRARIES})

  # Only the entry points leave the shared object; everything else (static libraries included)
  # binds locally.
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.exports.map)
  set(map_text "{\n  global:\n")
  foreach(symbol IN LISTS B_EXPORTS)
    string(APPEND map_text "    ${symbol};\n")
  endforeach()
  string(APPEND map_text "  local:\n    *;\n};\n")
  file(CONFIGURE OUTPUT ${map} CONTENT "${map_text}" @ONLY)
  target_link_options(${target} PRIVATE
    "LINKER:--version-script=${map}"
    "LINKER:--no-undefined"
    "LINKER:-Bsymbolic-functions"
    "LINKER:--exclude-libs,ALL")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})

  # Info.plist, written at configure time beside the target and copied into the bundle so a
  # removed bundle folder comes back with the next build.
  set(plist_source ${CMAKE_CURRENT_BINARY_DIR}/${target}.Info.plist)
  file(CONFIGURE OUTPUT ${plist_source} CONTENT "${plist_text}" @ONLY)
  add_custom_command(OUTPUT ${contents}/Info.plist
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${plist_source} ${contents}/Info.plist
    DEPENDS ${plist_source}
    COMMENT "Info.plist of ${target}"
    VERBATIM)
  set(files ${contents}/Info.plist)

  foreach(resource IN LISTS B_RESOURCES)
    cmake_path(ABSOLUTE_PATH resource BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    cmake_path(GET resource FILENAME name)
    set(destination ${contents}/Resources/${name})
    if(destination IN_LIST files)
      message(FATAL_ERROR "bundle ${target}: two resources named ${name}")
    endif()
    add_custom_command(OUTPUT ${destination}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${resource} ${destination}
      DEPENDS ${resource} ${B_DEPENDS}
      VERBATIM)
    list(APPEND files ${destination})
  endforeach()

  foreach(folder IN LISTS B_RESOURCE_DIRS)
    cmake_path(ABSOLUTE_PATH folder BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    file(GLOB_RECURSE folder_files LIST_DIRECTORIES false CONFIGURE_DEPENDS ${folder}/*)
    foreach(resource IN LISTS folder_files)
      cmake_path(RELATIVE_PATH resource BASE_DIRECTORY ${folder} OUTPUT_VARIABLE relative)
      set(destination ${contents}/Resources/${relative})
      if(destination IN_LIST files)
        message(FATAL_ERROR "bundle ${target}: two resources named ${relative}")
      endif()
      add_custom_command(OUTPUT ${destination}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${resource} ${destination}
        DEPENDS ${resource}
        VERBATIM)
      list(APPEND files ${destination})
    endforeach()
  endforeach()

  add_custom_target(${target}_contents DEPENDS ${files})
  if(B_DEPENDS)
    add_dependencies(${target}_contents ${B_DEPENDS})
  endif()
  add_dependencies(${target} ${target}_contents)
  set_target_properties(${target} PROPERTIES KELVO_BUNDLE_FILES "${files}")
endfunction()

function(_kelvo_plist_header out identifier executable name package_type version)
  set(text "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n")
  string(APPEND text "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" ")
  string(APPEND text "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n")
  string(APPEND text "<plist version=\"1.0\">\n<dict>\n")
  _kelvo_plist_string(text CFBundleDevelopmentRegion "English")
  _kelvo_plist_string(text CFBundleExecutable "${executable}")
  _kelvo_plist_string(text CFBundleIdentifier "${identifier}")
  _kelvo_plist_string(text CFBundleInfoDictionaryVersion "6.0")
  _kelvo_plist_string(text CFBundleName "${name}")
  _kelvo_plist_string(text CFBundlePackageType "${package_type}")
  _kelvo_plist_string(text CFBundleShortVersionString "${version}")
  _kelvo_plist_string(text CFBundleVersion "${version}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(kelvo_add_bundle product)
  cmake_parse_arguments(A ""
    "IDENTIFIER;COMPONENT_TYPE;COMPONENT_SUBTYPE;COMPONENT_MANUFACTURER;COMPONENT_FACTORY;COMPONENT_NAME;COMPONENT_DESCRIPTION;COMPONENT_VERSION;VERSION;OUTPUT_DIRECTORY;EXTENSION"
    "SOURCES;LIBRARIES;EXPORTS;RESOURCES;RESOURCE_DIRS;DEPENDS"
    ${ARGN})
  foreach(required IN ITEMS IDENTIFIER SOURCES COMPONENT_SUBTYPE COMPONENT_FACTORY COMPONENT_NAME)
    if(NOT A_${required})
      message(FATAL_ERROR "kelvo_add_bundle(${product}): ${required} is required")
    endif()
  endforeach()
  if(A_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "kelvo_add_bundle(${product}): unknown arguments ${A_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT A_COMPONENT_TYPE)
    set(A_COMPONENT_TYPE aufx)
  endif()
  if(NOT A_COMPONENT_MANUFACTURER)
    set(A_COMPONENT_MANUFACTURER Kvlo)
  endif()
  if(NOT A_COMPONENT_DESCRIPTION)
    set(A_COMPONENT_DESCRIPTION "${A_COMPONENT_NAME}")
  endif()
  if(NOT DEFINED A_COMPONENT_VERSION)
    set(A_COMPONENT_VERSION 65536) # 0x10000: 1.0.0
  endif()
  if(NOT A_COMPONENT_VERSION MATCHES "^[0-9]+$")
    message(FATAL_ERROR "kelvo_add_bundle(${product}): COMPONENT_VERSION must be an integer")
  endif()
  if(NOT A_VERSION)
    set(A_VERSION ${PROJECT_VERSION})
  endif()
  if(NOT A_OUTPUT_DIRECTORY)
    set(A_OUTPUT_DIRECTORY ${KELVO_BUNDLE_DIR})
  endif()
  if(NOT A_EXTENSION)
    set(A_EXTENSION component)
  endif()
  if(NOT A_EXPORTS)
    set(A_EXPORTS ${A_COMPONENT_FACTORY})
  endif()
  _kelvo_check_four_char_code(COMPONENT_TYPE "${A_COMPONENT_TYPE}")
  _kelvo_check_four_char_code(COMPONENT_SUBTYPE "${A_COMPONENT_SUBTYPE}")
  _kelvo_check_four_char_code(COMPONENT_MANUFACTURER "${A_COMPONENT_MANUFACTURER}")

  _kelvo_plist_header(text "${A_IDENTIFIER}" ${product} ${product} BNDL "${A_VERSION}")
  set(component "")
  string(APPEND text "\t<key>AudioComponents</key>\n\t<array>\n\t\t<dict>\n")
  foreach(pair IN ITEMS
      "description|${A_COMPONENT_DESCRIPTION}"
      "factoryFunction|${A_COMPONENT_FACTORY}"
      "manufacturer|${A_COMPONENT_MANUFACTURER}"
      "name|${A_COMPONENT_NAME}"
      "subtype|${A_COMPONENT_SUBTYPE}"
      "type|${A_COMPONENT_TYPE}")
    string(FIND "${pair}" "|" bar)
    string(SUBSTRING "${pair}" 0 ${bar} key)
    math(EXPR start "${bar} + 1")
    string(SUBSTRING "${pair}" ${start} -1 value)
    _kelvo_plist_escape(value "${value}")
    string(APPEND text "\t\t\t<key>${key}</key>\n\t\t\t<string>${value}</string>\n")
  endforeach()
  string(APPEND text "\t\t\t<key>version</key>\n\t\t\t<integer>${A_COMPONENT_VERSION}</integer>\n")
  string(APPEND text "\t\t</dict>\n\t</array>\n</dict>\n</plist>\n")

  _kelvo_bundle(${product} ${A_OUTPUT_DIRECTORY}/${product}.${A_EXTENSION} "${text}"
    SOURCES ${A_SOURCES}
    LIBRARIES ${A_LIBRARIES}
    EXPORTS ${A_EXPORTS}
    RESOURCES ${A_RESOURCES}
    RESOURCE_DIRS ${A_RESOURCE_DIRS}
    DEPENDS ${A_DEPENDS})
endfunction()

function(kelvo_add_aax_bundle name)
  cmake_parse_arguments(A "" "IDENTIFIER;BACKEND;VERSION;OUTPUT_DIRECTORY"
    "SOURCES;LIBRARIES;EXPORTS;RESOURCES;RESOURCE_DIRS;DEPENDS"
    ${ARGN})
  foreach(required IN ITEMS IDENTIFIER SOURCES EXPORTS)
    if(NOT A_${required})
      message(FATAL_ERROR "kelvo_add_aax_bundle(${name}): ${required} is required")
    endif()
  endforeach()
  if(A_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "kelvo_add_aax_bundle(${name}): unknown arguments ${A_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT A_VERSION)
    set(A_VERSION ${PROJECT_VERSION})
  endif()
  if(NOT A_OUTPUT_DIRECTORY)
    set(A_OUTPUT_DIRECTORY ${KELVO_BUNDLE_DIR})
  endif()
  set(bundle_dir ${A_OUTPUT_DIRECTORY}/${name}.aaxplugin)

  _kelvo_plist_header(text "${A_IDENTIFIER}" ${name} ${name} TDMw "${A_VERSION}")
  string(APPEND text "</dict>\n</plist>\n")

  _kelvo_bundle(${name} ${bundle_dir} "${text}"
    SOURCES ${A_SOURCES}
    LIBRARIES ${A_LIBRARIES}
    EXPORTS ${A_EXPORTS}
    RESOURCES ${A_RESOURCES}
    RESOURCE_DIRS ${A_RESOURCE_DIRS}
    DEPENDS ${A_DEPENDS})

  if(A_BACKEND)
    # The backend bundle is copied whole after it is built; the stamp depends on its executable
    # and every file in it, so a change in the backend refreshes the copy.
    set(backend_dir $<TARGET_PROPERTY:${A_BACKEND},KELVO_BUNDLE_DIR>)
    set(backend_files $<TARGET_PROPERTY:${A_BACKEND},KELVO_BUNDLE_FILES>)
    set(backend_folder ${bundle_dir}/Contents/Resources/Backend)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.backend.stamp)
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${backend_folder}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${backend_folder}
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${backend_dir}
        ${backend_folder}/$<PATH:GET_FILENAME,${backend_dir}>
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${A_BACKEND} $<TARGET_FILE:${A_BACKEND}> ${backend_files}
      COMMENT "Backend ${A_BACKEND} into ${name}"
      VERBATIM)
    add_custom_target(${name}_backend DEPENDS ${stamp})
    add_dependencies(${name}_backend ${A_BACKEND})
    add_dependencies(${name} ${name}_backend)
  endif()
endfunction()
