#pragma once
// Directive lines: the conditional directives, #include, #msg, #error, and the dispatch of
// the definition directives.

#include <cstddef>

#include "catprep/run_state.h"

namespace catprep {

// Carries out the directive in `line` (kLineSize bytes, first non-blank '#'). A multi-line
// definition reads further lines through `run.reader`.
Flow handle_directive(RunState& run, char* line);

// What follows a directive's operand, after blanks, must be the end or a ';' remark.
void end_of_directive(RunState& run, const char* line, size_t at);

}  // namespace catprep
