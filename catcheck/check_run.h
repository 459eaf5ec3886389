#pragma once
// The checks of one run: a catalog and the sub-catalogs to be included into it.

#include <string>
#include <string_view>
#include <vector>

#include "catcheck/output.h"

namespace catcheck {

// Checks the catalog `bytes[0]` and the sub-catalogs after it, the catalog read as catintake
// and catexport read it: the key language `key_language`, or when that is empty the first code
// before a ':' (else "en"). Fills the findings (sorted), the statistics and which files are
// Latin-1 into `result`; its `files` name the same files.
void check_files(const std::vector<std::string>& bytes, std::string_view key_language,
                 Result& result);

}  // namespace catcheck
