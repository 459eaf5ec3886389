#pragma once
// Places the texts of a `TranslationTable` into `CatalogLines`: key lines are found or
// appended, each translation language's lines replaced within the message's own lines.

#include "catintake/catalog_lines.h"
#include "catintake/reports.h"
#include "catintake/translation_table.h"

namespace catintake {

// Places every message of `table` into `lines` in table order. `catalog_existed` decides
// whether a key line that is not found draws the "key message" warning.
void place_messages(const TranslationTable& table, LanguageCode key_language, bool catalog_existed,
                    CatalogLines& lines, const ReportSink& report);

}  // namespace catintake
