#pragma once
// The checks of a sub-catalog against the main catalog it will be included into: which
// message each key line and hash line selects, as catweld selects it, and the checks of each
// translation against the key text of the message it lands in.

#include <string_view>

#include "catalog/catalog_messages.h"
#include "catcheck/findings.h"
#include "catcheck/key_index.h"

namespace catcheck {

// Checks sub-catalog `bytes`, file number `file`, against `catalog`.
// `catalog_has_utf8_text`: the catalog is UTF-8 with characters beyond ASCII, which one line of
// the sub-catalog that is not UTF-8 would turn into other characters.
void check_sub_catalog(std::string_view bytes, size_t file, const catalog::CatalogMessages& catalog,
                       const KeyIndex& index, bool catalog_has_utf8_text, Findings& findings);

}  // namespace catcheck
