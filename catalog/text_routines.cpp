#include "catalog/text_routines.h"

#include <cstring>

namespace catalog {
namespace {

// Continuation bytes of a lead byte, indexed by its bits 2 to 5.
constexpr int16_t kContinuationCount[16] = {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 4, 5};
// Smallest code point that needs a given number of continuation bytes.
constexpr uint32_t kSmallestCodePoint[6] = {0, 0x80, 0x800, 0x10000, 0x200000, 0x4000000};

bool completes_valid_character(const Utf8State& state) {
  uint32_t value = state.value;
  if (value < kSmallestCodePoint[state.expected]) return false;  // overlong form
  if (value >= 0xD800 && value <= 0xDFFF) return false;          // surrogate
  return value != 0xFFFE && value != 0xFFFF;
}

// Calls `emit(code_point)` for each character; false (after emitting a prefix) when invalid.
template <typename Emit>
bool decode_utf8(std::string_view text, Emit emit) {
  Utf8State state;
  for (char byte : text) {
    if (!utf8_decode_step(static_cast<unsigned char>(byte), state)) return false;
    if (state.remaining == 0) emit(state.value);
  }
  return state.remaining == 0;
}

// Whether the eight bytes at `bytes` are all below 0x80.
bool is_ascii_word(const char* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return (word & 0x8080808080808080u) == 0;
}

}  // namespace

char escape_value(char escaped) {
  switch (escaped) {
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case '"':
    case '$':
    case '\'':
    case '\\':
      return escaped;
    default:
      return 0;
  }
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

std::string_view skip_blanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && is_blank(text[i])) ++i;
  return text.substr(i);
}

std::string unescape_key_text(std::string_view source) {
  if (source.find('\\') == std::string_view::npos) return std::string(source);
  std::string result;
  result.reserve(source.size());
  for (size_t i = 0; i < source.size(); ++i) {
    char decoded = source[i] == '\\' && i + 1 < source.size() ? escape_value(source[i + 1]) : '\0';
    if (decoded != 0) ++i;
    result.push_back(decoded != 0 ? decoded : source[i]);
  }
  return result;
}

bool utf8_decode_step(unsigned char byte, Utf8State& state) {
  if (byte < 0x80) {
    if (state.remaining > 0) return false;
    state.value = byte;
    return true;
  }
  if (byte <= 0xBF) {
    if (state.remaining == 0) return false;
    state.value = state.value << 6 | (byte & 0x3Fu);
    return --state.remaining > 0 || completes_valid_character(state);
  }
  if (byte <= 0xFD) {
    if (state.remaining > 0) return false;
    state.expected = state.remaining = kContinuationCount[(byte >> 2) & 0x0F];
    state.value = byte & (0x1Fu >> (state.expected - 1));
    return true;
  }
  return false;
}

namespace {

// The character that starts at `at`: its length, or 0 when it is invalid. The same rules as
// utf8_decode_step, a whole sequence at a time.
size_t valid_sequence_length(std::string_view text, size_t at) {
  auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return 1;
  if (lead < 0xC0 || lead > 0xFD) return 0;
  int continuations = kContinuationCount[(lead >> 2) & 0x0F];
  if (text.size() - at <= static_cast<size_t>(continuations)) return 0;  // cut short
  uint32_t value = lead & (0x1Fu >> (continuations - 1));
  for (int k = 1; k <= continuations; ++k) {
    auto byte = static_cast<unsigned char>(text[at + static_cast<size_t>(k)]);
    if ((byte & 0xC0) != 0x80) return 0;
    value = value << 6 | (byte & 0x3Fu);
  }
  Utf8State state;
  state.expected = static_cast<int16_t>(continuations);
  state.value = value;
  return completes_valid_character(state) ? static_cast<size_t>(continuations) + 1 : 0;
}

}  // namespace

bool is_valid_utf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    if (i + 8 <= text.size() && is_ascii_word(text.data() + i)) {
      i += 8;  // ASCII between characters is valid
      continue;
    }
    size_t length = valid_sequence_length(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

SingleByteConversion utf8_to_single_byte(std::string_view source, std::string& destination) {
  std::string converted;
  converted.reserve(source.size());
  bool fits = true;
  bool valid = decode_utf8(source, [&](uint32_t code_point) {
    fits = fits && code_point <= 0xFF;
    converted.push_back(static_cast<char>(code_point));
  });
  if (valid && fits) {
    destination = std::move(converted);
    return SingleByteConversion::converted;
  }
  destination.assign(source);
  return valid ? SingleByteConversion::beyond_latin1 : SingleByteConversion::invalid_utf8;
}

}  // namespace catalog
