#include "catprep/conditions.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/catprep_template_run.h"

namespace catprep {
namespace {

class ConditionTest : public ::testing::Test {
 protected:
  // 1 or 0 for a well-formed condition, -1 for a broken one.
  int eval(const std::string& text, size_t* end = nullptr) {
    size_t at = 0;
    ConditionResult result = eval_condition(ConditionInput{text.c_str(), table, diagnostics}, at);
    if (end != nullptr) *end = at;
    return result.broken ? -1 : result.value ? 1 : 0;
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

// An operand is missing where the text ends, at a remark, an operator or a ')'. The condition
// is broken, whatever its other operands and even with a macro of the empty name, and the
// first gap is reported once.
TEST_F(ConditionTest, AMissingOperandBreaksTheConditionAndIsReportedOnce) {
  table.append("A", "", 0);
  table.append("B", "", 0);
  for (const char* text : {"", " ", "; remark", "A &", "A & ;", "|", "A |", "| A", "()", "!",
                           "A && B", "A || B", "!(A|)", "& & |", ")"}) {
    EXPECT_EQ(eval(text), -1) << text;
    EXPECT_EQ(log.take_text(), "expected a name\n") << text;
  }
  table.append("", "", 0);
  EXPECT_EQ(eval("A && B"), -1);
  EXPECT_EQ(eval(""), -1);
  log.take_text();
  // Other bytes begin an empty name, as they always did (here one that is defined); the
  // directive reports the rest.
  size_t end = 0;
  EXPECT_EQ(eval("\"A\"", &end), 1);
  EXPECT_EQ(end, 0u);
  EXPECT_EQ(log.take_text(), "");
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
  EXPECT_EQ(eval("(", &end), -1);
  EXPECT_EQ(log.take_text(), "expected a name\nexpected ')'\n");
}

TEST_F(ConditionTest, AnOperandStopsBeforeOperators) {
  table.append("A", "", 0);
  size_t at = 0;
  std::string text = "A | B";
  ConditionResult result = eval_operand(ConditionInput{text.c_str(), table, diagnostics}, at);
  EXPECT_TRUE(result.value);
  EXPECT_FALSE(result.broken);
  EXPECT_EQ(at, 1u);
  text = "| B";
  at = 0;
  EXPECT_TRUE(eval_operand(ConditionInput{text.c_str(), table, diagnostics}, at).broken);
}

}  // namespace
}  // namespace catprep
