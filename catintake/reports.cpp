#include "catintake/reports.h"

#include <initializer_list>

namespace catintake {
namespace {

std::string concat(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

// "catintake - <message>[, line <line>]\n", the form of every error and warning.
std::string error_text(std::string_view message, int line = 0) {
  std::string text = concat({"catintake - ", message});
  if (line > 0) text += ", line " + std::to_string(line);
  return text + "\n";
}

// The errors and warnings whose wording is fixed.
std::string_view fixed_message(ReportKind kind) {
  switch (kind) {
    case ReportKind::no_language_code:
      return "no language code or invalid language code.";
    case ReportKind::insufficient_memory:
      return "insufficient memory";
    case ReportKind::catalog_memory:
      return "memory allocation error for catalog parsing";
    case ReportKind::missing_filename:
      return "missing filename after language code";
    case ReportKind::empty_text:
      return "empty key string or translation";
    case ReportKind::missing_general_form:
      return "missing general (plural) form";
    case ReportKind::msgid_not_found:
      return "cannot find msgid";
    case ReportKind::message_too_long:
      return "message too long";
    case ReportKind::markup_skipped:
      return "text with inline markup skipped";
    case ReportKind::no_key_text:
      return "message has no key text, skipped";
    default:
      return {};
  }
}

// "catintake - <file>:<line>[:<column>]: <message>\n", the form of every report about a place
// in an input that was added after the first version.
std::string place_text(const Report& r, std::string_view message) {
  std::string text = concat({"catintake - ", r.file, ":", std::to_string(r.line)});
  if (r.column > 0) text += ":" + std::to_string(r.column);
  return concat({text, ": ", message, "\n"});
}

std::string refusal_text(const Report& r, std::string_view reason) {
  return concat({"catintake - ", r.file, ": not rewritten: ", reason, "\n"});
}

std::string place_report(const Report& r) {
  std::string related = std::to_string(r.related_line);
  switch (r.kind) {
    case ReportKind::unknown_keyword:
      return place_text(r, concat({"unknown keyword \"", r.detail, "\""}));
    case ReportKind::not_po_line:
      return place_text(r, "not a keyword, string or comment");
    case ReportKind::msgid_without_msgstr:
      return place_text(r,
                        concat({"msgid after the msgid of line ", related, " without a msgstr"}));
    case ReportKind::msgstr_index_unexpected:
      return place_text(r, concat({r.detail, " without msgid_plural"}));
    case ReportKind::context_collapsed:
      return place_text(r,
                        concat({"the msgid of line ", related,
                                " in another context; the catalog keeps only this translation"}));
    case ReportKind::unknown_charset:
      return place_text(r, concat({"unknown charset \"", r.detail, "\""}));
    case ReportKind::invalid_bytes:
      return place_text(r, concat({"bytes that are invalid in ", r.detail, "; text skipped"}));
    case ReportKind::not_representable:
      return place_text(r, "a character that the Latin-1 catalog cannot hold; text skipped");
    case ReportKind::xml_not_well_formed:
      return place_text(r, concat({"not well-formed XML: ", r.detail}));
    default:
      return {};
  }
}

}  // namespace

void write_memory_report(std::ostream& err, const Report& report) {
  err << "catintake - " << fixed_message(report.kind);
  if (report.line > 0) err << ", line " << report.line;
  err << '\n';
}

bool is_progress(ReportKind kind) {
  return kind == ReportKind::imported_language || kind == ReportKind::created_catalog ||
         kind == ReportKind::merged_catalog;
}

std::string report_text(const Report& r) {
  switch (r.kind) {
    case ReportKind::usage:
      return std::string(kUsage);
    case ReportKind::file_unreadable:
      return error_text(concat({"unable to open file \"", r.file, "\": ", r.detail}));
    case ReportKind::output_failed:
      return error_text(concat({"unable to create \"", r.file, "\": ", r.detail}));
    case ReportKind::catalog_refused:
      return error_text(concat({r.file, ": not rewritten: ", r.detail}));
    case ReportKind::key_language_translation:
      return error_text(concat({"translation into the key language skipped: \"", r.detail, "\""}));
    case ReportKind::key_message_added:
      return error_text(concat({"key message \"", r.detail, "\" is added to the catalog."}));
    case ReportKind::catalog_named_like_input:
      return refusal_text(r, "the name of a PO or XLIFF file, not of a catalog");
    case ReportKind::catalog_is_po:
      return refusal_text(r, "it begins like a PO file");
    case ReportKind::catalog_is_xml:
      return refusal_text(r, "it begins like an XML document");
    case ReportKind::catalog_is_utf16:
      return refusal_text(r, "not a text file (a UTF-16 byte-order mark)");
    case ReportKind::unknown_option:
      return concat({"catintake - ", r.detail, ": unknown option\n"});
    case ReportKind::imported_language:
      return concat({"Imported language \"", r.detail, "\" from ", r.file, "\n"});
    case ReportKind::created_catalog:
      return concat({"Created new catalog ", r.file, "\n"});
    case ReportKind::merged_catalog:
      return concat({"Merged with existing catalog ", r.file, "\n"});
    default:
      break;
  }
  std::string_view fixed = fixed_message(r.kind);
  return fixed.empty() ? place_report(r) : error_text(fixed, r.line);
}

}  // namespace catintake
