#include "catcheck/format_directives.h"

#include <gtest/gtest.h>

namespace catcheck {
namespace {

std::string mismatch(std::string_view key, std::string_view translation, bool may_omit = false) {
  const std::optional<FormatMismatch> found = compare_formats(key, translation, may_omit);
  return found ? found->message : "";
}

TEST(HasFormatDirectives, CountsValidDirectivesOnly) {
  const struct {
    std::string_view text;
    bool expected;
  } cases[] = {
      {"", false},   {"100%", false},   {"%y", false},    {"%hf and %lp", false},
      {"%%", true},  {"a %d b", true},  {"%y, %s", true}, {"%1$s", true},
      {"%m", true},  {"50% off", true},  // "% o" is an octal with the space flag
      {"%%d", true},
  };
  for (const auto& c : cases) EXPECT_EQ(has_format_directives(c.text), c.expected) << c.text;
  EXPECT_FALSE(has_format_directives(std::string_view("%\0d", 3)));
}

TEST(CompareFormats, AcceptsTranslationsThatReadTheSameArguments) {
  const struct {
    std::string_view key, translation;
    bool may_omit;
  } cases[] = {
      {"%d files", "%d Dateien", false},
      {"%s has %d", "%2$d in %1$s", false},
      {"%1$s has %2$d", "%s: %d", false},
      {"%i %x", "%d %o", false},
      {"%f %Lf", "%lf %llf", false},
      {"%lld %zu", "%qd %Zu", false},
      {"%Ld", "%lld", false},
      {"%C %S", "%lc %ls", false},
      {"%d%%", "%d %% %%", false},
      {"100%", "100 %%", false},
      {"%s: %m", "%m (%s)", false},
      {"%1$s %1$s", "%1$s", false},
      {"%-08.3f %.*s", "%+ #'I12.f %.*s", false},
      {"%.*s", "%2$.*1$s", false},
      {"%d files", "one file", true},
      {"%s has %d files", "%s has one file", true},
      {"%1$s has %2$u files", "%1$s: one file", true},
      // An invalid key text is not the translator's fault.
      {"%y %d", "%s", false},
      {"%1$d %d", "%s", false},
      {"%2$d", "%s", false},
      {"%1$d %1$s", "x", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(mismatch(c.key, c.translation, c.may_omit), "") << c.key << " / " << c.translation;
}

TEST(CompareFormats, NamesWhatDiffers) {
  const struct {
    std::string_view key, translation;
    bool may_omit;
    std::string_view expected;
  } cases[] = {
      {"%d", "%s", false, "the key text has %d where the translation has %s"},
      {"%d", "%u", false, "the key text has %d where the translation has %u"},
      {"%d", "%ld", false, "the key text has %d where the translation has %ld"},
      {"%hd", "%d", false, "the key text has %hd where the translation has %d"},
      {"%f", "%Lf", false, "the key text has %f where the translation has %Lf"},
      {"%c", "%lc", false, "the key text has %c where the translation has %lc"},
      {"%s", "%S", false, "the key text has %s where the translation has %S"},
      {"%p", "%s", false, "the key text has %p where the translation has %s"},
      {"%n", "%hn", false, "the key text has %n where the translation has %hn"},
      {"%s %d", "%d %s", false, "the key text has %s where the translation has %d"},
      {"%.*s", "%1$.*2$s", false,
       "the key text has the precision of %.*s where the translation has %1$.*2$s"},
      {"%s %d", "%s", false, "the translation leaves out %d"},
      {"%*d", "%d", false, "the translation leaves out %*d"},
      {"%s %s", "%s", true, "the translation leaves out %s"},
      {"%d %s", "%s", true, "the key text has %d where the translation has %s"},
      {"%d %s", "%2$s", true, "the translation refers to argument 2 but not to argument 1"},
      {"%d %d", "", true, "the translation has 0 arguments where the key text has 2"},
      {"%d", "%d %d", false, "the translation has 2 arguments where the key text has 1"},
      {"%d", "%y", false, "the translation has an invalid directive \"%y\" at byte 1"},
      {"%d", "%d\n%\xC3", false, "the translation has an invalid directive \"%\\xC3\" at byte 4"},
      {"%d %%", "%d 100%", false, "the translation has an unfinished directive \"%\" at byte 7"},
      {"%d", "%5.2", false, "the translation has an unfinished directive \"%5.2\" at byte 1"},
      {"%f", "%hhf", false, "the translation has an invalid directive \"%hhf\" at byte 1"},
      {"%p", "%lp", false, "the translation has an invalid directive \"%lp\" at byte 1"},
      {"%d", "%0$d", false, "the translation has an invalid directive \"%0$d\" at byte 1"},
      {"%d", "%*0$d", false, "the translation has an invalid directive \"%*0$d\" at byte 1"},
      {"%m", "%1$m", false, "the translation has an invalid directive \"%1$m\" at byte 1"},
      {"%d%%", "%d%5%", false, "the translation has an invalid directive \"%5%\" at byte 3"},
      {"%s %d", "%1$s %d", false, "the translation mixes numbered and unnumbered directives"},
      {"%*d", "%1$*d", false, "the translation mixes numbered and unnumbered directives"},
      {"%s %s %s", "%1$s %3$s", false,
       "the translation refers to argument 3 but not to argument 2"},
      {"%s", "%2000$s", false, "the translation refers to argument 2000 but not to argument 1"},
      {"%s %d", "%1$s %1$d", false, "the translation uses argument 1 both as %1$s and as %1$d"},
      {"%d %d", "%2$*1$d %1$s", false,
       "the translation uses argument 1 both as the width of %2$*1$d and as %1$s"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(mismatch(c.key, c.translation, c.may_omit), c.expected)
        << c.key << " / " << c.translation;
}

TEST(CompareFormats, ArgumentNumbersTooLargeForAnIntegerDoNotWrapAround) {
  // 2^64 + 1 and 2^32 + 1: a wrapped number would name argument 1 and pass.
  EXPECT_NE(mismatch("%s", "%18446744073709551617$s"), "");
  EXPECT_NE(mismatch("%s", "%4294967297$s"), "");
  EXPECT_EQ(mismatch("%18446744073709551617$s", "%d"), "");
}

}  // namespace
}  // namespace catcheck
