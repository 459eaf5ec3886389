#include "catalog/catalog_format.h"

#include <algorithm>
#include <limits>

#include "catalog/key_hash.h"
#include "catalog/text_routines.h"

namespace catalog {
namespace {

// White space as strtol skips it in the "C" locale (not the same set as the catalog blanks).
bool is_c_space(char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// Value of a digit in bases up to 16, or 16 when the byte is no digit.
unsigned digit_value(char byte) {
  if (byte >= '0' && byte <= '9') return static_cast<unsigned>(byte - '0');
  if (byte >= 'a' && byte <= 'f') return static_cast<unsigned>(byte - 'a' + 10);
  if (byte >= 'A' && byte <= 'F') return static_cast<unsigned>(byte - 'A' + 10);
  return 16;
}

bool is_digit_in(std::string_view text, size_t at, unsigned base) {
  return at < text.size() && digit_value(text[at]) < base;
}

bool has_hex_prefix(std::string_view text, size_t at) {
  return at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
         is_digit_in(text, at + 2, 16);
}

// Reads the digits at `at` in `base`; the magnitude saturates just above `limit`.
NumberRead<uint64_t> read_digits(std::string_view text, size_t at, unsigned base, uint64_t limit) {
  NumberRead<uint64_t> read;
  for (; is_digit_in(text, at, base); ++at) {
    read.value = read.value * base + digit_value(text[at]);
    if (read.value > limit) read.value = limit + 1;
  }
  read.stop = at;
  return read;
}

int32_t clamped(uint64_t magnitude, bool negative) {
  constexpr uint64_t kMax = std::numeric_limits<int32_t>::max();
  if (negative)
    return magnitude > kMax ? std::numeric_limits<int32_t>::min()
                            : static_cast<int32_t>(-static_cast<int64_t>(magnitude));
  return magnitude > kMax ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(magnitude);
}

unsigned base0_of(std::string_view text, size_t& at) {
  if (has_hex_prefix(text, at)) {
    at += 2;
    return 16;
  }
  return at < text.size() && text[at] == '0' ? 8 : 10;
}

}  // namespace

bool is_comment(std::string_view content) {
  return content.starts_with('#') || content.starts_with("//");
}

LanguageLine read_language_line(std::string_view content) {
  LanguageLine line;
  line.code = content.substr(0, 2);
  line.after_code = skip_blanks(content.substr(line.code.size()));
  return line;
}

std::string_view key_text(const LanguageLine& line) {
  std::string_view text = line.after_code.substr(line.has_colon() ? 1 : 0);
  if (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  return text;
}

size_t head_length(std::string_view content) {
  size_t colon = content.find(':', std::min<size_t>(content.size(), 2));
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

NumberRead<int32_t> read_long_base0(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && is_c_space(text[at])) ++at;
  bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  unsigned base = base0_of(text, at);
  if (!is_digit_in(text, at, base)) return {};
  NumberRead<uint64_t> digits = read_digits(text, at, base, uint64_t{1} << 31);
  return {clamped(digits.value, negative), digits.stop};
}

NumberRead<uint32_t> read_hex_unsigned(std::string_view text) {
  constexpr uint64_t kMax = std::numeric_limits<uint32_t>::max();
  size_t at = has_hex_prefix(text, 0) ? 2 : 0;
  if (!is_digit_in(text, at, 16)) return {};
  NumberRead<uint64_t> digits = read_digits(text, at, 16, kMax);
  return {static_cast<uint32_t>(digits.value > kMax ? kMax : digits.value), digits.stop};
}

uint32_t hash_line_key(std::string_view after_hash) {
  return read_hex_unsigned(skip_blanks(after_hash)).value;
}

}  // namespace catalog
