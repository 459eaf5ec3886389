#pragma once
// Macro expansion of one line, in place, in a single left-to-right pass: inserted text is not
// scanned again for calls. The pass ends where a comment begins ("//" outside a string, or a
// '#' before anything else); with `strip_comments` the text is cut there.

#include <cstddef>

#include "catprep/diagnostics.h"
#include "catprep/macros.h"

namespace catprep {

struct ExpansionRules {
  const MacroTable& table;
  bool strip_comments;
  Diagnostics& diagnostics;
};

// Expands the calls in the NUL-terminated text that starts at `start` in `line`, a buffer of
// kLineSize bytes. After an error the text keeps the replacements made so far.
void expand_macros(char* line, size_t start, const ExpansionRules& rules);

}  // namespace catprep
