# Runs PROGRAM and fails unless it exits with 0 and prints exactly the text of the file EXPECTED
# on standard output. Usage: cmake -DPROGRAM=... -DEXPECTED=... -P CompareOutput.cmake
foreach(var PROGRAM EXPECTED)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CompareOutput.cmake needs -D${var}=...")
  endif()
endforeach()
execute_process(COMMAND ${PROGRAM} OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE rc)
file(READ ${EXPECTED} expected)
# message() without a mode prints the text as it is (FATAL_ERROR would re-indent it).
if(NOT rc STREQUAL "0")
  message("--- standard output:\n${actual}--- standard error:\n${errors}---")
  message(FATAL_ERROR "${PROGRAM} exited with ${rc}")
endif()
if(NOT actual STREQUAL expected)
  message("--- printed:\n${actual}--- expected (${EXPECTED}):\n${expected}---")
  message(FATAL_ERROR "${PROGRAM} printed other text than expected")
endif()
