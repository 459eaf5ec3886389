#include "catprep/reports.h"

#include <sstream>

namespace catprep {
namespace {

constexpr std::string_view kUsage =
    "catprep - C/C++ source preprocessor for Tavelle catalogs\n\n"
    "Usage:\tcatprep [-Dname[=value]] [-r] [-s] <output> <input>\n\n"
    "\t<output>\tthe filename of the destination file (a catalog file)\n"
    "\t<input>\t\tthe filename of the catalog template file\n"
    "\t-Dname[=value]\tpredefine macro\n"
    "\t-r\t\tstrip comments from the output file\n"
    "\t-s\t\tremove empty lines and leading spaces\n";

// The message of every report that is "[<file>[:<line>]: ]<message>" with a fixed message.
std::string_view fixed_message(ReportKind kind) {
  switch (kind) {
    case ReportKind::too_many_defines:
      return "too many defines";
    case ReportKind::cant_write_output:
      return "can't write to outputfile";
    case ReportKind::cant_open_input:
      return "can't open inputfile";
    case ReportKind::out_of_memory:
      return "out of memory";
    case ReportKind::line_too_long:
      return "line too long";
    case ReportKind::stray_backslash:
      return "stray \\";
    case ReportKind::comment_not_closed:
      return "comment not closed at EOF";
    case ReportKind::syntax:
      return "syntax";
    case ReportKind::too_many_parameter:
      return "too many parameter";
    case ReportKind::expected_white_space:
      return "expected white-space";
    case ReportKind::redefined_macro:
      return "redefined macro";
    case ReportKind::expected_parenthesis:
      return "expected ')'";
    case ReportKind::missing_parameter:
      return "missing parameter";
    case ReportKind::expected_comma:
      return "expected ','";
    case ReportKind::unterminated_string:
      return "unterminated string";
    case ReportKind::too_many_parameters:
      return "too many parameters";
    case ReportKind::expected_end_of_directive:
      return "expected ';' or end-of-line";
    case ReportKind::expected_name:
      return "expected a name";
    case ReportKind::elif_without_if:
      return "elif without if";
    case ReportKind::else_without_if:
      return "else without if";
    case ReportKind::endif_without_if:
      return "endif without if";
    case ReportKind::else_after_else:
      return "else after else";
    case ReportKind::elif_after_else:
      return "elif after else";
    case ReportKind::enddef_without_begindef:
      return "enddef without begindef";
    case ReportKind::if_without_endif:
      return "if without endif";
    case ReportKind::too_deep_if:
      return "too deep if";
    case ReportKind::missing_filename:
      return "missing filename";
    case ReportKind::quote_expected:
      return "'\"' or '<' expected";
    case ReportKind::unterminated_filename:
      return "unterminated filename in #include";
    case ReportKind::expected_end_of_line:
      return "expected end-of-line";
    case ReportKind::too_many_nested_includes:
      return "too many nested includes";
    case ReportKind::missing_argument:
      return "missing argument";
    case ReportKind::directive_in_definition:
      return "#directive in macro-definition";
    case ReportKind::begindef_without_enddef:
      return "begindef without enddef";
    case ReportKind::macro_too_long:
      return "macro too long";
    case ReportKind::preprocessing_stopped:
      return "preprocessing stopped";
    default:
      return {};
  }
}

// "<file>:<line>: " for a diagnostic, "<file>: " for a report about a file, nothing for a
// report without a place.
void write_place(std::ostream& out, const Report& r) {
  if (r.line != kNoLine)
    out << r.file << ':' << r.line << ": ";
  else if (!r.file.empty())
    out << r.file << ": ";
}

}  // namespace

void write_report(std::ostream& out, const Report& r) {
  switch (r.kind) {
    case ReportKind::usage:
      out << kUsage;
      return;
    case ReportKind::version:
      out << "catprep " CATTOOLS_VERSION "\n";
      return;
    case ReportKind::no_input_file:
      out << r.detail << ": No input file\n";
      return;
    case ReportKind::output_refused:
      out << r.file << ": not written: " << r.detail << '\n';
      return;
    case ReportKind::output_is_template:
      out << r.file << ": not written: it is the template " << r.detail << '\n';
      return;
    case ReportKind::output_is_included:
      out << r.file << ": not written: it is the included file " << r.detail << '\n';
      return;
    case ReportKind::in_file:
      out << "In file \"" << r.file << "\",";
      return;
    case ReportKind::included_from:
      out << "Included from " << r.file << ':' << r.line << '\n';
      return;
    case ReportKind::cant_open_include:
      write_place(out, r);
      out << "can't open include file \"" << r.detail << "\"\n";
      return;
    case ReportKind::unknown_directive:
      write_place(out, r);
      out << "unknown directive \"" << r.detail << "\"\n";
      return;
    case ReportKind::msg:
      out << r.detail << '\n';
      return;
    case ReportKind::done:
      out << "done, no errors\n";
      return;
    case ReportKind::summary:
      out << "summary: " << r.count << " error(s)\n";
      return;
    default:
      write_place(out, r);
      out << fixed_message(r.kind) << '\n';
      return;
  }
}

std::string report_text(const Report& report) {
  std::ostringstream out;
  write_report(out, report);
  return std::move(out).str();
}

}  // namespace catprep
