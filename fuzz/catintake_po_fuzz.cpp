// PO reader on arbitrary bytes: read as the first input, then again as a later input (which
// looks every msgid up), then placed into a new catalog. The first byte chooses the catalog's
// encoding and whether fuzzy entries are skipped.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catintake/catalog_lines.h"
#include "catintake/catalog_update.h"
#include "catintake/po_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace catintake;
  if (size == 0) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  ReportSink report = [](const Report& r) { report_text(r); };
  TranslationTable table;
  int line = 0;
  CatalogEncoding encoding = (data[0] & 1) != 0 ? CatalogEncoding::latin1 : CatalogEncoding::utf8;
  ReadTarget target{table, report, line, "fuzz.po", encoding, (data[0] & 2) != 0};
  LanguageCode key("en"), first, second("fr");
  if (!read_po_file(bytes, true, key, first, target)) return 0;
  read_po_file(bytes, false, key, second, target);
  CatalogLines lines(key);
  place_messages(table, key, false, lines, report);
  return 0;
}
