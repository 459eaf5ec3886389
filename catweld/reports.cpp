#include "catweld/reports.h"

#include <initializer_list>

namespace catweld {
namespace {

std::string concat(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

// "<what><file>(<line>)\n", the form of every report about one line.
std::string about_line(std::string_view what, const Report& report) {
  return concat({what, report.file, "(", std::to_string(report.line), ")\n"});
}

std::string_view line_report_opening(ReportKind kind) {
  switch (kind) {
    case ReportKind::short_language_code:
      return " catweld - invalid language code on ";
    case ReportKind::invalid_language_code:
      return " catweld - invalid language code on line ";
    case ReportKind::key_not_found:
      return "catweld - message key is not found, ";
    case ReportKind::wrong_language:
      return "catweld - message has the wrong language code, ";
    case ReportKind::not_converted:
      return "catweld - line not converted, characters beyond Latin-1, ";
    default:
      return {};
  }
}

}  // namespace

std::string report_text(const Report& report) {
  switch (report.kind) {
    case ReportKind::usage:
      return std::string(kUsage);
    case ReportKind::catalog_unreadable:
      return concat({"catweld - catalog file \"", report.file, "\" cannot be read\n"});
    case ReportKind::input_unreadable:
      return concat({"catweld - unable to open file \"", report.file, "\"\n"});
    case ReportKind::catalog_refused:
      return concat({"catweld - ", report.file, ": not rewritten: ", report.detail, "\n"});
    case ReportKind::syntax_error:
      return "catweld - error in the catalog syntax\n";
    case ReportKind::output_failed:
      return concat({"Unable to create/rewrite the output file: ", report.detail, "\n"});
    default:
      return about_line(line_report_opening(report.kind), report);
  }
}

}  // namespace catweld
