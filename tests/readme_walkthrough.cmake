# The README's walkthrough shows the catalog that the demo chain makes: the block after
# "$ cat app.cat" that follows the weld must be the pinned result byte for byte.
# Called with README and EXPECTED.
file(READ ${README} readme)
file(READ ${EXPECTED} expected)
set(opening "$ catweld app.cat extra.sub\n$ cat app.cat\n")
string(FIND "${readme}" "${opening}" start)
if(start EQUAL -1)
  message(FATAL_ERROR "the walkthrough's weld step is missing from ${README}")
endif()
string(LENGTH "${opening}" opening_length)
math(EXPR start "${start} + ${opening_length}")
string(SUBSTRING "${readme}" ${start} -1 rest)
string(FIND "${rest}" "```" end)
string(SUBSTRING "${rest}" 0 ${end} shown)
if(NOT shown STREQUAL expected)
  message(FATAL_ERROR "the walkthrough shows another catalog than the demo makes:\n${shown}")
endif()
