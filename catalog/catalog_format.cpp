#include "catalog/catalog_format.h"

#include <algorithm>

#include "catalog/key_hash.h"
#include "catalog/numbers.h"
#include "catalog/text_routines.h"

namespace catalog {

bool is_comment(std::string_view content) {
  return content.starts_with('#') || content.starts_with("//");
}

LanguageLine read_language_line(std::string_view content) {
  LanguageLine line;
  line.code = content.substr(0, code_length(content));
  line.after_code = skip_blanks(content.substr(line.code.size()));
  return line;
}

std::string_view key_text(const LanguageLine& line) {
  std::string_view text = line.after_code.substr(line.has_colon() ? 1 : 0);
  if (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  return text;
}

size_t code_length(std::string_view content) {
  return content.size() >= 3 && content[2] == '-' ? std::min<size_t>(content.size(), 5) : 2;
}

size_t head_length(std::string_view content) {
  size_t colon = content.find(':', std::min(content.size(), code_length(content)));
  if (colon == std::string_view::npos) return 0;
  size_t end = colon + 1;
  return end < content.size() && is_blank(content[end]) ? end + 1 : end;
}

uint32_t symbol_key(std::string_view key_text) {
  size_t end = 0;
  while (end < key_text.size() && static_cast<unsigned char>(key_text[end]) > 0x20) ++end;
  return text_key_hash(key_text.substr(0, end));
}

uint32_t plain_key(std::string_view key_text) {
  if (key_text.find('\\') == std::string_view::npos) return text_key_hash(key_text);
  return text_key_hash(unescape_key_text(key_text));
}

uint32_t numeric_key(std::string_view key_text) {
  NumberRead<int32_t> number = read_long_base0(key_text);
  bool stops_in_text =
      number.stop < key_text.size() && static_cast<unsigned char>(key_text[number.stop]) > 0x20;
  if (stops_in_text) return text_key_hash(key_text);
  return numeric_key_hash(static_cast<uint32_t>(number.value));
}

uint32_t message_key(std::string_view key_text, bool numeric) {
  if (numeric) return numeric_key(key_text);
  if (key_text.starts_with('$')) return symbol_key(key_text);
  return plain_key(key_text);
}

uint32_t hash_line_key(std::string_view after_hash) {
  return read_hex_unsigned(skip_blanks(after_hash)).value;
}

bool is_written_hash_line(std::string_view content) {
  if (!content.starts_with('#')) return false;
  std::string_view rest = content.substr(1);
  size_t digits = 0;
  while (digits < rest.size() && hex_digit_value(rest[digits]) >= 0) ++digits;
  if (digits == 0 || digits > 8) return false;
  return skip_blanks(rest.substr(digits)).empty();
}

}  // namespace catalog
