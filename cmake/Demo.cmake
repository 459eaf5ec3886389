# The `demo` target runs the tool chain on examples/ in a scratch folder of the build tree,
# checks the result and prints the resulting catalog.
add_custom_target(demo
  COMMAND ${CMAKE_COMMAND}
          -DEXAMPLES=${PROJECT_SOURCE_DIR}/examples
          -DWORK=${PROJECT_BINARY_DIR}/demo
          -DCATPREP=$<TARGET_FILE:catprep>
          -DCATINTAKE=$<TARGET_FILE:catintake>
          -DCATWELD=$<TARGET_FILE:catweld>
          -DCATCHECK=$<TARGET_FILE:catcheck>
          -P ${PROJECT_SOURCE_DIR}/cmake/RunDemo.cmake
  DEPENDS catprep catintake catweld catcheck
  USES_TERMINAL
  VERBATIM)
