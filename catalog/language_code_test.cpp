#include "catalog/language_code.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(Language, CodesAreTwoBytesOrFiveWithAHyphenThird) {
  EXPECT_EQ(copy_language_code("nl=file.po").view(), "nl");
  EXPECT_EQ(copy_language_code("pt-BR=x").view(), "pt-BR");
  EXPECT_EQ(copy_language_code("abcde=x").view(), "ab");
  EXPECT_EQ(copy_language_code("n=x").view(), "n=");
  EXPECT_EQ(copy_language_code("n").view(), "n");
  EXPECT_EQ(copy_language_code("ab-").view(), "ab-");
}

TEST(Language, PrefixIsAtMostFiveLettersDigitsOrHyphens) {
  EXPECT_EQ(language_prefix("nl[1]: x"), "nl");
  EXPECT_EQ(language_prefix("en-US: x"), "en-US");
  EXPECT_EQ(language_prefix("hello: x"), "hello");
  EXPECT_EQ(language_prefix("helloworld"), "hello");
  EXPECT_EQ(language_prefix("# comment"), "");
  EXPECT_EQ(language_prefix("\xC3\xA4x"), "");
  EXPECT_TRUE(same_language("nl: a", "nl[1]: b"));
  EXPECT_FALSE(same_language("nl: a", "NL: a"));
  EXPECT_TRUE(same_language("", "// x"));
}

TEST(Language, UsableCodesBeginWithALetterOrDigit) {
  EXPECT_TRUE(is_usable_code("n="));
  EXPECT_TRUE(is_usable_code("00"));
  EXPECT_FALSE(is_usable_code("=x"));
  EXPECT_FALSE(is_usable_code("\">"));
  EXPECT_FALSE(is_usable_code(""));
}

TEST(Language, CodesOfTranslatorsFilesTakeTheHyphenForm) {
  const char* const cases[][2] = {{"nl", "nl"},
                                  {"pt_BR", "pt-BR"},
                                  {"zh-TW\\n", "zh-TW"},
                                  {"pt_BR.UTF-8", "pt-BR"},
                                  {"de\\n", "de"},
                                  {"sr@latin", "sr"},
                                  {"zh_Hans", ""},
                                  {"C", ""},
                                  {"C\\n", ""},
                                  {"eng", ""},
                                  {"", ""},
                                  {"x-", ""}};
  for (const auto& [value, code] : cases) EXPECT_EQ(code_from_locale(value).view(), code) << value;
  EXPECT_TRUE(is_valid_code("pt-BR"));
  EXPECT_TRUE(is_valid_code("00"));
  EXPECT_FALSE(is_valid_code("n="));
  EXPECT_FALSE(is_valid_code("ab\n"));
  EXPECT_FALSE(is_valid_code("pt_BR"));
}

}  // namespace
}  // namespace catalog
