#pragma once
// The checks of a main catalog: its lines one by one as the tools read them, then its
// messages (keys, translations, plural forms), counting how far each language is translated.

#include <string>
#include <string_view>

#include "catalog/catalog_messages.h"
#include "catcheck/findings.h"
#include "catcheck/key_index.h"
#include "catcheck/statistics.h"

namespace catcheck {

// The checks of each line of the catalog (file 0), made as CatalogMessages reads it.
class LineChecks final : public catalog::LineVisitor {
 public:
  explicit LineChecks(Findings& findings) : findings_(findings) {}

  void visit(const catalog::CatalogLine& line, std::string_view key_language) override;

 private:
  void add(const catalog::CatalogLine& line, FindingKind kind, std::string message,
           std::string_view language = {}) {
    findings_.add({kind, 0, line.number, std::move(message), 0, language});
  }
  void check_first_language_line(const catalog::CatalogLine& line);
  void check_translation_line(const catalog::CatalogLine& line);

  Findings& findings_;
  std::string_view key_language_;
  bool seen_language_line_ = false;
  bool seen_key_line_ = false;
};

// Whether the lines of catalog `bytes` (file 0), which is not UTF-8 as a whole, mix UTF-8 and
// other text.
void check_encoding(std::string_view bytes, Findings& findings);

// The messages of `catalog` (file 0); returns the statistics of every language.
Statistics check_messages(const catalog::CatalogMessages& catalog, const KeyIndex& index,
                          Findings& findings);

}  // namespace catcheck
