#pragma once
// Physical lines of a catalog, PO or XLIFF file held in memory.
//
// Text mode is emulated on raw bytes: a line ends at LF, and a CR directly before that LF is
// not part of the line (a lone CR is an ordinary byte). A line is delivered whole however long
// it is, a last line without LF is a line too, and lines are counted from 1.

#include <string_view>

namespace catalog {

class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : rest_(bytes) {}

  // Stores the next line, without its line end, in `line`; false when no line is left.
  bool next(std::string_view& line);
  // Whether the line delivered last ended with a line end (false only for a last line).
  bool had_line_end() const { return had_line_end_; }
  // Number of the line delivered last, 1 for the first.
  int line_number() const { return line_number_; }

 private:
  std::string_view rest_;
  bool had_line_end_ = false;
  int line_number_ = 0;
};

// Removes a UTF-8 byte-order mark (EF BB BF) from the front of `bytes`; true if one was there.
bool skip_utf8_bom(std::string_view& bytes);

// The number of lines LineReader reads in `bytes`, or one more: a bound to reserve for.
size_t count_lines(std::string_view bytes);

}  // namespace catalog
