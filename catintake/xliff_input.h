#pragma once
// An XLIFF file's bytes as the text the reader scans: UTF-8 whatever the file's encoding, and
// judged well-formed by the XML parser first.

#include <string>
#include <string_view>

#include "catintake/translation_table.h"

namespace catintake {

struct XliffInput {
  // The file as UTF-8. A stretch of bytes that is invalid in the file's encoding stays invalid
  // UTF-8 here (the byte 0xFF when it was converted), so that the text holding it is reported.
  std::string_view text;
  std::string charset;    // what the bytes were read as ("UTF-8", "UTF-16LE", the declared one)
  std::string converted;  // holds `text` when the file had to be converted
};

// Reads the encoding that the byte-order mark, the first bytes (UTF-16) or the XML declaration
// name (UTF-8 when none does), converts the file to UTF-8 and checks that it is well-formed.
// False after a report that ends the run: an unknown charset, or the parser's first fault.
// `input` must not be moved afterwards (its text may point into it).
bool open_xliff_input(std::string_view bytes, const ReadTarget& target, XliffInput& input);

}  // namespace catintake
