#include "catweld/catalog_checks.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "catalog/file_kind.h"

namespace catweld {
namespace {

using namespace std::string_literals;

TEST(CatalogChecks, PoAndXliffNamesInAnyCase) {
  for (const char* name : {"de.po", "a/b.PO", "x.pot", "fr.Xlf", "ja.XLIFF", ".po"})
    EXPECT_TRUE(catalog::has_translation_file_name(name)) << name;
  for (const char* name : {"app.cat", "po", "de.pox", "de.po.cat", "dir.po/app.cat", "x.xml"})
    EXPECT_FALSE(catalog::has_translation_file_name(name)) << name;
}

TEST(CatalogChecks, ForeignContentByItsFirstBytes) {
  const std::pair<std::string, ReportKind> foreign[] = {
      {"\xFF\xFE<\0"s, ReportKind::utf16_byte_order_mark},
      {"\xFE\xFF\0e"s, ReportKind::utf16_byte_order_mark},
      {"en: A\nde: \0\n"s, ReportKind::nul_byte},
      {"\xEF\xBB\xBF\n \t\n# translator\n#, fuzzy\n  msgid \"\"\n", ReportKind::begins_like_po},
      {"msgctxt \"menu\"\nmsgid \"Open\"\n", ReportKind::begins_like_po},
      {"\xEF\xBB\xBF \r\n\t<?xml version=\"1.0\"?>", ReportKind::begins_like_xml},
      {"<xliff>", ReportKind::begins_like_xml},
  };
  for (const auto& [bytes, kind] : foreign) EXPECT_EQ(foreign_content(bytes), kind) << bytes;
  // Only the opening counts, and a comment is only a '#' line.
  for (const char* bytes : {"", "\n", "en: A\nmsgid x\n", "// c\nmsgid \"\"\n", "# msgid\nen: A\n",
                            "en: <b>\n", "\xFE\nen: A\n", "\xEF\xBB\xBF# c\nen: A\n<x>\n"})
    EXPECT_EQ(foreign_content(bytes), std::nullopt) << bytes;
}

}  // namespace
}  // namespace catweld
