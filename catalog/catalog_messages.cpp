#include "catalog/catalog_messages.h"

#include <algorithm>

#include "catalog/language_code.h"
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

MessageLine::MessageLine(const CatalogLine& line)
    : data_(line.content.data()),
      size_(static_cast<uint32_t>(line.content.size())),
      line_(line.number),
      text_begin_(static_cast<uint32_t>(head_length(line.content))),
      code_size_(static_cast<uint8_t>(line.head.code.size())) {
  if (!line.head.has_plural_index()) return;
  std::string_view index = line.head.after_code.substr(1);
  std::string_view plural = trim_blanks(index.substr(0, index.find(']')));
  plural_begin_ = static_cast<uint32_t>(plural.data() - data_);
  plural_size_ = static_cast<uint32_t>(plural.size());
}

CatalogMessages::CatalogMessages(std::string_view bytes, ReadRules rules,
                                 std::string_view key_language, LineVisitor* visitor)
    : utf8_(is_valid_utf8_catalog(bytes)) {
  if (key_language.empty() &&
      rules.key_language == ReadRules::KeyLanguage::first_code_before_colon) {
    key_language = find_key_language(bytes, rules);
    if (key_language.empty()) key_language = "en";
  }
  // One count of the line ends saves the copies of a growing vector, which cost more.
  lines_.reserve(count_lines(bytes));
  CatalogReader reader(bytes, rules, key_language);
  CatalogLine line;
  while (reader.next(line)) {
    key_language_ = reader.key_language();
    add_line(line);
    if (visitor != nullptr) visitor->visit(line, key_language_);
  }
}

void CatalogMessages::add_line(const CatalogLine& line) {
  switch (line.kind) {
    case LineKind::comment:
      comments_.push_back(line.content);
      ++pending_comments_;
      return;
    case LineKind::key: {
      auto comments = static_cast<uint32_t>(comments_.size());
      messages_.push_back({line.number, line.key_text, comments - pending_comments_,
                           pending_comments_, static_cast<uint32_t>(lines_.size()), 0});
      pending_comments_ = 0;  // the message keeps them
      return;
    }
    case LineKind::translation:
      if (messages_.empty()) break;  // belongs to no message
      lines_.emplace_back(line);
      ++messages_.back().line_count;
      break;
    default:
      break;
  }
  drop_pending_comments();
}

// Comments that stand above no key line are kept by no message.
void CatalogMessages::drop_pending_comments() {
  comments_.resize(comments_.size() - pending_comments_);
  pending_comments_ = 0;
}

std::vector<std::string_view> CatalogMessages::languages() const {
  std::vector<std::string_view> languages;
  for (const MessageLine& line : lines_) {
    std::string_view code = line.code();
    if (same_code(code, key_language_) || (!languages.empty() && same_code(languages.back(), code)))
      continue;
    if (std::find(languages.begin(), languages.end(), code) == languages.end())
      languages.push_back(code);
  }
  return languages;
}

}  // namespace catalog
