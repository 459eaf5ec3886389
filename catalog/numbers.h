#pragma once
// Numbers read from text as the C library's readers read them in the "C" locale, on bytes:
// strtol with base 0, strtoul with base 16, and atoi's decimal form.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace catalog {

// White space as the C readers skip it: space and \t \n \v \f \r (not the catalog's blanks).
inline bool is_c_space(char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// The value of a hexadecimal digit, or -1 for any other byte.
inline int hex_digit_value(char byte) {
  if (byte >= '0' && byte <= '9') return byte - '0';
  if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
  if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
  return -1;
}

// The outcome of reading a number from the front of a text.
template <typename Value>
struct NumberRead {
  Value value = 0;
  size_t stop = 0;  // index of the first byte not read; 0 when no number was found
};

// Reads like strtol with base 0 and a 32-bit long: white space, a sign, then decimal, "0x"
// hexadecimal or '0' octal digits. Values out of range clamp to INT32_MAX or INT32_MIN.
NumberRead<int32_t> read_long_base0(std::string_view text);

// Reads like strtoul with base 16 and a 32-bit unsigned long, from a text that begins with a
// hexadecimal digit: an optional "0x" prefix, then hexadecimal digits. Values out of range
// clamp to 0xFFFFFFFF.
NumberRead<uint32_t> read_hex_unsigned(std::string_view text);

// Where strtoul with base 16 stops reading `text` (white space, a sign, "0x", digits); 0 when
// the text holds no number.
size_t hex_number_end(std::string_view text);

// The decimal number at the start of `text` as atoi reads it (white space, a sign, digits),
// its magnitude clamped to 10^9; `text` is left after it.
int32_t read_decimal(std::string_view& text);

}  // namespace catalog
