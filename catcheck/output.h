#pragma once
// The two forms of catcheck's result on standard output: text for people, JSON for programs.

#include <string>
#include <string_view>
#include <vector>

#include "catcheck/findings.h"
#include "catcheck/statistics.h"

namespace catcheck {

struct Result {
  std::vector<std::string> files;  // as the command line names them, the catalog first
  std::vector<bool> latin1;        // the same: whether the tools read the file as Latin-1
  Findings findings;               // sorted
  Statistics statistics;
  bool with_statistics = true;
};

// Each finding as "catcheck - FILE:LINE: SEVERITY: MESSAGE [KIND]", then the table of the
// languages, then the count of errors and warnings.
std::string text_result(const Result& result);

// The JSON object that catcheck.1 describes, with a line end.
std::string json_result(const Result& result);

// `count` with a comma between groups of three digits.
std::string grouped(size_t count);

}  // namespace catcheck
