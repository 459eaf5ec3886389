#include "catprep/conditions.h"

#include <string_view>

#include "catprep/source_reader.h"

namespace catprep {
namespace {

// Where an operand should begin, these bytes show that there is none. Any other byte that
// begins no name reads as an empty name, and the directive reports what follows.
bool lacks_operand(char c) {
  return c == '\0' || c == ';' || c == '&' || c == '|' || c == ')';
}

class Evaluator {
 public:
  explicit Evaluator(const ConditionInput& in) : in_(in) {}
  bool any(size_t& at);      // operands of all() joined by '|'
  bool all(size_t& at);      // operands joined by '&'
  bool operand(size_t& at);  // '!' and an operand, a parenthesised condition, or a name
  bool broken() const { return broken_; }

 private:
  bool missing();

  const ConditionInput& in_;
  bool broken_ = false;
};

bool Evaluator::any(size_t& at) {
  bool value = false;
  for (;;) {
    value |= all(at);
    if (in_.text[at] != '|') return value;
    ++at;
  }
}

bool Evaluator::all(size_t& at) {
  bool value = true;
  for (;;) {
    value &= operand(at);
    at = skip_white(in_.text, at);
    if (in_.text[at] != '&') return value;
    ++at;
  }
}

bool Evaluator::operand(size_t& at) {
  const char* text = in_.text;
  at = skip_white(text, at);
  if (text[at] == '!') {
    ++at;
    return !operand(at);
  }
  if (text[at] == '(') {
    ++at;
    bool value = any(at);
    at = skip_white(text, at);
    if (text[at] != ')') in_.diagnostics.report_error(ReportKind::expected_parenthesis);
    if (text[at] != '\0') ++at;
    return value;
  }
  if (lacks_operand(text[at])) return missing();
  size_t start = at;
  at = skip_identifier(text, at);
  return in_.table.find_macro(std::string_view(text + start, at - start)) != kNoMatch;
}

bool Evaluator::missing() {
  if (!broken_) in_.diagnostics.report_error(ReportKind::expected_name);
  broken_ = true;
  return false;
}

}  // namespace

ConditionResult eval_condition(const ConditionInput& in, size_t& at) {
  Evaluator evaluator(in);
  bool value = evaluator.any(at);
  return {value, evaluator.broken()};
}

ConditionResult eval_operand(const ConditionInput& in, size_t& at) {
  Evaluator evaluator(in);
  bool value = evaluator.operand(at);
  return {value, evaluator.broken()};
}

}  // namespace catprep
