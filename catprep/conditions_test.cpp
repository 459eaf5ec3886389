#include "catprep/conditions.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/catprep_template_run.h"

namespace catprep {
namespace {

class ConditionTest : public ::testing::Test {
 protected:
  int eval(const std::string& text, size_t* end = nullptr) {
    size_t at = 0;
    int value = eval_or(ConditionInput{text.c_str(), table, diagnostics}, at);
    if (end != nullptr) *end = at;
    return value;
  }
  MacroTable table;
  testing::ReportLog log;
  Diagnostics diagnostics{log.sink()};
};

TEST_F(ConditionTest, ANameIsTrueWhenDefinedWhateverItsValue) {
  table.append("DEBUG", "", 0);
  table.append("F", "x", 2);
  EXPECT_EQ(eval("DEBUG"), 1);
  EXPECT_EQ(eval("!!DEBUG"), 1);
  EXPECT_EQ(eval("DEBUG|X"), 1);
  EXPECT_EQ(eval("(DEBUG)"), 1);
  EXPECT_EQ(eval("F"), 1);
  EXPECT_EQ(eval("!DEBUG"), 0);
  EXPECT_EQ(eval("1"), 0);
  EXPECT_EQ(eval("!0"), 1);
  EXPECT_EQ(eval(""), 0);
  EXPECT_EQ(log.take_text(), "");
}

TEST_F(ConditionTest, AndBindsTighterThanOr) {
  table.append("A", "", 0);
  EXPECT_EQ(eval("A & !B"), 1);
  EXPECT_EQ(eval("!(A & B)"), 1);
  EXPECT_EQ(eval("A | B & C"), 1);
  EXPECT_EQ(eval("(A | B) & C"), 0);
  EXPECT_EQ(eval(" A\t&  A "), 1);
}

TEST_F(ConditionTest, DoubledOperatorsMeetAnEmptyName) {
  table.append("A", "", 0);
  table.append("B", "", 0);
  EXPECT_EQ(eval("A && B"), 0);
  EXPECT_EQ(eval("A || B"), 1);
  table.append("", "", 0);
  EXPECT_EQ(eval("A && B"), 1);
}

TEST_F(ConditionTest, AnUnclosedParenthesisIsReportedOnce) {
  table.append("A", "", 0);
  size_t end = 0;
  EXPECT_EQ(eval("(A", &end), 1);
  EXPECT_EQ(end, 2u);
  EXPECT_EQ(log.take_text(), "expected ')'\n");
  EXPECT_EQ(eval("(A B) ;", &end), 1);
  EXPECT_EQ(end, 4u);
  EXPECT_EQ(log.take_text(), "expected ')'\n");
}

TEST_F(ConditionTest, APrimaryStopsBeforeOperators) {
  table.append("A", "", 0);
  size_t at = 0;
  std::string text = "A | B";
  EXPECT_EQ(eval_primary(ConditionInput{text.c_str(), table, diagnostics}, at), 1);
  EXPECT_EQ(at, 1u);
}

}  // namespace
}  // namespace catprep
