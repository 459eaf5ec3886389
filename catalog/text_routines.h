#pragma once
// The small byte routines catalog reading rests on: blanks, key-text escapes, and UTF-8 in
// its original form of up to six bytes (code points up to 0x7FFFFFFF are valid).

#include <cstdint>
#include <string>
#include <string_view>

namespace catalog {

// A blank is any byte from 0x01 to 0x20; bytes of 0x80 and above never are.
inline bool is_blank(char byte) {
  auto value = static_cast<unsigned char>(byte);
  return value >= 0x01 && value <= 0x20;
}

inline char ascii_lower(char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

inline bool is_ascii_alnum(char byte) {
  return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= '0' && byte <= '9');
}

// Whether `a` and `b` are equal when ASCII letters are compared without their case.
bool equals_ignoring_case(std::string_view a, std::string_view b);

// `text` from its first byte that is not a blank on.
std::string_view skip_blanks(std::string_view text);

// The character that a backslash before `escaped` stands for in a key text (\" \$ \' \\ \n \r
// \t), or 0 when the backslash stands for itself.
char escape_value(char escaped);

// Decodes the escapes \" \$ \' \\ \n \r \t of a key text. A backslash before anything else,
// or at the very end, stands for itself. The result is never longer than the source.
std::string unescape_key_text(std::string_view source);

struct Utf8State {
  int16_t expected = 0;   // continuation bytes of the sequence in progress
  int16_t remaining = 0;  // continuation bytes still to come; 0 between characters
  uint32_t value = 0;     // code point being assembled
};

// Feeds one byte to the decoder; false when the byte makes the text invalid. A character is
// complete when the call returns true and `state.remaining` is 0.
bool utf8_decode_step(unsigned char byte, Utf8State& state);

// Whether the whole text is valid UTF-8 (no sequence left incomplete at its end).
bool is_valid_utf8(std::string_view text);

enum class SingleByteConversion {
  converted,      // valid UTF-8 with every character at or below U+00FF: one byte each
  invalid_utf8,   // not valid UTF-8: copied unchanged
  beyond_latin1,  // valid UTF-8, but a character has no single-byte form: copied unchanged
};

// Writes `source` to `destination` with one byte per character (the Latin-1 byte of each code
// point) when it is valid UTF-8 that Latin-1 can hold, and unchanged otherwise. Never makes a
// zero byte out of a character that is not U+0000.
SingleByteConversion utf8_to_single_byte(std::string_view source, std::string& destination);

}  // namespace catalog
