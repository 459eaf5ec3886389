#include "catcheck/reports.h"

namespace catcheck {
namespace {

// "catcheck - <subject>: <message>\n", the form of every report about an argument or a file.
std::string about(const Report& r, std::string_view message) {
  std::string text = "catcheck - ";
  text += r.subject;
  text += ": ";
  text += message;
  text += r.detail;
  return text + "\n";
}

}  // namespace

std::string report_text(const Report& r) {
  switch (r.kind) {
    case ReportKind::usage:
      return std::string(kUsage);
    case ReportKind::unknown_option:
      return about(r, "unknown option");
    case ReportKind::option_value:
      return about(r, r.subject == "--format" ? "give text or json after it"
                                              : "give language codes separated by commas "
                                                "after it (de,fr,pt-BR)");
    case ReportKind::invalid_code:
      return about(r, "no language code or invalid language code");
    case ReportKind::file_unreadable:
      return about(r, "cannot be read: ");
    case ReportKind::not_a_catalog:
      return about(r, "not a catalog: ");
    case ReportKind::insufficient_memory:
      return std::string(kInsufficientMemory);
  }
  return {};
}

}  // namespace catcheck
