# Runs the example chain; called by the `demo` target with EXAMPLES, WORK and the tool paths.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${EXAMPLES}/ DESTINATION ${WORK})

function(step)
  get_filename_component(tool ${ARGV0} NAME)
  list(POP_FRONT ARGN)
  string(JOIN " " shown ${ARGN})
  message("$ ${tool} ${shown}")
  execute_process(COMMAND ${ARGV0} ${ARGN} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${tool} failed with exit code ${code}")
  endif()
endfunction()

step(${CATPREP} -DPRO app.cat app.tpl)
step(${CATINTAKE} app.cat de=de.po pl=pl.po fr.xlf ja.xlf)
step(${CATWELD} app.cat extra.sub)
# Checked before it ships: an error in the finished catalog fails the chain.
step(${CATCHECK} app.cat)

file(READ ${WORK}/app.cat catalog)
message("--- app.cat:\n${catalog}")

# With EXPECTED set (the test of the chain), the catalog must match it byte for byte.
if(DEFINED EXPECTED)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/app.cat ${EXPECTED}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "app.cat differs from ${EXPECTED}")
  endif()
endif()
