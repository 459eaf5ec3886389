# The README's walkthrough shows what the tools print as they are, byte for byte:
#  - the block after "$ cat app.cat" that follows the weld is the catalog the demo chain makes
#    (EXPECTED);
#  - the block after "$ catcheck app.cat" is catcheck's result on that catalog (CHECK_EXPECTED).
# Called with README, EXPECTED and CHECK_EXPECTED.
file(READ ${README} readme)

# The block of the README that follows `opening`, up to its closing fence.
function(shown_after opening result)
  string(FIND "${readme}" "${opening}" start)
  if(start EQUAL -1)
    message(FATAL_ERROR "the walkthrough's step \"${opening}\" is missing from ${README}")
  endif()
  string(LENGTH "${opening}" opening_length)
  math(EXPR start "${start} + ${opening_length}")
  string(SUBSTRING "${readme}" ${start} -1 rest)
  string(FIND "${rest}" "```" end)
  string(SUBSTRING "${rest}" 0 ${end} shown)
  set(${result} "${shown}" PARENT_SCOPE)
endfunction()

file(READ ${EXPECTED} expected)
shown_after("$ catweld app.cat extra.sub\n$ cat app.cat\n" shown)
if(NOT shown STREQUAL expected)
  message(FATAL_ERROR "the walkthrough shows another catalog than the demo makes:\n${shown}")
endif()

file(READ ${CHECK_EXPECTED} expected)
shown_after("$ catcheck app.cat\n" shown)
if(NOT shown STREQUAL expected)
  message(FATAL_ERROR "the walkthrough shows another check than catcheck prints:\n${shown}")
endif()
