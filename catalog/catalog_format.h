#pragma once
// Reading the lines of a catalog: comments, the head of a language line, and the rules that
// turn a key line's text into its 32-bit message key.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace catalog {

// Whether a line's content (its leading blanks already skipped) is a comment: '#' or "//"
// first. In a sub-catalog a '#' line is a hash line instead.
bool is_comment(std::string_view content);

// The head of a language line, read from the line's content (leading blanks skipped, no line
// end): the code (see code_length), then optional blanks and the byte that opens the rest, ':'
// or '['.
struct LanguageLine {
  std::string_view code;
  std::string_view after_code;  // from the first byte after the code's blanks on
  bool has_colon() const { return after_code.starts_with(':'); }
  bool has_plural_index() const { return after_code.starts_with('['); }
};
LanguageLine read_language_line(std::string_view content);

// The text of a key line: what follows its ':', less at most one blank.
std::string_view key_text(const LanguageLine& line);

// The length of a language line's code: five bytes when the third is '-' ("pt-BR"), else two
// (fewer only when the content is shorter).
size_t code_length(std::string_view content);

// The length of a language line's head: its code and everything up to the first ':' after it
// (blanks, a plural index), the ':' and at most one blank after it. The text follows. 0 when no
// ':' follows the code: then the whole line is text.
size_t head_length(std::string_view content);

// The message key of a key text. `numeric` is set when the key language is "00".
//  - numeric: the number read as strtol with base 0 reads it, hashed as a number, unless the
//    byte where reading stops is above 0x20: then the raw text is hashed;
//  - else a text beginning with '$' is a symbol: the bytes up to the first byte <= 0x20;
//  - else the text with its escapes decoded.
uint32_t message_key(std::string_view key_text, bool numeric);
uint32_t symbol_key(std::string_view key_text);
uint32_t plain_key(std::string_view key_text);
uint32_t numeric_key(std::string_view key_text);

// The message key a sub-catalog hash line selects: `after_hash` is what follows the '#'.
// After blanks, a hexadecimal number; without a hexadecimal digit there, the key 0.
uint32_t hash_line_key(std::string_view after_hash);

// Whether a line (leading blanks skipped, no line end) is a hash line the way sub-catalogs
// write them: '#', 1 to 8 hexadecimal digits, then nothing but blanks.
bool is_written_hash_line(std::string_view content);

}  // namespace catalog
