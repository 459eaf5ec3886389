// XLIFF reader on arbitrary bytes (the well-formedness check and the charset conversion
// included), then placed into a new catalog.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catintake/catalog_lines.h"
#include "catintake/catalog_update.h"
#include "catintake/xliff_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace catintake;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ReportSink report = [](const Report& r) { report_text(r); };
  TranslationTable table;
  int line = 0;
  // The input's length picks the options, so that seed files stay plain XLIFF files.
  CatalogEncoding encoding = size % 2 == 0 ? CatalogEncoding::utf8 : CatalogEncoding::latin1;
  ReadTarget target{table, report, line, "fuzz.xlf", encoding, size % 4 >= 2};
  LanguageCode key, language;
  if (!read_xliff_file(bytes, key, LanguageCode("en"), language, target)) return 0;
  CatalogLines lines(key);
  place_messages(table, key, false, lines, report);
  return 0;
}
