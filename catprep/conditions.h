#pragma once
// Conditions of #if, #ifdef, #elif and #ifndef: names that are true when a macro of that name
// is defined, with '!', '&', '|' and parentheses. Every operand is evaluated; the position
// `at` is moved past what was evaluated.

#include <cstddef>

#include "catprep/diagnostics.h"
#include "catprep/macros.h"

namespace catprep {

struct ConditionInput {
  const char* text;
  const MacroTable& table;
  Diagnostics& diagnostics;
};

// A full condition; `at` ends on the first non-blank after it. Returns 1 or 0.
int eval_or(const ConditionInput& in, size_t& at);
// Primaries joined by '&'.
int eval_and(const ConditionInput& in, size_t& at);
// One operand: '!' and an operand, a parenthesised condition, or a name.
int eval_primary(const ConditionInput& in, size_t& at);

}  // namespace catprep
