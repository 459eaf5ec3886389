// The exports of an arbitrary catalog: its bytes read into messages, written out for the key
// language's first translation language as PO, template, XLIFF 1.2 and 2.0 and sub-catalog.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/catalog_messages.h"
#include "catexport/po_writer.h"
#include "catexport/sub_writer.h"
#include "catexport/xliff_writer.h"

namespace {

class Discard final : public catexport::TextOutput {
 public:
  void write(std::string_view bytes) override { size += bytes.size(); }
  size_t size = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  catalog::CatalogMessages catalog(
      bytes, catalog::ReadRules{catalog::ReadRules::KeyLanguage::first_code_before_colon});
  std::string_view language = catalog.languages().empty() ? "de" : catalog.languages().front();
  Discard out;
  catexport::write_po(catalog, {"fuzz.cat", language, ""}, out);
  catexport::write_po(catalog, {"fuzz.cat", "", ""}, out);
  catexport::write_xliff(catalog, {"fuzz.cat", language, "1.2"}, out);
  catexport::write_xliff(catalog, {"fuzz.cat", language, "2.0"}, out);
  catexport::write_sub_catalog(catalog, language, out);
  return 0;
}
