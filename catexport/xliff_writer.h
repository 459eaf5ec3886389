#pragma once
// XLIFF 1.2 and 2.0 files out of a catalog, for translation tools: texts as plain text, written
// so that catintake reads back the catalog's texts.

#include <cstddef>
#include <string>
#include <string_view>

#include "catalog/catalog_messages.h"
#include "catexport/text_output.h"

namespace catexport {

struct XliffSettings {
  std::string_view catalog_name;  // the file's "original"
  std::string_view language;      // the target language
  std::string_view version;       // "1.2" or "2.0"
};

struct XliffCounts {
  size_t texts_left_out = 0;         // that XML cannot hold (control characters)
  size_t plural_lines_left_out = 0;  // lines of indexes other than [1]
  size_t duplicates_left_out = 0;    // messages that are not FirstMessages
};

XliffCounts write_xliff(const catalog::CatalogMessages& catalog, const XliffSettings& settings,
                        TextOutput& out);

// A catalog text as XML character data: escapes decoded to the characters they stand for, the
// markup characters escaped, line breaks, tabs, carriage returns and the blanks at the start
// as character references (the reader would drop or turn them); a leading "\$" stays, as the
// reader keeps it for a literal dollar. False, with `out` unchanged, for a text that holds a
// control character that XML 1.0 cannot hold.
bool append_xml_text(std::string_view text, std::string& out);

// An attribute value with the markup characters and quotes escaped.
void append_xml_attribute(std::string_view value, std::string& out);

}  // namespace catexport
