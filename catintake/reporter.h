#pragma once
// The one place where catintake's errors and warnings are worded: every report goes to the
// error stream of the run, opened by the program's name.

#include <ostream>
#include <string_view>

namespace catintake {

class Reporter {
 public:
  explicit Reporter(std::ostream& err) : err_(err) {}

  // Writes "catintake - <message>\n".
  void report(std::string_view message);
  // Writes "catintake - <message>, line <line>\n".
  void report_at(std::string_view message, int line);

 private:
  std::ostream& err_;
};

}  // namespace catintake
