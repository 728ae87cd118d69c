# Runs kelvo-editor and compares what it prints with the expected lines exactly; the program
# must also succeed. -DPROGRAM=... -DARGUMENTS="a;b;c" -DEXPECTED=file
separate_arguments(arguments UNIX_COMMAND "${ARGUMENTS}")
execute_process(COMMAND ${PROGRAM} ${arguments}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "kelvo-editor failed (${status}):\n${errors}")
endif()
file(READ ${EXPECTED} expected)
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "kelvo-editor printed:\n${output}\nexpected:\n${expected}")
endif()
