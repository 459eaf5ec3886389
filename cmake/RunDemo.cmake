# Runs the example chain; called by the `demo` target with EXAMPLES, WORK and the tool paths.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${EXAMPLES}/ DESTINATION ${WORK})

function(step)
  string(JOIN " " shown ${ARGN})
  message("$ ${shown}")
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "step failed with exit code ${code}")
  endif()
endfunction()

step(${CATWELD} app.cat extra.sub)

file(READ ${WORK}/app.cat catalog)
message("--- app.cat:\n${catalog}")
