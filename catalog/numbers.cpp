#include "catalog/numbers.h"

#include <algorithm>
#include <limits>

namespace catalog {
namespace {

bool is_digit_in(std::string_view text, size_t at, int base) {
  if (at >= text.size()) return false;
  int value = hex_digit_value(text[at]);
  return value >= 0 && value < base;
}

bool has_hex_prefix(std::string_view text, size_t at) {
  return at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
         is_digit_in(text, at + 2, 16);
}

size_t skip_c_space(std::string_view text, size_t at) {
  while (at < text.size() && is_c_space(text[at])) ++at;
  return at;
}

// Reads the digits at `at` in `base`; the magnitude saturates just above `limit`.
NumberRead<uint64_t> read_digits(std::string_view text, size_t at, int base, uint64_t limit) {
  NumberRead<uint64_t> read;
  for (; is_digit_in(text, at, base); ++at) {
    read.value =
        read.value * static_cast<unsigned>(base) + static_cast<unsigned>(hex_digit_value(text[at]));
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

int base0_of(std::string_view text, size_t& at) {
  if (has_hex_prefix(text, at)) {
    at += 2;
    return 16;
  }
  return at < text.size() && text[at] == '0' ? 8 : 10;
}

size_t skip_sign(std::string_view text, size_t at) {
  return at < text.size() && (text[at] == '-' || text[at] == '+') ? at + 1 : at;
}

}  // namespace

NumberRead<int32_t> read_long_base0(std::string_view text) {
  size_t at = skip_c_space(text, 0);
  bool negative = at < text.size() && text[at] == '-';
  at = skip_sign(text, at);
  int base = base0_of(text, at);
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

size_t hex_number_end(std::string_view text) {
  size_t at = skip_sign(text, skip_c_space(text, 0));
  if (text.substr(at, 2) == "0x" || text.substr(at, 2) == "0X") {
    if (!is_digit_in(text, at + 2, 16)) return at + 1;  // the "0" alone
    at += 2;
  }
  size_t digits = at;
  while (is_digit_in(text, at, 16)) ++at;
  return at == digits ? 0 : at;
}

int32_t read_decimal(std::string_view& text) {
  size_t at = skip_c_space(text, 0);
  bool negative = at < text.size() && text[at] == '-';
  at = skip_sign(text, at);
  int64_t value = 0;
  constexpr int64_t kLimit = 1000000000;
  for (; is_digit_in(text, at, 10); ++at) value = std::min(value * 10 + (text[at] - '0'), kLimit);
  text.remove_prefix(at);
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace catalog
