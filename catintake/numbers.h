#pragma once
// Number reading as the C library's atoi and strtoul do it, on bytes and without the locale.

#include <cstdint>
#include <string_view>

namespace catintake {

inline bool is_c_space(char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

inline int hex_digit(char byte) {
  if (byte >= '0' && byte <= '9') return byte - '0';
  if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
  if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
  return -1;
}

// The decimal number at the start of `text` (spaces, sign, digits), clamped to +-10^9; `text`
// is left after it.
inline int32_t read_decimal(std::string_view& text) {
  size_t at = 0;
  while (at < text.size() && is_c_space(text[at])) ++at;
  bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  int64_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    if (value < 1000000000) value = value * 10 + (text[at] - '0');
  text.remove_prefix(at);
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace catintake
