#include "catprep/directives.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "catprep/conditions.h"
#include "catprep/definitions.h"

namespace catprep {
namespace {

enum class Directive {
  if_,
  ifdef,
  elif,
  ifndef,
  else_,
  endif,
  enddef,
  msg,
  error,
  include,
  undef,
  define,
  begindef,
  none
};

constexpr std::string_view kWords[] = {"if",    "ifdef",  "elif",    "ifndef", "else",
                                       "endif", "enddef", "msg",     "error",  "include",
                                       "undef", "define", "begindef"};

Directive find_directive(const char* line, size_t at, size_t& after) {
  for (size_t k = 0; k < std::size(kWords); ++k) {
    after = match_word(line, at, kWords[k]);
    if (after != kNoMatch) return static_cast<Directive>(k);
  }
  return Directive::none;
}

ConditionInput condition_in(RunState& run, const char* line) {
  return ConditionInput{line, run.macros, run.diagnostics};
}

// Opens a conditional level whose first branch is false when `skip` is set.
Flow open_conditional(RunState& run, bool skip) {
  ConditionStack& c = run.conditions;
  if (++c.if_level > kMaxIfLevel) {
    run.report(ReportKind::too_deep_if);
    return Flow::stop;
  }
  c.else_seen[c.if_level] = false;
  if (c.skip_level == 0 && skip) {
    c.if_state[c.if_level] = IfState::seeking;
    c.skip_level = c.if_level;
  } else {
    c.if_state[c.if_level] = IfState::done;
  }
  return Flow::go_on;
}

// A broken condition opens its level all the same, false, so that its #elif, #else and
// #endif still pair with it.
Flow do_if(RunState& run, const char* line, size_t at) {
  ConditionResult condition = eval_condition(condition_in(run, line), at);
  end_of_directive(run, line, at);
  return open_conditional(run, condition.broken || !condition.value);
}

Flow do_ifndef(RunState& run, const char* line, size_t at) {
  ConditionResult defined = eval_operand(condition_in(run, line), at);
  end_of_directive(run, line, at);
  return open_conditional(run, defined.broken || defined.value);
}

void do_elif(RunState& run, const char* line, size_t at) {
  ConditionStack& c = run.conditions;
  if (c.if_state[c.if_level] == IfState::none) {
    run.report(ReportKind::elif_without_if);
    return;
  }
  if (c.else_seen[c.if_level]) {
    run.report(ReportKind::elif_after_else);
    return;
  }
  ConditionResult condition = eval_condition(condition_in(run, line), at);
  end_of_directive(run, line, at);
  bool holds = condition.value && !condition.broken;
  bool take = holds && c.if_state[c.if_level] == IfState::seeking;
  if (take) {
    c.skip_level = 0;
    c.if_state[c.if_level] = IfState::done;
  } else if (c.skip_level == 0) {
    c.skip_level = c.if_level;
  }
}

void do_else(RunState& run, const char* line, size_t at) {
  end_of_directive(run, line, at);
  ConditionStack& c = run.conditions;
  if (c.if_level == 0) {
    run.report(ReportKind::else_without_if);
    return;
  }
  if (c.else_seen[c.if_level]) {
    run.report(ReportKind::else_after_else);
    return;
  }
  c.else_seen[c.if_level] = true;
  if (c.if_state[c.if_level] == IfState::seeking) {
    c.skip_level = 0;
    c.if_state[c.if_level] = IfState::done;
  } else if (c.skip_level == 0) {
    c.skip_level = c.if_level;
  }
}

void do_endif(RunState& run, const char* line, size_t at) {
  end_of_directive(run, line, at);
  ConditionStack& c = run.conditions;
  if (c.skip_level == c.if_level) c.skip_level = 0;
  if (c.if_level == 0) {
    run.report(ReportKind::endif_without_if);
    return;
  }
  c.if_state[c.if_level] = IfState::none;
  --c.if_level;
}

// The name of an #include from `at` on; false (with a report) when there is none to open.
bool include_name(RunState& run, const char* line, size_t at, std::string& name, size_t& rest) {
  if (line[at] == '\0') {
    run.report(ReportKind::missing_filename);
    return false;
  }
  char opening = line[at];
  if (opening != '"' && opening != '<') {
    run.report(ReportKind::quote_expected);
    return false;
  }
  char closing = opening == '"' ? '"' : '>';
  size_t end = at + 1;
  while (line[end] != '\0' && line[end] != closing) ++end;
  rest = end;
  if (line[end] == closing)
    ++rest;
  else
    run.report(ReportKind::unterminated_filename);
  if (opening == '<') return false;
  name.assign(line + at + 1, end - at - 1);
  std::replace(name.begin(), name.end(), '\\', '/');
  return true;
}

Flow do_include(RunState& run, char* line, size_t at) {
  at = skip_white(line, at);
  expand_macros(line, at, run.expansion());
  std::string name;
  size_t rest = 0;
  if (!include_name(run, line, at, name, rest)) return Flow::go_on;
  std::string bytes;
  SourceFiles::Identity identity;
  if (!run.reader.read_include(name, bytes, identity).ok()) {
    run.report(ReportKind::cant_open_include, name);
    return Flow::go_on;
  }
  if (line[skip_white(line, rest)] != '\0') run.report(ReportKind::expected_end_of_line);
  // The output is only replaced at the end of a run that goes on to it: stopping here keeps it.
  if (run.is_output(identity)) {
    run.sink({.kind = ReportKind::output_is_included, .file = run.output_name, .detail = name});
    return Flow::stop;
  }
  if (run.reader.include_depth() >= kMaxIncludeDepth) {
    run.report(ReportKind::too_many_nested_includes);
    return Flow::stop;
  }
  run.reader.push_include(name, std::move(bytes));
  return Flow::go_on;
}

void do_msg(RunState& run, const char* line, size_t at) {
  run.sink({.kind = ReportKind::msg, .detail = line + skip_white(line, at)});
}

// Directives that act only in live regions.
Flow do_live(RunState& run, Directive directive, char* line, size_t at) {
  switch (directive) {
    case Directive::msg:
      do_msg(run, line, at);
      return Flow::go_on;
    case Directive::error:
      run.report(ReportKind::preprocessing_stopped);
      return Flow::stop;
    case Directive::include:
      return do_include(run, line, at);
    case Directive::undef:
      undefine_macro(run, line, at);
      return Flow::go_on;
    case Directive::define:
    case Directive::begindef:
      define_macro(run, line, at, directive == Directive::begindef);
      return Flow::go_on;
    default:
      return Flow::go_on;
  }
}

void unknown_directive(RunState& run, const char* line, size_t hash, size_t at) {
  if (at == hash + 1) run.report(ReportKind::unknown_directive, line + at);
}

}  // namespace

void end_of_directive(RunState& run, const char* line, size_t at) {
  at = skip_white(line, at);
  if (line[at] != '\0' && line[at] != ';') run.report(ReportKind::expected_end_of_directive);
}

Flow handle_directive(RunState& run, char* line) {
  size_t hash = skip_white(line, 0);
  size_t at = skip_white(line, hash + 1);
  if (line[at] == '\0') return Flow::go_on;
  size_t after = kNoMatch;
  Directive directive = find_directive(line, at, after);
  switch (directive) {
    case Directive::if_:
    case Directive::ifdef:
      return do_if(run, line, after);
    case Directive::ifndef:
      return do_ifndef(run, line, after);
    case Directive::elif:
      do_elif(run, line, after);
      return Flow::go_on;
    case Directive::else_:
      do_else(run, line, after);
      return Flow::go_on;
    case Directive::endif:
      do_endif(run, line, after);
      return Flow::go_on;
    case Directive::enddef:
      run.report(ReportKind::enddef_without_begindef);
      return Flow::go_on;
    case Directive::none:
      unknown_directive(run, line, hash, at);
      return Flow::go_on;
    default:
      break;
  }
  if (run.live()) return do_live(run, directive, line, after);
  if (directive == Directive::begindef) skip_macro_body(run, line);
  return Flow::go_on;
}

}  // namespace catprep
