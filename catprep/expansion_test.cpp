#include "catprep/expansion.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/catprep_template_run.h"

#include "catprep/source_reader.h"

namespace catprep {
namespace {

// Macros given as "name", value, parameter count; values use \x02.. for parameters.
class ExpandTest : public ::testing::Test {
 protected:
  void define(const std::string& name, const std::string& value, int nparams = 0) {
    table.append(name, value, nparams);
  }
  std::string expand(const std::string& text, bool strip = false, size_t start = 0) {
    char line[kLineSize] = {};
    text.copy(line, kLineSize - 1);
    expand_macros(line, start, ExpansionRules{table, strip, diagnostics});
    return line;
  }
  std::string reports() { return log.take_text(); }
  MacroTable table;
  testing::ReportLog log;
  Diagnostics diagnostics{log.sink()};
};

TEST_F(ExpandTest, ReplacesWholeWordsOutsideStringsAndNotAfterABackslash) {
  define("A", "1");
  EXPECT_EQ(expand("A AB xA A_ A"), "1 AB xA A_ 1");
  EXPECT_EQ(expand("\"A\" \\A A"), "\"A\" \\A 1");
  EXPECT_EQ(expand("A\xC3\xA4"), "1\xC3\xA4");
  EXPECT_EQ(reports(), "");
}

// Only the byte right after a backslash is passed over: in \nAPP the word starts at 'A', so a
// catalog's escaped line break may stand directly before a macro.
TEST_F(ExpandTest, TheByteAfterAnEscapeIsNoWordStartButTheNextOneIs) {
  define("APP", "Notes");
  define("n", "N");
  EXPECT_EQ(expand("Line\\nAPP"), "Line\\nNotes");
  EXPECT_EQ(expand("\\n n"), "\\n N");
}

TEST_F(ExpandTest, InsertedTextIsNotScannedAgain) {
  define("A", "A B");
  define("B", "2");
  EXPECT_EQ(expand("A B"), "A B 2");
}

TEST_F(ExpandTest, TheEarliestEntryOfANameIsUsed) {
  define("A", "first");
  define("A", "second");
  EXPECT_EQ(expand("A"), "first");
}

TEST_F(ExpandTest, ArgumentsAreInsertedAsWritten) {
  define("P", "\x02 \x03", 2);
  EXPECT_EQ(expand("P(x,y)"), "x y");
  EXPECT_EQ(expand("P(\"x\",\"y\")"), "x y");
  EXPECT_EQ(expand("P(  x , y )"), "x  y ");
  EXPECT_EQ(expand("P(x, \"y\" )"), "x \"y\" ");
  EXPECT_EQ(expand("P(\"a,b\",c)"), "a,b c");
  EXPECT_EQ(expand("P((a,b),c)"), "(a b,c)");
  EXPECT_EQ(expand("P (x,y) P"), "P (x,y) P");
  EXPECT_EQ(expand("P(A,B)"), "A B");
  EXPECT_EQ(reports(), "");
}

// The value is written where the call stood, over its own arguments, and may be longer or
// shorter than the call; the rest of the line moves with it.
TEST_F(ExpandTest, ArgumentsAreTakenBeforeTheCallIsOverwritten) {
  define("SWAP", "\x03\x02", 2);
  define("TWICE", "<\x02\x02\x02>", 1);
  EXPECT_EQ(expand("SWAP(first,second) mid SWAP(1, \"2, 3\") end"), "secondfirst mid 2, 31 end");
  EXPECT_EQ(expand("TWICE(abc)TWICE() TWICE(\"a,b\"),"), "<abcabcabc><> <a,ba,ba,b>,");
  EXPECT_EQ(reports(), "");
}

TEST_F(ExpandTest, EmptyParameterListNeedsParentheses) {
  define("E", "v", 1);
  EXPECT_EQ(expand("E() E"), "v E");
}

TEST_F(ExpandTest, BadArgumentListsStopTheExpansion) {
  define("P", "\x02\x03", 2);
  define("A", "1");
  EXPECT_EQ(expand("A P(x) A"), "1 P(x) A");
  EXPECT_EQ(reports(), "missing parameter\n");
  EXPECT_EQ(expand("A P(x,y A"), "1 P(x,y A");
  EXPECT_EQ(reports(), "expected ')'\n");
  EXPECT_EQ(expand("P(x"), "P(x");
  EXPECT_EQ(reports(), "expected ','\n");
  EXPECT_EQ(expand("P(x,y,z)"), "P(x,y,z)");
  EXPECT_EQ(reports(), "too many parameters\n");
  EXPECT_EQ(expand("P(\"x,y)"), "P(\"x,y)");
  EXPECT_EQ(reports(), "unterminated string\nexpected ','\n");
  EXPECT_EQ(expand("P(x,\"y)"), "P(x,\"y)");
  EXPECT_EQ(reports(), "unterminated string\nexpected ')'\n");
}

TEST_F(ExpandTest, TheByteBeforeAnEmptyReplacementIsExaminedAgain) {
  define("E", "");
  define("A", "1");
  EXPECT_EQ(expand("E"), "");
  EXPECT_EQ(expand("E A"), " 1");
  EXPECT_EQ(expand("\"x\"E A"), "\"x\" A");  // the closing quote toggles again
  EXPECT_EQ(expand("/E/x A", true), "");
}

TEST_F(ExpandTest, AValueEndingInAQuoteLeavesTheRestInAString) {
  define("_DATE_", "\"(Mar 05 2014) \"");
  define("A", "1");
  EXPECT_EQ(expand("_DATE_ A"), "\"(Mar 05 2014) \" A");
}

TEST_F(ExpandTest, CommentsEndTheScanAndAreCutOnlyWhenStripping) {
  define("A", "1");
  EXPECT_EQ(expand("A // A"), "1 // A");
  EXPECT_EQ(expand("A // A", true), "1 ");
  EXPECT_EQ(expand("\"a//b\" // c", true), "\"a//b\" ");
  EXPECT_EQ(expand("x\\// A", true), "x\\// 1");
  EXPECT_EQ(expand("  # A", true), "  ");
  EXPECT_EQ(expand("x # A", true), "x # 1");
  EXPECT_EQ(expand("/* A */ A", true), "/* 1 */ 1");
}

// A '#' ends the scan while only blanks and control bytes stand before it; any other byte,
// also one inside a string or before a word, has begun the line.
TEST_F(ExpandTest, OnlyBlanksAndControlBytesLeaveTheLineUnbegun) {
  define("A", "1");
  EXPECT_EQ(expand(" \t\x01# A", true), " \t\x01");
  EXPECT_EQ(expand(" ,# A", true), " ,# 1");
  EXPECT_EQ(expand("\"\"# A", true), "\"\"# 1");
  EXPECT_EQ(expand("\"# A\" # A", true), "\"# A\" # 1");
  EXPECT_EQ(expand("x# A", true), "x# 1");
  EXPECT_EQ(expand("A# A", true), "1# 1");
}

TEST_F(ExpandTest, AValueEndingInAHashFirstOnTheLineStartsAComment) {
  define("H", "x#");
  define("A", "1");
  EXPECT_EQ(expand(" H A", true), " x");
  EXPECT_EQ(expand("y H A", true), "y x# 1");
}

TEST_F(ExpandTest, ExpansionStartsAtTheGivenPosition) {
  define("A", "1");
  EXPECT_EQ(expand("#define B A", false, 8), "#define B 1");
}

TEST_F(ExpandTest, LineBreakBytesPassThrough) {
  define("L", "a\x01 b\x01", 0);
  EXPECT_EQ(expand("L."), "a\x01 b\x01.");
}

TEST_F(ExpandTest, AReplacementThatWouldNotFitIsRefused) {
  define("A", "1");
  define("W", std::string(600, 'w'));
  std::string result = expand("A W W A");
  EXPECT_EQ(result, "1 " + std::string(600, 'w') + " W A");
  EXPECT_EQ(reports(), "line too long\n");
  define("F", std::string(1021, 'f'));
  EXPECT_EQ(expand("F"), std::string(1021, 'f'));
  EXPECT_EQ(expand("F.."), std::string(1021, 'f') + "..");
  EXPECT_EQ(expand("F..."), "F...");
  EXPECT_EQ(reports(), "line too long\n");
  define("G", "\x02\x02\x02", 1);
  EXPECT_EQ(expand("G(" + std::string(400, 'g') + ")"), "G(" + std::string(400, 'g') + ")");
  EXPECT_EQ(reports(), "line too long\n");
}

}  // namespace
}  // namespace catprep
