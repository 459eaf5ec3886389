#pragma once
// Everything catweld tells its user, as values: the merge produces reports, and one function
// turns them into the exact texts on standard error.

#include <string>
#include <string_view>

namespace catweld {

enum class ReportKind {
  usage,
  unknown_option,         // fatal, before the usage: `file` is an argument beginning with '-'
  option_not_alone,       // fatal, before the usage: `file` is --help or --version with others
  catalog_unreadable,     // fatal: the main catalog cannot be read
  input_unreadable,       // fatal: a sub-catalog cannot be read
  catalog_refused,        // fatal: the catalog is no file that may be rewritten; `detail` why
  syntax_error,           // fatal: a language line before the first key line
  po_or_xliff_name,       // fatal, as no catalog (catalog_checks.h): a PO or XLIFF file's name
  begins_like_po,         // fatal, as no catalog: the first line not '#' is msgid or msgctxt
  begins_like_xml,        // fatal, as no catalog: the first byte not blank is '<'
  nul_byte,               // fatal, as no catalog: a NUL byte
  utf16_byte_order_mark,  // fatal, as no catalog: FF FE or FE FF first
  no_message,             // fatal, as no catalog: lines not blank, but no key line
  hash_line_in_catalog,   // fatal, as no catalog: `line` is a sub-catalog hash line
  output_failed,          // fatal: the rewrite failed; `detail` is the system's error text
  short_language_code,    // warning: a main-catalog line of fewer than 3 characters
  invalid_language_code,  // warning: no ':' or '[' after a main-catalog line's code
  key_not_found,          // warning: a hash line or key line selects no message
  ambiguous_hash_line,    // warning: a hash line's key names several messages; selects none
  ambiguous_key_line,     // warning: of several messages with a key line's key, none has its text
  wrong_language,         // warning: a translation line in a second language
  not_converted,          // warning: a line with characters beyond Latin-1 stays UTF-8
};

struct Report {
  ReportKind kind;
  std::string_view file = {};  // the file name as the command line gives it
  int line = 0;                // counted from 1 in that file
  std::string_view detail = {};
};

// The report's text, with the program's name where the report has it.
std::string report_text(const Report& report);

// The text of the out-of-memory report, which must be printable without allocating.
inline constexpr std::string_view kInsufficientMemory = "catweld - insufficient memory\n";

// The usage text: the report for a wrong command line, and what --help prints.
inline constexpr std::string_view kUsage =
    "catweld - include sub-catalogs into a main catalog\n\nUsage:\tcatweld <catalog> <input1> "
    "[input2 [...]]\n\t<catalog>\tthe filename of the destination file\n\t<input1>\tthe "
    "filename of the first source file\nMore filenames of catalogs may follow\n";

}  // namespace catweld
