#include "catweld/merge.h"

#include <algorithm>
#include <optional>

#include "catalog/catalog_reader.h"
#include "catalog/line_reader.h"
#include "catalog/text_routines.h"
#include "catweld/catalog_checks.h"

namespace catweld {
namespace {

using catalog::LanguageLine;

// The escape a byte is stored as in a translation line, or 0 when it stays as it is.
char escape_letter(char byte) {
  switch (byte) {
    case '\r':
      return 'r';
    case '\n':
      return 'n';
    case '\t':
      return 't';
    default:
      return 0;
  }
}

bool needs_escapes(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char byte) { return escape_letter(byte) != 0; });
}

// `head` as it is, then `text` with its raw line ends and tabs as escapes.
std::string escaped(std::string_view head, std::string_view text) {
  std::string result(head);
  result.reserve(head.size() + text.size() + 16);
  for (char byte : text) {
    char letter = escape_letter(byte);
    if (letter != 0) result.push_back('\\');
    result.push_back(letter != 0 ? letter : byte);
  }
  return result;
}

// How the main catalog is read: the key language comes from its first language line.
constexpr catalog::ReadRules kMainCatalogRules{
    catalog::ReadRules::KeyLanguage::first_language_line};

}  // namespace

std::string_view Merge::keep_bytes(std::string bytes) {
  inputs_.push_back(std::move(bytes));
  return inputs_.back();
}

bool Merge::read_main(std::string_view name, std::string bytes) {
  std::string_view text = keep_bytes(std::move(bytes));
  if (std::optional<ReportKind> refusal = foreign_content(text)) {
    sink_({*refusal, name});
    return false;
  }
  // The catalog is UTF-8 when each line is, from its first non-blank on. No sequence can
  // span the ASCII line ends and blanks, so that is the whole text being valid UTF-8.
  std::string_view body = text;
  catalog::skip_utf8_bom(body);
  utf8_ = catalog::is_valid_utf8(body);
  store_.reserve_lines(catalog::count_lines(text));
  return read_main_lines(name, text);
}

bool Merge::read_main_lines(std::string_view name, std::string_view text) {
  catalog::CatalogReader reader(text, kMainCatalogRules);
  catalog::CatalogLine line;
  bool only_blank_lines = true;
  while (reader.next(line)) {
    if (key_language_.empty() && !reader.key_language().empty())
      set_key_language(reader.key_language());
    only_blank_lines = only_blank_lines && line.kind == catalog::LineKind::blank;
    if (!read_main_line(line, {name, line.number})) return false;
  }
  if (only_blank_lines || store_.message_count() > 0) return true;
  sink_({ReportKind::no_message, name});
  return false;
}

bool Merge::read_main_line(const catalog::CatalogLine& line, const Position& at) {
  switch (line.kind) {
    case catalog::LineKind::blank:
      return true;
    case catalog::LineKind::comment:
      if (!catalog::is_written_hash_line(line.content)) return true;
      sink_({ReportKind::hash_line_in_catalog, at.file, at.line});
      return false;
    case catalog::LineKind::short_line:
      warn(ReportKind::short_language_code, at);
      return true;
    case catalog::LineKind::no_opener:
      warn(ReportKind::invalid_language_code, at);
      return true;
    case catalog::LineKind::key:
      store_.add_message(key_of(line.key_text), line.content);
      break;
    case catalog::LineKind::translation:
      if (store_.message_count() == 0) {
        sink_({ReportKind::syntax_error});
        return false;
      }
      store_.add_line(line.content);
      break;
  }
  if (!line.has_line_end) store_.mark_last_line_unended();
  return true;
}

void Merge::set_key_language(std::string_view code) {
  key_language_ = code;
  numeric_keys_ = code == "00";
}

bool Merge::is_key_line(const LanguageLine& line) const {
  return line.has_colon() && line.code == key_language_;
}

uint32_t Merge::key_of(std::string_view key_text) const {
  return catalog::message_key(key_text, numeric_keys_);
}

