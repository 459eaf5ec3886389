#pragma once
// Everything catintake tells its user, as values: the readers, the update and the driver make
// reports, and one function turns each into its exact text. Errors and warnings go to standard
// error, opened by the program's name; progress lines go to standard output.

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace catintake {

enum class ReportKind {
  usage,                     // the usage text
  no_language_code,          // a code that cannot stand for a language, or none
  insufficient_memory,       // with `line` when reading an input
  catalog_memory,            // memory ran out while the catalog was parsed and updated
  file_unreadable,           // an input or the catalog cannot be read; `detail` why
  missing_filename,          // a language prefix with no file name after it
  output_failed,             // the catalog could not be written; `detail` why
  catalog_refused,           // the catalog is no file that may be rewritten; `detail` why
  empty_text,                // warning: an empty msgid or msgstr
  missing_general_form,      // warning: a message without its general form
  msgid_not_found,           // a later PO file's msgid that no message holds
  message_too_long,          // a text longer than the longest a catalog line may hold
  markup_skipped,            // warning: an XLIFF text with inline markup
  no_key_text,               // warning: a message without a text in the key language
  key_language_translation,  // warning: a translation into the key language; `detail` its text
  key_message_added,         // warning: a new key line in an existing catalog; `detail` its text
  // Reports about one place of an input, named "<file>:<line>[:<column>]: ...":
  unknown_keyword,          // a PO line that begins with a word that is no keyword; `detail`
  not_po_line,              // a PO line that is no keyword, string, comment or blank line
  msgid_without_msgstr,     // a msgid after the msgid of `related_line` without a msgstr
  msgstr_index_unexpected,  // `detail` ("msgstr[N]") in an entry without msgid_plural
  context_collapsed,        // warning: the msgid of `related_line` in another context
  unknown_charset,          // `detail` the charset a file declares
  invalid_bytes,            // warning: a text invalid in the charset `detail`; skipped
  not_representable,        // warning: a text the Latin-1 catalog cannot hold; skipped
  xml_not_well_formed,      // `detail` the XML parser's message
  // Refusals of a catalog argument, named "<file>: not rewritten: ...":
  catalog_named_like_input,  // its name ends in .po, .pot, .xlf or .xliff
  catalog_is_po,             // it begins like a PO file
  catalog_is_xml,            // it begins like an XML document
  catalog_is_utf16,          // it begins with a UTF-16 byte-order mark
  unknown_option,            // `detail` the argument
  imported_language,         // progress: `detail` the language, `file` the input
  created_catalog,           // progress: `file` the catalog
  merged_catalog,            // progress: `file` the catalog
};

struct Report {
  ReportKind kind;
  int line = 0;  // 0: the report names no line
  std::string_view file = {};
  std::string_view detail = {};
  int column = 0;        // 0: none
  int related_line = 0;  // another line of the same file that the report names
};

// The report's exact text, line end included.
std::string report_text(const Report& report);
// Writes an out-of-memory report (insufficient_memory or catalog_memory) without allocating.
void write_memory_report(std::ostream& err, const Report& report);
// Whether the report is a progress line, for standard output.
bool is_progress(ReportKind kind);

using ReportSink = std::function<void(const Report&)>;

inline constexpr std::string_view kUsage =
    "catintake - convert \".PO\" or XLIFF files to catalogs for the Tavelle library\n"
    "\n"
    "Usage:\tcatintake [lang0=]<output> <lang1>=<input1> [lang2=input2 [...]]\n"
    "\t<output>   the filename of the destination file\n"
    "\t<input1>   the filename of the first source \".PO\" or XLIFF file\n"
    "\t[lang0]    a two-letter code for the key language (default = \"en\")\n"
    "\t<lang1>    a two-letter code for the first source language\n"
    "\n"
    "More filenames of \".PO\" / XLIFF files may follow. Language codes are often\n"
    "required for \".PO\" files. Language codes are optional for the XLIFF format.\n";

}  // namespace catintake
