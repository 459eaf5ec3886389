#pragma once
// Everything catprep tells its user, as values: the command line, the files, the diagnostics
// about the sources, the #msg texts and the closing line are reports, and one function words
// each. All of it goes to standard output, in the order the reports are made.

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace catprep {

enum class ReportKind {
  // The command line and the files; `file` names the output in the refusals.
  usage,               // also what --help prints
  version,             // --version
  no_input_file,       // `detail` the program's name
  too_many_defines,    // more -D options than macros; as a diagnostic, a full table
  cant_write_output,   // the output cannot be created, written or put in place
  cant_open_input,     // the template cannot be read
  out_of_memory,       // plain before the input is named, else a diagnostic
  output_refused,      // the output is no file that may be replaced; `detail` why
  output_is_template,  // the output is the template; `detail` its name
  output_is_included,  // the output is a file the template includes; `detail` its name
  // The header before a diagnostic from an included file whose chain of including files has
  // changed: `in_file` names the file read, one `included_from` each file that includes it,
  // innermost first, with the line of the #include.
  in_file,
  included_from,
  // Diagnostics: each counts as one error and names `file` and `line`.
  line_too_long,
  stray_backslash,
  comment_not_closed,
  syntax,
  too_many_parameter,  // a definition's parameter list
  expected_white_space,
  redefined_macro,
  expected_parenthesis,
  missing_parameter,
  expected_comma,
  unterminated_string,
  too_many_parameters,  // a call's arguments
  expected_end_of_directive,
  expected_name,  // an operand missing in a condition
  elif_without_if,
  else_without_if,
  endif_without_if,
  else_after_else,
  elif_after_else,
  enddef_without_begindef,
  if_without_endif,
  too_deep_if,
  missing_filename,
  quote_expected,
  unterminated_filename,
  cant_open_include,  // `detail` the name in the #include
  expected_end_of_line,
  too_many_nested_includes,
  unknown_directive,  // `detail` the rest of the line
  missing_argument,
  directive_in_definition,
  begindef_without_enddef,
  macro_too_long,
  preprocessing_stopped,
  // The rest of the run's output.
  msg,      // `detail` the text of a #msg
  done,     // the closing line of a run without errors
  summary,  // the closing line of a run with `count` errors
};

inline constexpr int kNoLine = -1;

struct Report {
  ReportKind kind;
  std::string_view file = {};  // as the command line or the #include names it
  int line = kNoLine;          // counted from 1 in `file`; 0 before its first line
  std::string_view detail = {};
  int count = 0;
};

// Writes the report's exact text, line end included, to `out`. It allocates nothing of its
// own, so that the report of a failed allocation can still be written.
void write_report(std::ostream& out, const Report& report);
// The same text as a string.
std::string report_text(const Report& report);

// Where a run's reports go. The out-of-memory report, too, is handed to the sink: a sink that
// allocates must not let std::bad_alloc escape.
using ReportSink = std::function<void(const Report&)>;

}  // namespace catprep
