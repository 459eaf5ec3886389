#include "catweld/catalog_checks.h"

#include <algorithm>
#include <array>

#include "catalog/line_reader.h"
#include "catalog/numbers.h"
#include "catalog/text_routines.h"

namespace catweld {
namespace {

bool ends_with_ignoring_case(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         catalog::equals_ignoring_case(text.substr(text.size() - suffix.size()), suffix);
}

bool begins_like_po(std::string_view bytes) {
  catalog::LineReader lines(bytes);
  std::string_view line;
  while (lines.next(line)) {
    std::string_view content = catalog::skip_blanks(line);
    if (content.empty() || content.starts_with('#')) continue;
    return content.starts_with("msgid") || content.starts_with("msgctxt");
  }
  return false;
}

}  // namespace

bool is_po_or_xliff_name(std::string_view name) {
  constexpr std::array<std::string_view, 4> kSuffixes = {".po", ".pot", ".xlf", ".xliff"};
  return std::any_of(kSuffixes.begin(), kSuffixes.end(), [name](std::string_view suffix) {
    return ends_with_ignoring_case(name, suffix);
  });
}

std::optional<ReportKind> foreign_content(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
    return ReportKind::utf16_byte_order_mark;
  if (bytes.find('\0') != std::string_view::npos) return ReportKind::nul_byte;
  catalog::skip_utf8_bom(bytes);
  if (catalog::skip_blanks(bytes).starts_with('<')) return ReportKind::begins_like_xml;
  if (begins_like_po(bytes)) return ReportKind::begins_like_po;
  return std::nullopt;
}

bool is_written_hash_line(std::string_view content) {
  if (!content.starts_with('#')) return false;
  std::string_view rest = content.substr(1);
  size_t digits = 0;
  while (digits < rest.size() && catalog::hex_digit_value(rest[digits]) >= 0) ++digits;
  if (digits == 0 || digits > 8) return false;
  return catalog::skip_blanks(rest.substr(digits)).empty();
}

}  // namespace catweld
