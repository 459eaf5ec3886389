#pragma once
// A sub-catalog of one language out of a catalog: for each message that has lines of that
// language, the line that selects it and those lines as the catalog holds them, so that
// catweld gives the catalog back as its rewrite would without them.

#include "catalog/catalog_messages.h"
#include "catexport/text_output.h"

namespace catexport {

// A message is selected by a hash line with its message key in hexadecimal; when an earlier
// message has the same key, by its key line, which names its text. A message of the same key
// text as an earlier one cannot be selected at all and is left out: returns how many were.
size_t write_sub_catalog(const catalog::CatalogMessages& catalog, std::string_view language,
                         TextOutput& out);

}  // namespace catexport
