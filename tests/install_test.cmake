# Installs the build into a scratch prefix and checks the installed tree: each tool answers
# --version with its name and the project version, and the manuals and documents are there.
# Called with BUILD_DIR, PREFIX and VERSION.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE code OUTPUT_QUIET)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "cmake --install failed with ${code}")
endif()
foreach(tool catprep catintake catweld catexport catcheck)
  execute_process(COMMAND ${PREFIX}/bin/${tool} --version RESULT_VARIABLE code OUTPUT_VARIABLE out)
  if(NOT code EQUAL 0 OR NOT out STREQUAL "${tool} ${VERSION}\n")
    message(FATAL_ERROR "${tool} --version gave exit code ${code} and \"${out}\"")
  endif()
  if(NOT EXISTS ${PREFIX}/share/man/man1/${tool}.1.gz)
    message(FATAL_ERROR "manual of ${tool} not installed")
  endif()
endforeach()
foreach(document README.md catalog_format.md)
  if(NOT EXISTS ${PREFIX}/share/doc/tavelle-cattools/${document})
    message(FATAL_ERROR "${document} not installed")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
