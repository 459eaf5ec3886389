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
void check_sub_catalog(std::string_view bytes, size_t file, const catalog::CatalogMessages& catalog,
                       const KeyIndex& index, Findings& findings);

}  // namespace catcheck