void Merge::include_sub(std::string_view name, std::string bytes) {
  std::string_view text = keep_bytes(std::move(bytes));
  catalog::skip_utf8_bom(text);
  catalog::LineReader reader(text);
  uint32_t current = MessageStore::kNone;
  std::string_view line;
  while (reader.next(line)) {
    std::string_view content = catalog::skip_blanks(line);
    if (content.empty()) continue;
    Position at{name, reader.line_number()};
    read_sub_line(convert_line(content, at), current, at);
  }
}

std::string_view Merge::convert_line(std::string_view content, const Position& at) {
  if (utf8_) return content;
  auto conversion = catalog::utf8_to_single_byte(content, work_);
  if (conversion == catalog::SingleByteConversion::beyond_latin1)
    warn(ReportKind::not_converted, at);
  if (conversion != catalog::SingleByteConversion::converted) return content;
  return work_;
}

void Merge::read_sub_line(std::string_view content, uint32_t& current, const Position& at) {
  if (content.starts_with('#')) {
    current = select_by_hash(catalog::hash_line_key(content.substr(1)), at);
    return;
  }
  LanguageLine line = catalog::read_language_line(content);
  if (is_key_line(line)) {
    std::string_view text = catalog::key_text(line);
    current = select_by_text(key_of(text), text, at);
    return;
  }
  if (!in_translation_language(line.code, at)) current = MessageStore::kNone;
  if (current == MessageStore::kNone) return;
  store_.put_translation(current, stored_translation(content));
}

uint32_t Merge::select(uint32_t key, const Position& at) const {
  uint32_t message = store_.find_message(key);
  if (message == MessageStore::kNone) warn(ReportKind::key_not_found, at);
  return message;
}

// A hash line cannot tell apart the messages of a key that several texts share.
uint32_t Merge::select_by_hash(uint32_t key, const Position& at) const {
  uint32_t message = select(key, at);
  if (message == MessageStore::kNone || store_.next_with_same_key(message) == MessageStore::kNone)
    return message;
  warn(ReportKind::ambiguous_hash_line, at);
  return MessageStore::kNone;
}

// Of several messages with the key, the one of the same key text: the same bytes first, else
// the same text once escapes are decoded. A key of one message selects it, whatever its text.
uint32_t Merge::select_by_text(uint32_t key, std::string_view text, const Position& at) const {
  uint32_t first = select(key, at);
  if (first == MessageStore::kNone || store_.next_with_same_key(first) == MessageStore::kNone)
    return first;
  uint32_t same = find_same_key_text(first, [&](std::string_view main) { return main == text; });
  if (same != MessageStore::kNone) return same;
  std::string decoded = catalog::unescape_key_text(text);
  same = find_same_key_text(
      first, [&](std::string_view main) { return catalog::unescape_key_text(main) == decoded; });
  if (same == MessageStore::kNone) warn(ReportKind::ambiguous_key_line, at);
  return same;
}

template <typename Same>
uint32_t Merge::find_same_key_text(uint32_t first, Same&& same) const {
  for (uint32_t at = first; at != MessageStore::kNone; at = store_.next_with_same_key(at)) {
    if (same(catalog::key_text(catalog::read_language_line(store_.key_line(at))))) return at;
  }
  return MessageStore::kNone;
}

bool Merge::in_translation_language(std::string_view code, const Position& at) {
  if (translation_language_.empty()) translation_language_ = code;
  if (code == translation_language_) return true;
  warn(ReportKind::wrong_language, at);
  return false;
}

// The form a translation line is stored in: raw line ends and tabs of its text become
// escapes. The blanks of its head only separate its parts and stay, so that the line reads
// back with the same code and plural index. Lines that need no change stay views of their
// sub-catalog's bytes.
std::string_view Merge::stored_translation(std::string_view content) {
  bool converted = content.data() == work_.data();
  size_t head = catalog::head_length(content);
  std::string_view text = content.substr(head);
  if (needs_escapes(text)) return store_.keep(escaped(content.substr(0, head), text));
  return converted ? store_.keep(std::string(content)) : content;
}

}  // namespace catweld
