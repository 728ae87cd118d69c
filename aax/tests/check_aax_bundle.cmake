# Checks an AAX bundle as a host finds it: its Info.plist, a shared object that exports only the
# SDK's entry point, and the unit bundle it carries in Resources/Backend. Run with
# -DBUNDLE=<.aaxplugin> -DNAME=<KelvoFennicAAX> -DIDENTIFIER=<id> -DUNIT=<KelvoFennic> -DNM=<nm>
# -DARCH_FOLDER=<the executable folder's name>.

function(expect_file path)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "missing: ${path}")
  endif()
endfunction()

function(expect_exports so)
  execute_process(COMMAND ${NM} -D --defined-only "${so}" OUTPUT_VARIABLE table
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "nm failed on ${so}")
  endif()
  string(REGEX MATCHALL "[^\n]+" lines "${table}")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] +" "" name "${line}")
    list(APPEND names "${name}")
  endforeach()
  if(NOT names STREQUAL "${ARGN}")
    message(FATAL_ERROR "${so} exports [${names}], expected [${ARGN}]")
  endif()
endfunction()

set(plist "${BUNDLE}/Contents/Info.plist")
expect_file("${plist}")
file(READ "${plist}" content)
foreach(entry IN ITEMS "<key>CFBundleIdentifier</key>\n\t<string>${IDENTIFIER}</string>"
                       "<key>CFBundleExecutable</key>\n\t<string>${NAME}</string>")
  string(FIND "${content}" "${entry}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${plist} lacks: ${entry}")
  endif()
endforeach()
expect_exports("${BUNDLE}/Contents/${ARCH_FOLDER}/${NAME}.so" AAX_DescribeModule)

set(backend "${BUNDLE}/Contents/Resources/Backend/${UNIT}.component")
expect_file("${backend}/Contents/Info.plist")
expect_exports("${backend}/Contents/${ARCH_FOLDER}/${UNIT}.so" ${UNIT}Factory)
