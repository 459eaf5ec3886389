#include "catalog/plural_forms.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(PluralForms, KnownLanguagesRegionsAndTheRest) {
  EXPECT_EQ(plural_rule("ja").forms, 1);
  EXPECT_EQ(plural_rule("zh-TW").forms, 1);  // by its first two letters
  EXPECT_EQ(plural_rule("pl").forms, 3);
  EXPECT_EQ(plural_rule("ar").forms, 6);
  EXPECT_EQ(plural_rule("FR").expression, "(n > 1)");
  EXPECT_EQ(plural_rule("xx").forms, 2);
  EXPECT_EQ(plural_rule("xx").expression, "(n != 1)");
  EXPECT_EQ(plural_rule("").forms, 2);
}

}  // namespace
}  // namespace catalog
