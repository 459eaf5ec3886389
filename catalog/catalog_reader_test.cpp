#include "catalog/catalog_reader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace catalog {
namespace {

constexpr ReadRules kMerge{ReadRules::KeyLanguage::first_language_line};
constexpr ReadRules kImport{ReadRules::KeyLanguage::first_code_before_colon};

std::string kinds(std::string_view bytes, const ReadRules& rules, std::string_view key = {}) {
  static const char* const kNames[] = {"blank", "comment", "short", "no-opener", "key", "text"};
  CatalogReader reader(bytes, rules, key);
  CatalogLine line;
  std::string result;
  while (reader.next(line)) {
    result += kNames[static_cast<int>(line.kind)];
    if (line.kind == LineKind::key) result += "(" + std::string(line.key_text) + ")";
    result += " ";
  }
  return result;
}

const std::string kSample =
    "\xEF\xBB\xBF  // note\n# hash\n\nen : Open\nen:Close\nen:  Two\nde[1]: x\nx\nab\npt-BR: y\n";

TEST(CatalogReader, TheToolsRulesDifferOnlyWhereTheyAreNamed) {
  EXPECT_EQ(kinds(kSample, kMerge),
            "comment comment blank key(Open) key(Close) key( Two) text short no-opener text ");
  EXPECT_EQ(kinds(kSample, kImport, "en"),
            "comment comment blank key(Open) key(Close) key( Two) text short no-opener text ");
}

TEST(CatalogReader, TheLastLineWithoutLineEndCountsItsBytesAlone) {
  EXPECT_EQ(kinds("en: A\nab", kMerge), "key(A) short ");
  EXPECT_EQ(kinds("en: A\nab\n", kMerge), "key(A) no-opener ");
}

TEST(CatalogReader, FiveByteCodesAreWholeWhateverTheirBytes) {
  EXPECT_EQ(kinds("pt-BR: A\npt-BR[1]: B\npt: C\nab-:: :x\nab-c\n", kMerge),
            "key(A) text text text no-opener ");
  LanguageLine line = read_language_line("zh-TW \t[1]: x");
  EXPECT_EQ(line.code, "zh-TW");
  EXPECT_EQ(line.after_code, "[1]: x");
  EXPECT_EQ(read_language_line("ab-").code, "ab-");
}

TEST(CatalogReader, KeyLanguageByEachRule) {
  EXPECT_EQ(find_key_language("# c\nde[1]: x\nen: y\n", kMerge), "de");
  EXPECT_EQ(find_key_language("zh-TW[1]: x\n", kMerge), "zh-TW");
  EXPECT_EQ(find_key_language("# c\nde[1]: x\nen : y\nfr-CA: z\n", kImport), "fr-CA");
  EXPECT_EQ(find_key_language("//: x\n=x: y\n", kImport), "");
  EXPECT_EQ(find_key_language("x\n", kMerge), "");
}

}  // namespace
}  // namespace catalog
