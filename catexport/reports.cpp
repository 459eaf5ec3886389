#include "catexport/reports.h"

#include <initializer_list>

namespace catexport {
namespace {

std::string concat(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

// "catexport - <file>: <message>\n", the form of every report about a file.
std::string about(const Report& r, std::string_view message) {
  return concat({"catexport - ", r.file, ": ", message, "\n"});
}

std::string counted(const Report& r, std::string_view one, std::string_view many) {
  std::string count = std::to_string(r.count);
  return about(r, concat({count, " ", r.count == 1 ? one : many}));
}

}  // namespace

std::string report_text(const Report& r) {
  switch (r.kind) {
    case ReportKind::usage:
      return std::string(kUsage);
    case ReportKind::unknown_option:
      return about(r, "unknown option");
    case ReportKind::option_value:
      return about(r, "give 1.2 or 2.0 after it");
    case ReportKind::unknown_output:
      return about(r,
                   "not an output: name it LANG=FILE.po, LANG=FILE.xlf, LANG=FILE.xliff, "
                   "LANG=FILE.sub or FILE.pot");
    case ReportKind::template_language:
      return about(r, "a template has no language: write FILE.pot without LANG=");
    case ReportKind::invalid_code:
      return about(r, "no language code or invalid language code");
    case ReportKind::stdout_not_alone:
      return about(r, "standard output must be the only output");
    case ReportKind::catalog_unreadable:
      return about(r, concat({"cannot be read: ", r.detail}));
    case ReportKind::not_a_catalog:
      return about(r, concat({"not a catalog: ", r.detail}));
    case ReportKind::output_failed:
      return about(r, concat({"not written: ", r.detail}));
    case ReportKind::plural_lines_left_out:
      return counted(
          r, "line with a plural index other than [1] left out (the format cannot hold it)",
          "lines with a plural index other than [1] left out (the format cannot hold them)");
    case ReportKind::duplicates_left_out:
      return counted(r, "message left out: its text is that of an earlier message",
                     "messages left out: their texts are those of earlier messages");
    case ReportKind::texts_left_out:
      return counted(r, "text left out: it holds a control character that XML cannot hold",
                     "texts left out: they hold control characters that XML cannot hold");
    case ReportKind::insufficient_memory:
      return std::string(kInsufficientMemory);
  }
  return {};
}

}  // namespace catexport
