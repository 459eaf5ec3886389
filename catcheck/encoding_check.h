#pragma once
// A file whose lines are all valid UTF-8 is read as UTF-8, any other as Latin-1: one line that
// is not UTF-8 turns every UTF-8 line of the file into other characters.

#include <string_view>

#include "catcheck/findings.h"

namespace catcheck {

class EncodingCheck {
 public:
  void add_line(std::string_view content, int line);
  // Adds the finding of file `file`, if its lines mix the two.
  void finish(size_t file, Findings& findings) const;

 private:
  int first_utf8_ = 0;     // a line with valid UTF-8 beyond ASCII
  int first_invalid_ = 0;  // a line that is not valid UTF-8
};

}  // namespace catcheck
