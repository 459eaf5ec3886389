#pragma once
// Conditions of #if, #ifdef, #elif and #ifndef: names that are true when a macro of that name
// is defined, with '!', '&', '|' and parentheses; '!' binds tightest, then '&', then '|'.
// Every operand is evaluated; the position `at` is moved past what was evaluated.

#include <cstddef>

#include "catprep/diagnostics.h"
#include "catprep/macros.h"

namespace catprep {

struct ConditionInput {
  const char* text;
  const MacroTable& table;
  Diagnostics& diagnostics;
};

// The value of a condition, and whether it is broken: an operand is missing where the text
// ends, at a ';' or at an operator or ')' (reported once). A broken condition holds in no case.
struct ConditionResult {
  bool value = false;
  bool broken = false;
};

// A full condition; `at` ends on the first non-blank after it.
ConditionResult eval_condition(const ConditionInput& in, size_t& at);
// One operand: '!' and an operand, a parenthesised condition, or a name (as #ifndef takes it);
// `at` ends right after it.
ConditionResult eval_operand(const ConditionInput& in, size_t& at);

}  // namespace catprep
