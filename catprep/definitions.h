#pragma once
// The directives that define and remove macros: #define, #begindef ... #enddef, #undef.

#include <cstddef>
#include <string>

#include "catprep/macros.h"
#include "catprep/run_state.h"

namespace catprep {

inline constexpr size_t kMaxBody = 1000;  // bytes of a multi-line value

// Carries out #define (or #begindef when `multi_line`) whose word ends at `at` in `line`;
// a multi-line definition reads its body lines itself.
void define_macro(RunState& run, char* line, size_t at, bool multi_line);
// Carries out #undef whose word ends at `at`.
void undefine_macro(RunState& run, char* line, size_t at);
// Consumes the body of a #begindef in a skipped region, up to its #enddef.
void skip_macro_body(RunState& run, char* line);
// Appends the text from `at` on in stored form: whole names that are parameters of `head` become
// references (a name that begins before `at` is none), a tab a space; other control bytes but
// the line break are dropped. Keeps `body` at most `limit` bytes long; false when bytes were
// dropped for lack of room.
bool encode_body_line(const char* line, size_t at, const MacroHead& head, std::string& body,
                      size_t limit);

}  // namespace catprep
