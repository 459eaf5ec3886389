#include "catintake/xliff_input.h"

#include <initializer_list>
#include <optional>

#include "catalog/text_routines.h"
#include "catintake/charset.h"
#include "catintake/xml_check.h"
#include "catintake/xml_scanner.h"

namespace catintake {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr char kUnconverted = '\xFF';                      // never part of UTF-8

// The encodings of two bytes a character that the parser itself tells from a file's first bytes.
bool is_utf16_name(std::string_view charset) {
  return is_charset_named(charset,
                          {"UTF-16", "UTF-16LE", "UTF-16BE", "UTF16", "ISO-10646-UCS-2", "UCS-2"});
}

// The encoding that the XML declaration at the start of `bytes` names; empty when none does.
std::string declared_encoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  if (!bytes.starts_with("<?xml") || bytes.size() < 6 || !catalog::is_blank(bytes[5])) return {};
  size_t end = bytes.find("?>");
  if (end == std::string_view::npos) return {};
  return tag_attribute(bytes.substr(0, end + 2), "encoding").value_or(std::string());
}

// Converts `bytes` from `charset` to UTF-8 into `out`, each stretch that does not convert
// replaced by the byte 0xFF and skipped by one character of `unit` bytes; false when the
// charset is unknown.
bool convert_marking(std::string_view bytes, std::string_view charset, size_t unit,
                     std::string& out) {
  out.clear();
  std::string piece;
  size_t bad = 0;
  while (!file_to_utf8(bytes, charset, piece, bad)) {
    if (bad == std::string_view::npos) return false;
    out += piece;
    out += kUnconverted;
    bytes.remove_prefix(std::min(bytes.size(), bad + unit));
  }
  out += piece;
  return true;
}

// A copy of `text` for the parser with each invalid UTF-8 sequence replaced by U+FFFD: the
// parser judges the markup, and the reader reports the texts that hold such bytes.
std::string valid_copy(std::string_view text) {
  std::string copy;
  copy.reserve(text.size());
  catalog::Utf8State state;
  size_t start = 0;  // of the character being decoded
  for (size_t at = 0; at < text.size(); ++at) {
    bool inside = state.remaining > 0;
    if (!catalog::utf8_decode_step(static_cast<unsigned char>(text[at]), state)) {
      copy += kReplacement;
      state = {};
      if (inside) --at;  // the byte may begin a character of its own
      start = at + 1;
    } else if (state.remaining == 0) {
      copy.append(text.substr(start, at + 1 - start));
      start = at + 1;
    }
  }
  if (start < text.size()) copy += kReplacement;
  return copy;
}

bool report_fault(const std::optional<XmlFault>& fault, const ReadTarget& target) {
  if (!fault) return true;
  target.report({.kind = ReportKind::xml_not_well_formed,
                 .line = fault->line,
                 .file = target.file,
                 .detail = fault->message,
                 .column = fault->column});
  return false;
}

bool check_well_formed(std::string_view text, const ReadTarget& target) {
  if (catalog::is_valid_utf8(text)) return report_fault(find_xml_fault(text), target);
  return report_fault(find_xml_fault(valid_copy(text)), target);
}

// Converts a file that is not UTF-8; false after reporting an unknown charset.
bool convert(std::string_view bytes, size_t unit, const ReadTarget& target, XliffInput& input) {
  if (convert_marking(bytes, input.charset, unit, input.converted)) {
    input.text = input.converted;
    return true;
  }
  target.report({.kind = ReportKind::unknown_charset,
                 .line = 1,
                 .file = target.file,
                 .detail = input.charset});
  return false;
}

}  // namespace

bool open_xliff_input(std::string_view bytes, const ReadTarget& target, XliffInput& input) {
  size_t bom_size = 0;
  input.charset = detect_utf16(bytes, bom_size);
  if (!input.charset.empty())
    return convert(bytes.substr(bom_size), 2, target, input) &&
           check_well_formed(input.text, target);
  input.charset = declared_encoding(bytes);
  if (input.charset.empty()) input.charset = "UTF-8";
  // A declaration of UTF-16 that reads as single bytes contradicts itself: the parser says so.
  if (is_utf16_name(input.charset) && !report_fault(find_xml_fault(bytes, false), target))
    return false;
  if (!is_utf8_name(input.charset) && !is_utf16_name(input.charset))
    return convert(bytes, 1, target, input) && check_well_formed(input.text, target);
  input.text = bytes;
  return check_well_formed(input.text, target);
}

}  // namespace catintake
