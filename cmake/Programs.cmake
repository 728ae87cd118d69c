# kelvo_program_path(<variable> <executable target>)
#
# Sets <variable> to the path by which a test starts one of the build's programs itself (a C++
# test through execv, a Python test through subprocess, a CMake script through
# execute_process): the program's own file, or in a cross build a shell script beside the build's
# programs, emulated/<target>, that starts it through CMAKE_CROSSCOMPILING_EMULATOR. add_test and
# add_custom_command put the emulator in front of a target named as their command by
# themselves; a path handed to a test gets no such help.
function(kelvo_program_path variable target)
  if(NOT (CMAKE_CROSSCOMPILING AND CMAKE_CROSSCOMPILING_EMULATOR))
    set(${variable} $<TARGET_FILE:${target}> PARENT_SCOPE)
    return()
  endif()
  set(script ${CMAKE_BINARY_DIR}/emulated/${target})
  get_property(written GLOBAL PROPERTY KELVO_EMULATED_${target})
  if(NOT written)
    list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
    file(GENERATE OUTPUT ${script}
      CONTENT "#!/bin/sh\nexec ${emulator} \"$<TARGET_FILE:${target}>\" \"$@\"\n"
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                       WORLD_READ WORLD_EXECUTE)
    set_property(GLOBAL PROPERTY KELVO_EMULATED_${target} TRUE)
  endif()
  set(${variable} ${script} PARENT_SCOPE)
endfunction()
