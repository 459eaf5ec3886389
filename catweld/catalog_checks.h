#pragma once
// What tells a main catalog from files that are none, so that a run refuses them before it
// writes anything: besides the translators' and binary files that catalog/file_kind.h tells,
// a sub-catalog given in its place would lose its hash lines.

#include <optional>
#include <string_view>

#include "catweld/reports.h"

namespace catweld {

// The refusal of a main catalog by its bytes alone (see catalog::text_kind); nullopt for a
// file that may be a catalog.
std::optional<ReportKind> foreign_content(std::string_view bytes);

}  // namespace catweld
