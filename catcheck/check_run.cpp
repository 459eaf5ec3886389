#include "catcheck/check_run.h"

#include <algorithm>

#include "catalog/catalog_messages.h"
#include "catalog/line_reader.h"
#include "catalog/text_routines.h"
#include "catcheck/catalog_checks.h"
#include "catcheck/key_index.h"
#include "catcheck/sub_catalog_checks.h"

namespace catcheck {
namespace {

constexpr catalog::ReadRules kCatalogRules{
    catalog::ReadRules::KeyLanguage::first_code_before_colon};

bool is_latin1(std::string_view bytes) {
  catalog::skip_utf8_bom(bytes);
  return !catalog::is_valid_utf8(bytes);
}

bool has_non_ascii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(),
                     [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
}

}  // namespace

void check_files(const std::vector<std::string>& bytes, std::string_view key_language,
                 Result& result) {
  Findings& findings = result.findings;
  LineChecks line_checks(findings);
  catalog::CatalogMessages catalog(bytes[0], kCatalogRules, key_language, &line_checks);
  if (!catalog.is_utf8()) check_encoding(bytes[0], findings);
  KeyIndex index(catalog);
  result.statistics = check_messages(catalog, index, findings);
  result.latin1.assign(1, !catalog.is_utf8());
  bool utf8_text = bytes.size() > 1 && catalog.is_utf8() && has_non_ascii(bytes[0]);
  for (size_t file = 1; file < bytes.size(); ++file) {
    result.latin1.push_back(is_latin1(bytes[file]));
    check_sub_catalog(bytes[file], file, catalog, index, utf8_text, findings);
  }
  findings.sort();
}

}  // namespace catcheck
