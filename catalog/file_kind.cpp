#include "catalog/file_kind.h"

#include "catalog/line_reader.h"
#include "catalog/text_routines.h"

namespace catalog {
namespace {

bool begins_like_po(std::string_view bytes) {
  LineReader lines(bytes);
  std::string_view line;
  while (lines.next(line)) {
    std::string_view content = skip_blanks(line);
    if (content.empty() || content.starts_with('#')) continue;
    return content.starts_with("msgid") || content.starts_with("msgctxt");
  }
  return false;
}

}  // namespace

bool has_translation_file_name(std::string_view name) {
  for (std::string_view suffix : {".po", ".pot", ".xlf", ".xliff"})
    if (name.size() >= suffix.size() &&
        equals_ignoring_case(name.substr(name.size() - suffix.size()), suffix))
      return true;
  return false;
}

TextKind text_kind(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return TextKind::utf16;
  if (bytes.find('\0') != std::string_view::npos) return TextKind::binary;
  skip_utf8_bom(bytes);
  if (skip_blanks(bytes).starts_with('<')) return TextKind::xml;
  return begins_like_po(bytes) ? TextKind::po : TextKind::other;
}

std::string_view not_a_catalog_reason(std::string_view bytes) {
  switch (text_kind(bytes)) {
    case TextKind::po:
      return "it begins like a PO file";
    case TextKind::xml:
      return "it begins like an XML document";
    case TextKind::utf16:
      return "a UTF-16 byte-order mark";
    default:
      return {};
  }
}

}  // namespace catalog
