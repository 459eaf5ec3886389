#pragma once
// Logical lines of the template and of its included files, the include stack they are read
// from, comment removal, and the byte tests the whole preprocessor shares.
//
// Sources are bytes in memory, read as text: control bytes other than tab and line feed are
// dropped (so a carriage return never reaches a line), and 0x1A ends a file. A backslash before
// a line feed joins two physical lines. A logical line holds at most kMaxLine bytes and its NUL.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "catprep/diagnostics.h"
#include "catprep/source_files.h"

namespace catprep {

inline constexpr size_t kLineSize = 1024;
inline constexpr size_t kMaxLine = kLineSize - 1;
inline constexpr int kMaxIncludeDepth = 7;  // deepest level of an included file

namespace detail {
constexpr std::array<bool, 256> identifier_table() {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '@';
  for (int c : {0xC4, 0xD6, 0xDC, 0xDF, 0xE4, 0xF6, 0xFC}) table[c] = true;
  return table;
}
inline constexpr std::array<bool, 256> kIdentifier = identifier_table();
}  // namespace detail

// Identifier bytes: ASCII letters and digits, '_', '@' and the Latin-1 letters
// Ä Ö Ü ß ä ö ü. Every other byte, NUL included, is a delimiter.
constexpr bool is_identifier(unsigned char c) {
  return detail::kIdentifier[c];
}
constexpr bool is_delimiter(unsigned char c) {
  return !is_identifier(c);
}
inline bool is_space_or_tab(char c) {
  return c == ' ' || c == '\t';
}
// The first index at or after `at` whose byte is neither a space nor a tab.
inline size_t skip_white(const char* text, size_t at) {
  while (is_space_or_tab(text[at])) ++at;
  return at;
}
// End of the run of identifier bytes that starts at `at`.
inline size_t skip_identifier(const char* text, size_t at) {
  while (is_identifier(static_cast<unsigned char>(text[at]))) ++at;
  return at;
}

// Blanks out block comments (byte for byte, so the line keeps its length; `in_comment` carries
// an open one to the next line) and cuts the line at a line comment. Quoted runs protect both.
void remove_comments(char* line, bool& in_comment);

// The include stack and the reading position in it.
class SourceReader final : public Location {
 public:
  SourceReader(SourceFiles& files, Diagnostics& diagnostics);

  void set_input_name(std::string name) { levels_[0].name = std::move(name); }
  // Reads the input; `identity` is that of the file read, if the source has one.
  cattools::IoStatus open_input(SourceFiles::Identity& identity);
  cattools::IoStatus read_include(const std::string& name, std::string& bytes,
                                  SourceFiles::Identity& identity) {
    return files_.read_include(name, bytes, identity);
  }
  // Makes `bytes` the file read from the next line on, one level deeper, numbered from 1.
  void push_include(const std::string& name, std::string bytes);

  // Fills `buffer` (kLineSize bytes) with the next logical line, or returns false when all
  // input has been read. The end of an included file yields one empty line.
  bool read_line(char* buffer);
  bool& in_comment() { return in_comment_; }

  int include_depth() const override { return depth_; }
  const std::string& file_name(int level) const override { return levels_[level].name; }
  int include_line(int level) const override { return levels_[level].include_line; }
  int line_no() const override { return line_no_; }

 private:
  static constexpr int kNoByte = -1;
  struct Level {
    std::string name;
    std::string bytes;
    size_t pos = 0;
    int include_line = 0;
    int carried = kNoByte;  // a byte read after a too-long line, first of the next line
  };
  bool end_of_file(char* buffer, size_t stored, bool pending_backslash);

  SourceFiles& files_;
  Diagnostics& diagnostics_;
  std::vector<Level> levels_;
  int depth_ = 0;
  int line_no_ = 0;
  bool in_comment_ = false;
};

}  // namespace catprep
