// The catalog update over an arbitrary existing catalog. The input is a catalog, a line
// "=====", and a PO file. After the update, the key-line index must still give the first
// key line with the same key text, as a scan from the head would, by the same rules
// that decide what a key line is.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_map>

#include "catalog/catalog_reader.h"
#include "catalog/text_routines.h"
#include "catintake/catalog_lines.h"
#include "catintake/catalog_update.h"
#include "catintake/po_reader.h"

namespace {

void check_index(const catintake::CatalogLines& lines, catintake::LanguageCode key) {
  using catintake::CatalogLines;
  struct Seen {
    std::string raw;
    CatalogLines::Node node;
  };
  std::unordered_map<std::string, Seen> first;
  for (auto node = lines.next(CatalogLines::kHead); node != CatalogLines::kNone;
       node = lines.next(node)) {
    if (!lines.is_key_line(node)) continue;
    std::string_view raw = catalog::classify_line(lines.text(node), true, key.view()).key_text;
    first.try_emplace(catalog::unescape_key_text(raw), Seen{std::string(raw), node});
  }
  for (const auto& [text, seen] : first)
    if (lines.find_key_line(seen.raw) != seen.node) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace catintake;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  size_t split = bytes.find("\n=====\n");
  std::string_view catalog = bytes.substr(0, split);
  std::string_view po = split == std::string_view::npos ? "" : bytes.substr(split + 7);
  ReportSink report = [](const Report& r) { report_text(r); };
  TranslationTable table;
  int line = 0;
  ReadTarget target{table, report, line};
  LanguageCode key("en"), language("nl");
  if (!read_po_file(po, true, key, language, target)) return 0;
  CatalogLines lines(key);
  lines.load(catalog);
  place_messages(table, key, true, lines, report);
  check_index(lines, key);
  return 0;
}
