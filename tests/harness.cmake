# run(COMMAND...): runs a command in a test script, fails the test with the
# command and its output when it fails, and leaves its output in "out".
function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGV}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()
