#pragma once
// The outputs a command line asks for: LANG=FILE.po, LANG=FILE.xlf / .xliff, LANG=FILE.sub and
// FILE.pot, with "-" as FILE for standard output.

#include <optional>
#include <string>
#include <string_view>

#include "catalog/language_code.h"
#include "catexport/reports.h"

namespace catexport {

enum class Format { po, pot, xliff, sub };

struct RequestedOutput {
  Format format = Format::po;
  catalog::LanguageCode language;  // empty for a template
  std::string path;                // "-" for standard output
  bool to_stdout() const { return path == "-"; }
};

// Reads one output argument into `request`; the kind of report that refuses it otherwise. A
// language prefix stands before an '=' at the third or sixth byte; "-" alone is the template on
// standard output, LANG=- the language's PO file there.
std::optional<ReportKind> parse_output(std::string_view argument, RequestedOutput& request);

}  // namespace catexport
