#include "catprep/directives.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/catprep_template_run.h"

namespace catprep {
namespace {

using testing::preprocess;

TEST(Directives, RemarksAndUnknownWords) {
  auto r = preprocess("#\n  #  \n# this is a remark\n#remark\n#foo bar\n#IF A\n#!x\n");
  EXPECT_EQ(r.out,
            "t.tpl:4: unknown directive \"remark\"\nt.tpl:5: unknown directive \"foo bar\"\n"
            "t.tpl:6: unknown directive \"IF A\"\nt.tpl:7: unknown directive \"!x\"\n"
            "summary: 4 error(s)\n");
  EXPECT_EQ(r.output, "");
}

TEST(Directives, TheEndOfADirectiveMayOnlyBeARemark) {
  auto r = preprocess("#if _TAVELLE ; why\na\n#endif\n# if _TAVELLE // why\nb\n#endif x\n");
  EXPECT_EQ(r.output, "a\nb\n");
  EXPECT_EQ(r.out,
            "t.tpl:4: expected ';' or end-of-line\nt.tpl:6: expected ';' or end-of-line\n"
            "summary: 2 error(s)\n");
}

TEST(Conditionals, BranchesOfIfElifElse) {
  std::string text = "#if A\ntext1\n#elif B\ntext2\n#else\ntext3\n#endif\n";
  EXPECT_EQ(preprocess(text, {"-DB"}).output, "text2\n");
  EXPECT_EQ(preprocess(text, {"-DA", "-DB"}).output, "text1\n");
  EXPECT_EQ(preprocess(text).output, "text3\n");
}

TEST(Conditionals, IfdefIsIfAndIfndefTakesOnePrimary) {
  EXPECT_EQ(preprocess("#ifdef(A)|B\nx\n#endif\n", {"-DB"}).output, "x\n");
  auto r = preprocess("#ifndef A | B\nx\n#endif\n", {"-DB"});
  EXPECT_EQ(r.output, "x\n");
  EXPECT_EQ(r.out, "t.tpl:1: expected ';' or end-of-line\nsummary: 1 error(s)\n");
}

TEST(Conditionals, NestedInAFalseSectionStaysFalse) {
  auto r = preprocess("#if UNDEF\n#if _TAVELLE\nx\n#else\ny\n#endif\n#endif\nz\n");
  EXPECT_EQ(r.output, "z\n");
  EXPECT_EQ(r.exit_code, 0);
}

// A second #else, or an #elif after the #else, is reported and ignored: the lines after it
// belong to the #else before it. A nested level has its own #else.
TEST(Conditionals, ElseAfterElseAndElifAfterElseAreErrorsAndIgnored) {
  auto r = preprocess("#if _TAVELLE\na\n#else\nb\n#else\nc\n#endif\n");
  EXPECT_EQ(r.output, "a\n");
  EXPECT_EQ(r.out, "t.tpl:5: else after else\nsummary: 1 error(s)\n");
  EXPECT_EQ(r.exit_code, 1);
  r = preprocess("#if X\na\n#else\nb\n#else\nc\n#elif _TAVELLE junk\nd\n#endif\n");
  EXPECT_EQ(r.output, "b\nc\nd\n");
  EXPECT_EQ(r.out, "t.tpl:5: else after else\nt.tpl:7: elif after else\nsummary: 2 error(s)\n");
  r = preprocess("#if X\n#else\n#if Y\n#else\n#endif\n#else\n#endif\n#if X\n#else\n#endif\n");
  EXPECT_EQ(r.out, "t.tpl:6: else after else\nsummary: 1 error(s)\n");
  r = preprocess("#if X\n#if Y\n#else\n#else\n#endif\n#endif\n");  // in a skipped section too
  EXPECT_EQ(r.out, "t.tpl:4: else after else\nsummary: 1 error(s)\n");
}

// A broken condition is reported and false, for #if, #ifdef, #ifndef and #elif alike; its level
// is open all the same, so its #else and #endif pair with it.
TEST(Conditionals, ABrokenConditionIsAnErrorAndFalse) {
  auto r = preprocess("#if _TAVELLE &\na\n#else\nb\n#endif\n#ifndef\nc\n#endif\n");
  EXPECT_EQ(r.output, "b\n");
  EXPECT_EQ(r.out, "t.tpl:1: expected a name\nt.tpl:6: expected a name\nsummary: 2 error(s)\n");
  r = preprocess("#if X\na\n#elif |\nb\n#elif _TAVELLE\nc\n#endif\n");
  EXPECT_EQ(r.output, "c\n");
  EXPECT_EQ(r.reports[0], (testing::ReportCopy{ReportKind::expected_name, "t.tpl", 3}));
  r = preprocess("#ifdef ()\na\n#endif\nz\n", {"-D"});  // even with a macro of the empty name
  EXPECT_EQ(r.output, "z\n");
  EXPECT_EQ(r.out, "t.tpl:1: expected a name\nsummary: 1 error(s)\n");
}

TEST(Conditionals, ClosingsWithoutOpenings) {
  auto r = preprocess("#endif\n#elif (\n#else\n#enddef\nx\n");
  EXPECT_EQ(r.out,
            "t.tpl:1: endif without if\nt.tpl:2: elif without if\nt.tpl:3: else without if\n"
            "t.tpl:4: enddef without begindef\nsummary: 4 error(s)\n");
  EXPECT_EQ(r.output, "x\n");
}

TEST(Conditionals, NineLevelsNestTheTenthStopsTheRun) {
  std::string nine;
  for (int k = 0; k < 9; ++k) nine += "#if _TAVELLE\n";
  auto r = preprocess(nine + "in\n");
  EXPECT_EQ(r.output, "in\n");
  EXPECT_EQ(r.out, "t.tpl:11: if without endif\nsummary: 1 error(s)\n");
  r = preprocess("before\n" + nine + "#if _TAVELLE\nafter\n");
  EXPECT_EQ(r.output, "");  // a stopped run writes nothing
  EXPECT_EQ(r.out, "t.tpl:11: too deep if\n");
  EXPECT_EQ(r.exit_code, 1);
}

TEST(Conditionals, InASkippedRegionOnlyConditionalsAndEnddefAct) {
  auto r = preprocess(
      "#if X\n#define X 1\n#undef _TAVELLE\n#msg no\n#error no\n#include \"none\"\n#endif\n"
      "X _TAVELLE\n#if X\n\n\n#endif\n");
  EXPECT_EQ(r.output, "X 1\n\n\n");
  EXPECT_EQ(r.out, "done, no errors\n");
  EXPECT_EQ(preprocess("#if X\n\n\n#endif\n", {"-s"}).output, "");
}

TEST(Msg, PrintsTheRestUnexpanded) {
  auto r = preprocess("#msg  hello ; _TAVELLE\n#msg\n");
  EXPECT_EQ(r.out, "hello ; _TAVELLE\n\ndone, no errors\n");
}

TEST(Error, StopsTheRunWithoutSummary) {
  auto r = preprocess("a\n#error text\nb\n");
  EXPECT_EQ(r.out, "t.tpl:2: preprocessing stopped\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.output, "");  // a stopped run writes nothing
}

TEST(Include, ReadsTheFileWithoutWritingItsTextAndKeepsItsDefinitions) {
  auto r = preprocess("#include \"sub\\x.h\"  \nX\n", {},
                      {{"sub/x.h", "#define X 1 /* c\nc */ inc text // note\n"}});
  EXPECT_EQ(r.output, "\n1     \n");  // the comment became blanks in the value
  EXPECT_EQ(r.out, "done, no errors\n");
  EXPECT_EQ(preprocess("#include \"i\"\n", {"-s"}, {{"i", "x\n"}}).output, "");
}

TEST(Include, BadNames) {
  auto r = preprocess(
      "#include\n#include x\n#include \"open\n#include <none.h>\n#include <x\n"
      "#include \"sub/none\"\n#include \"i\" x\n",
      {}, {{"open", ""}, {"i", ""}});
  EXPECT_EQ(r.out,
            "t.tpl:1: missing filename\nt.tpl:2: '\"' or '<' expected\n"
            "t.tpl:3: unterminated filename in #include\n"
            "t.tpl:5: unterminated filename in #include\n"
            "t.tpl:6: can't open include file \"sub/none\"\n"
            "t.tpl:7: expected end-of-line\nsummary: 6 error(s)\n");
  EXPECT_EQ(r.output, "\n\n");
}

TEST(Include, TheNameMayComeFromAMacro) {
  auto r = preprocess("#define F \"i\"\n#include F\n", {}, {{"i", "#msg in i\n"}});
  EXPECT_EQ(r.out, "in i\ndone, no errors\n");
}

TEST(Include, SevenLevelsNestTheEighthStopsTheRun) {
  std::map<std::string, std::string> files;
  for (int k = 1; k < 7; ++k)
    files["i" + std::to_string(k)] = "#include \"i" + std::to_string(k + 1) + "\"\n";
  files["i7"] = "#msg deepest\n";
  auto r = preprocess("#include \"i1\"\n", {}, files);
  EXPECT_EQ(r.out, "deepest\ndone, no errors\n");
  files["i7"] = "#include \"i1\"\n";
  r = preprocess("#include \"i1\"\n", {}, files);
  EXPECT_EQ(r.out,
            "In file \"i7\",Included from i6:1\nIncluded from i5:1\nIncluded from i4:1\n"
            "Included from i3:1\nIncluded from i2:1\nIncluded from i1:1\nIncluded from t.tpl:1\n"
            "i7:1: too many nested includes\n");
  EXPECT_EQ(r.exit_code, 1);
}

TEST(Include, AConditionalMayCloseInTheIncludingFile) {
  auto r = preprocess("#include \"i\"\nskipped\n#endif\nlive\n", {}, {{"i", "#if X\n"}});
  EXPECT_EQ(r.output, "\nlive\n");  // a blank line is written in a skipped region too
  EXPECT_EQ(r.exit_code, 0);
}

TEST(Include, ACommentLeftOpenInAFileEndsThere) {
  auto r = preprocess("#include \"i\"\nX\n", {}, {{"i", "/* open\n#define X 1\n"}});
  EXPECT_EQ(r.output, "\nX\n");
  EXPECT_EQ(r.out,
            "In file \"i\",Included from t.tpl:1\ni:3: comment not closed at EOF\n"
            "summary: 1 error(s)\n");
}

}  // namespace
}  // namespace catprep
