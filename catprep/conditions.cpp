#include "catprep/conditions.h"

#include <string_view>

#include "catprep/source_reader.h"

namespace catprep {

int eval_or(const ConditionInput& in, size_t& at) {
  int value = 0;
  for (;;) {
    value |= eval_and(in, at);
    if (in.text[at] != '|') return value;
    ++at;
  }
}

int eval_and(const ConditionInput& in, size_t& at) {
  int value = 1;
  for (;;) {
    value &= eval_primary(in, at);
    at = skip_white(in.text, at);
    if (in.text[at] != '&') return value;
    ++at;
  }
}

int eval_primary(const ConditionInput& in, size_t& at) {
  at = skip_white(in.text, at);
  if (in.text[at] == '!') {
    ++at;
    return eval_primary(in, at) == 0 ? 1 : 0;
  }
  if (in.text[at] == '(') {
    ++at;
    int value = eval_or(in, at);
    at = skip_white(in.text, at);
    if (in.text[at] != ')') in.diagnostics.report_error(ReportKind::expected_parenthesis);
    if (in.text[at] != '\0') ++at;
    return value;
  }
  size_t start = at;
  at = skip_identifier(in.text, at);
  return in.table.find_macro(std::string_view(in.text + start, at - start)) == kNoMatch ? 0 : 1;
}

}  // namespace catprep
