#pragma once
// Everything catexport tells its user, as values, and the one function that words them. All
// reports go to standard error, opened by the program's name.

#include <string>
#include <string_view>

namespace catexport {

enum class ReportKind {
  usage,                  // the usage text
  unknown_option,         // `file` the argument
  option_value,           // `file` the option whose value is missing or unknown
  unknown_output,         // `file` an output argument of no known kind
  template_language,      // `file` a .pot output with a language prefix
  invalid_code,           // `file` an output argument whose code is none
  stdout_not_alone,       // "-" among other outputs
  catalog_unreadable,     // `file` the catalog, `detail` why
  not_a_catalog,          // `file` the catalog, `detail` what it is instead
  output_failed,          // `file` an output, `detail` why
  plural_lines_left_out,  // `file` a PO output, `count` lines of other plural indexes
  duplicates_left_out,    // `file` an output, `count` messages of an earlier msgid
  texts_left_out,         // `file` an XLIFF output, `count` texts that XML cannot hold
  insufficient_memory,
};

struct Report {
  ReportKind kind;
  std::string_view file = {};
  std::string_view detail = {};
  size_t count = 0;
};

// The report's exact text, line end included.
std::string report_text(const Report& report);

inline constexpr std::string_view kUsage =
    "catexport - write PO, POT, XLIFF files and sub-catalogs out of a Tavelle catalog\n"
    "\n"
    "Usage:\tcatexport [--xliff-version 1.2|2.0] [key=]<catalog> <output> [<output> ...]\n"
    "\t<catalog>       the catalog; key= gives its key language\n"
    "\t<lang>=FILE.po  the translations of one language as a PO file\n"
    "\t<lang>=FILE.xlf the same as XLIFF (also .xliff)\n"
    "\t<lang>=FILE.sub the same as a sub-catalog for catweld\n"
    "\tFILE.pot        a template: the key texts with empty translations\n"
    "\tFILE may be - for standard output, as the only output.\n";

inline constexpr std::string_view kInsufficientMemory = "catexport - insufficient memory\n";

}  // namespace catexport
