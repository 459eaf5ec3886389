#include "catalog/catalog_reader.h"

#include "catalog/text_routines.h"

namespace catalog {
namespace {

std::string_view without_bom(std::string_view bytes) {
  skip_utf8_bom(bytes);
  return bytes;
}

// The import's rule: a whole usable code before the first ':'.
std::string_view code_before_colon(std::string_view content) {
  if (content.empty() || content[0] == '#') return {};
  size_t colon = content.find(':');
  if (colon == std::string_view::npos) return {};
  std::string_view code = content.substr(0, colon);
  if (!is_usable_code(code)) return {};
  return code.size() == 2 || (code.size() == 5 && code[2] == '-') ? code : std::string_view();
}

bool is_key_line(const CatalogLine& line, std::string_view key_language) {
  return !key_language.empty() && line.head.has_colon() && same_code(line.head.code, key_language);
}

}  // namespace

CatalogReader::CatalogReader(std::string_view bytes, ReadRules rules, std::string_view key_language)
    : lines_(without_bom(bytes)), rules_(rules), key_language_(key_language) {}

bool CatalogReader::next(CatalogLine& line) {
  std::string_view text;
  if (!lines_.next(text)) return false;
  std::string_view content = skip_blanks(text);
  line = classify_line(content, lines_.had_line_end(), key_language_);
  if (key_language_.empty() && line.kind == LineKind::translation &&
      rules_.key_language == ReadRules::KeyLanguage::first_language_line) {
    key_language_ = line.head.code;
    line = classify_line(content, lines_.had_line_end(), key_language_);
  }
  line.number = lines_.line_number();
  return true;
}

CatalogLine classify_line(std::string_view content, bool has_line_end,
                          std::string_view key_language) {
  CatalogLine line;
  line.content = content;
  line.has_line_end = has_line_end;
  if (content.empty()) return line;
  line.kind = LineKind::comment;
  if (is_comment(content)) return line;
  line.kind = LineKind::short_line;
  if (content.size() + (has_line_end ? 1 : 0) < 3) return line;
  line.head = read_language_line(content);
  line.kind = LineKind::no_opener;
  if (!line.head.has_colon() && !line.head.has_plural_index()) return line;
  line.kind = LineKind::translation;
  if (!is_key_line(line, key_language)) return line;
  line.kind = LineKind::key;
  line.key_text = key_text(line.head);
  return line;
}

std::string_view find_key_language(std::string_view bytes, ReadRules rules) {
  CatalogReader reader(bytes, rules);
  CatalogLine line;
  while (reader.next(line)) {
    if (rules.key_language == ReadRules::KeyLanguage::first_code_before_colon) {
      std::string_view code = code_before_colon(line.content);
      if (!code.empty()) return code;
    } else if (!reader.key_language().empty()) {
      return reader.key_language();
    }
  }
  return {};
}

}  // namespace catalog
