#pragma once
// Everything catcheck tells its user on standard error, as values, and the one function that
// words them. Findings are its result and go to standard output (output.h).

#include <string>
#include <string_view>

namespace catcheck {

enum class ReportKind {
  usage,            // the usage text
  unknown_option,   // `subject` the argument
  option_value,     // `subject` the option whose value is missing or wrong
  invalid_code,     // `subject` a [key=]<catalog> argument whose code is none
  file_unreadable,  // `subject` the file, `detail` why
  not_a_catalog,    // `subject` the file, `detail` what it is instead
  insufficient_memory,
};

struct Report {
  ReportKind kind;
  std::string_view subject = {};
  std::string_view detail = {};
};

// The report's exact text, line end included.
std::string report_text(const Report& report);

inline constexpr std::string_view kUsage =
    "catcheck - find what is wrong in a Tavelle catalog, and how far each language is "
    "translated\n"
    "\n"
    "Usage:\tcatcheck [options] [key=]<catalog> [<sub-catalog> ...]\n"
    "\t--format text|json   the form of the result (text when not given)\n"
    "\t--languages de,fr    only the findings and figures of these languages\n"
    "\t--no-stats           no figures of the languages\n"
    "\tkey=                 the catalog's key language, when its first line does not tell it\n"
    "Exit status: 0 no errors found, 1 errors found, 2 a wrong command line or a file that\n"
    "cannot be read.\n";

inline constexpr std::string_view kInsufficientMemory = "catcheck - insufficient memory\n";

}  // namespace catcheck
