#pragma once
// The checks of a main catalog: its lines one by one as the tools read them, then its
// messages (keys, translations, plural forms), counting how far each language is translated.

#include <string_view>

#include "catalog/catalog_messages.h"
#include "catcheck/findings.h"
#include "catcheck/key_index.h"
#include "catcheck/statistics.h"

namespace catcheck {

// The lines of catalog `bytes` (file 0), read as `catalog` was read.
void check_catalog_lines(std::string_view bytes, const catalog::CatalogMessages& catalog,
                         Findings& findings);

// The messages of `catalog` (file 0); returns the statistics of every language.
Statistics check_messages(const catalog::CatalogMessages& catalog, const KeyIndex& index,
                          Findings& findings);

}  // namespace catcheck
