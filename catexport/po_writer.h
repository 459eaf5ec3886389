#pragma once
// PO files and templates out of a catalog: one entry per message, in catalog order, that
// catintake reads back to the same catalog lines.

#include <cstddef>
#include <string>
#include <string_view>

#include "catalog/catalog_messages.h"
#include "catexport/text_output.h"

namespace catexport {

struct PoSettings {
  std::string_view catalog_name;  // for the "#:" references
  std::string_view language;      // empty for a template
  std::string_view date;          // "YYYY-MM-DD HH:MM+0000", or empty for none
};

struct PoCounts {
  size_t plural_lines_left_out = 0;  // lines of indexes other than [1]
  size_t duplicates_left_out = 0;    // messages that are not FirstMessages
};

PoCounts write_po(const catalog::CatalogMessages& catalog, const PoSettings& settings,
                  TextOutput& out);

// A catalog text as the contents of a PO string: a quote is escaped, a backslash that ends the
// text doubled, every other byte and escape kept, which is what catintake reads back.
void append_po_text(std::string_view text, std::string& out);

}  // namespace catexport
