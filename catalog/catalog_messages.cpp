#include "catalog/catalog_messages.h"

#include "catalog/line_reader.h"
#include "catalog/text_routines.h"

namespace catalog {
namespace {

std::string_view trim_blanks(std::string_view text) {
  text = skip_blanks(text);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

bool is_valid_utf8_catalog(std::string_view bytes) {
  skip_utf8_bom(bytes);
  return is_valid_utf8(bytes);
}

}  // namespace

MessageLine split_language_line(const CatalogLine& line) {
  MessageLine split;
  split.content = line.content;
  split.code = line.head.code;
  split.line = line.number;
  split.text = line.content.substr(head_length(line.content));
  if (line.head.has_plural_index()) {
    std::string_view index = line.head.after_code.substr(1);
    split.plural = trim_blanks(index.substr(0, index.find(']')));
  }
  return split;
}

CatalogMessages::CatalogMessages(std::string_view bytes, ReadRules rules,
                                 std::string_view key_language)
    : utf8_(is_valid_utf8_catalog(bytes)) {
  if (key_language.empty() && rules.key_language == ReadRules::KeyLanguage::first_code_before_colon) {
    key_language = find_key_language(bytes, rules);
    if (key_language.empty()) key_language = "en";
  }
  CatalogReader reader(bytes, rules, key_language);
  CatalogLine line;
  while (reader.next(line)) {
    key_language_ = reader.key_language();
    add_line(line);
  }
}

void CatalogMessages::add_line(const CatalogLine& line) {
  switch (line.kind) {
    case LineKind::comment:
      comments_.push_back(line.content);
      return;
    case LineKind::key:
      messages_.push_back({line.number, line.key_text, std::move(comments_),
                           static_cast<uint32_t>(lines_.size()), 0});
      break;
    case LineKind::translation:
      if (messages_.empty()) break;  // belongs to no message
      lines_.push_back(split_language_line(line));
      ++messages_.back().line_count;
      note_language(line.head.code);
      break;
    default:
      break;
  }
  comments_.clear();
}

void CatalogMessages::note_language(std::string_view code) {
  if (code == key_language_ || (!languages_.empty() && languages_.back() == code)) return;
  for (std::string_view known : languages_)
    if (known == code) return;
  languages_.push_back(code);
}

}  // namespace catalog
