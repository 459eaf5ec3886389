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

// Why a main catalog is refused as no catalog, or empty for any other kind.
std::string_view refusal_reason(ReportKind kind) {
  switch (kind) {
    case ReportKind::po_or_xliff_name:
      return "the name of a PO or XLIFF file, not of a catalog";
    case ReportKind::begins_like_po:
      return "it begins like a PO file";
    case ReportKind::begins_like_xml:
      return "it begins like an XML document";
    case ReportKind::nul_byte:
      return "not a text file (a NUL byte)";
    case ReportKind::utf16_byte_order_mark:
      return "not a text file (a UTF-16 byte-order mark)";
    case ReportKind::no_message:
      return "it holds no message";
    case ReportKind::hash_line_in_catalog:
      return "a sub-catalog hash line; give the main catalog first";
    default:
      return {};
  }
}

// The message of a report worded in the house style, or empty for the other kinds.
std::string house_style_message(ReportKind kind) {
  if (kind == ReportKind::unknown_option) return "unknown option";
  if (kind == ReportKind::option_not_alone) return "an option that must stand alone";
  if (kind == ReportKind::ambiguous_hash_line)
    return "the key names several messages (a key collision); the lines that follow are left out";
  if (kind == ReportKind::ambiguous_key_line)
    return "the key names several messages, none of this text; the lines that follow are left "
           "out";
  std::string_view reason = refusal_reason(kind);
  return reason.empty() ? std::string() : concat({"not rewritten: ", reason});
}

// "catweld - <file>: <message>\n", or "catweld - <file>:<line>: <message>\n" when the report
// names a line: the form of every report added after the first version.
std::string about_file(const Report& report, std::string_view message) {
  std::string place(report.file);
  if (report.line > 0) place += ":" + std::to_string(report.line);
  return concat({"catweld - ", place, ": ", message, "\n"});
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
      break;
  }
  std::string message = house_style_message(report.kind);
  if (!message.empty()) return about_file(report, message);
  return about_line(line_report_opening(report.kind), report);
}

}  // namespace catweld
