#include "catprep/definitions.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/catprep_template_run.h"

namespace catprep {
namespace {

using testing::preprocess;

TEST(EncodeBodyLine, ParametersBecomeReferencesOnlyAsWholeNames) {
  char head_text[] = "M(a,bc)";
  MacroHead head;
  head.last = 1;
  head_text[3] = '\0';
  head_text[6] = '\0';
  head.param_names[0] = head_text + 2;
  head.param_names[1] = head_text + 4;
  std::string body;
  EXPECT_TRUE(encode_body_line("data a \"bc\" abc\tb\x01x\x05", 0, head, body, 1000));
  EXPECT_EQ(body, "data \x02 \"\x03\" abc b\x01x");
  body.clear();
  EXPECT_FALSE(encode_body_line("abcdef", 0, head, body, 4));
  EXPECT_EQ(body, "abcd");
}

// A value that begins inside a name ("c" of "bc", after the missing comma) does not begin a
// name there: the "c" at the end of the longer name is no parameter.
TEST(Define, AParameterIsNotFoundAtTheEndOfTheNameTheValueBeginsIn) {
  auto r = preprocess("#define M(c bc) c x\nM(1)\n");
  EXPECT_EQ(r.output, "c) 1 x\n");
  EXPECT_EQ(r.out, "t.tpl:1: expected ')'\nsummary: 1 error(s)\n");
}

TEST(Define, StoresParametersAndExpandsEarlierMacrosAtDefinitionTime) {
  auto r =
      preprocess("#define F(x,y) y-x\n#define W wide\n#define G(a) W a\n#undef W\nF(1,2) G(3)\n");
  EXPECT_EQ(r.output, "2-1 wide 3\n");
  EXPECT_EQ(r.out, "done, no errors\n");
}

TEST(Define, ADefinedNameIsReplacedBeforeItIsReadAsTheNewName) {
  auto r = preprocess("#define A 1\n#define A 2\n1 A\n");
  EXPECT_EQ(r.output, "2 1\n");
  EXPECT_EQ(r.exit_code, 0);
}

TEST(Define, ReportsMissingArgumentsAndRefusedHeads) {
  auto r = preprocess("#define\n#define M=1\n#define M(a,\n#define E\n#define E\nE.\n");
  EXPECT_EQ(r.out,
            "t.tpl:1: missing argument\nt.tpl:2: expected white-space\nt.tpl:3: syntax\n"
            "t.tpl:5: missing argument\nsummary: 4 error(s)\n");
  EXPECT_EQ(r.output, ".\n");
  // E expands to nothing first, so this defines a macro whose name is empty; an empty condition
  // lacks a name all the same.
  r = preprocess("#define E\n#define E x\n#define E y\n#if\nyes\n#endif\n");
  EXPECT_EQ(r.out, "t.tpl:3: redefined macro\nt.tpl:4: expected a name\nsummary: 2 error(s)\n");
  EXPECT_EQ(r.output, "");
}

TEST(Define, WithStrippingAValueIsCutAtDoubleSlash) {
  auto r = preprocess("#define U http://x\n#define V \"a//b\" c\nU V\n", {"-r"});
  EXPECT_EQ(r.output, "http: \"a//b\" c\n");
  r = preprocess("#define U http://x\nU\n");
  EXPECT_EQ(r.output, "http://x\n");
}

TEST(Define, TheThousandthEntryFitsTheNextIsRefused) {
  std::string text;
  for (int k = 0; k < 997; ++k) text += "#define M" + std::to_string(k) + "\n";
  auto r = preprocess(text + "#define LAST 1\n#define MORE 2\nLAST MORE\n");
  EXPECT_EQ(r.out, "t.tpl:999: too many defines\nsummary: 1 error(s)\n");
  EXPECT_EQ(r.output, "1 MORE\n");
}

TEST(Begindef, StoresLinesWithLineBreaksAndWritesThemAsLines) {
  auto r = preprocess("#begindef L(n) ; remark\nline n\n  second\n#enddef ; end\nL(7)\n");
  EXPECT_EQ(r.output, "line 7\n  second\n");
  EXPECT_EQ(r.out, "done, no errors\n");
}

TEST(Begindef, DirectiveLinesInsideTheBodyAreEmptyLines) {
  auto r = preprocess("#begindef B\na\n#if X\n#\nb\n#enddef junk\nB\n");
  EXPECT_EQ(r.output, "a\n\n\nb\n");
  EXPECT_EQ(r.out,
            "t.tpl:3: #directive in macro-definition\nt.tpl:4: #directive in macro-definition\n"
            "t.tpl:6: expected ';' or end-of-line\nsummary: 3 error(s)\n");
}

TEST(Begindef, ARefusedHeadLeavesTheBodyToTheMainLoop) {
  auto r = preprocess("#begindef M+1\nbody\n#enddef\n");
  EXPECT_EQ(r.output, "body\n");
  EXPECT_EQ(r.out,
            "t.tpl:1: expected white-space\nt.tpl:3: enddef without begindef\n"
            "summary: 2 error(s)\n");
}

TEST(Begindef, ABodyOfAThousandBytesIsWholeALongerOneIsCut) {
  std::string fits = std::string(499, 'a') + "\n" + std::string(500, 'b') + "\n";
  auto r = preprocess("#begindef M\n" + fits + "#enddef\nM\n");
  EXPECT_EQ(r.output, std::string(499, 'a') + "\n" + std::string(500, 'b') + "\n");
  EXPECT_EQ(r.exit_code, 0);
  r = preprocess("#begindef M\n" + std::string(600, 'c') + "\n" + std::string(600, 'd') +
                 "\n#enddef\nM\n");
  EXPECT_EQ(r.output, std::string(600, 'c') + "\n" + std::string(399, 'd') + "\n");
  EXPECT_EQ(r.out, "t.tpl:4: macro too long\nsummary: 1 error(s)\n");
  r = preprocess("#begindef M\n" + std::string(1000, 'e') + "\n\n#enddef\nM\n");
  EXPECT_EQ(r.out, "t.tpl:4: macro too long\nsummary: 1 error(s)\n");
}

TEST(Begindef, AnUnfinishedBodyIsStoredAndReportedAgainstTheInput) {
  auto r = preprocess("#begindef M\nx\n#include \"i\"\n", {}, {{"i", "y\n"}});
  EXPECT_EQ(r.out,
            "t.tpl:3: #directive in macro-definition\nt.tpl:4: begindef without enddef\n"
            "summary: 2 error(s)\n");
}

TEST(Begindef, InASkippedRegionNothingIsDefined) {
  auto r = preprocess("#if X\n#begindef M\n#if Y\nm\n#enddef\n#endif\nM\n");
  EXPECT_EQ(r.output, "M\n");
  EXPECT_EQ(r.out, "t.tpl:3: #directive in macro-definition\nsummary: 1 error(s)\n");
  r = preprocess("#if X\n#begindef M\nm\n");
  EXPECT_EQ(r.out,
            "t.tpl:4: begindef without enddef\nt.tpl:5: if without endif\n"
            "summary: 2 error(s)\n");
}

TEST(Undef, RemovesKeepsOrderAndChecksTheRestOfTheLine) {
  auto r = preprocess(
      "#define X 1\n#define Y 2\n#undef Q\n#undef X junk\nX\n#undef X ; gone\nX Y\n"
      "#define X 3\nX\n#undef\n");
  EXPECT_EQ(r.output, "1\nX 2\n3\n");
  EXPECT_EQ(r.out,
            "t.tpl:4: expected ';' or end-of-line\nt.tpl:10: missing argument\n"
            "summary: 2 error(s)\n");
}

TEST(Undef, ACommandLineDuplicateShowsThroughAfterTheFirstIsRemoved) {
  auto r = preprocess("N\n#undef N\nN\n#undef N\nN\n", {"-DN=a", "-DN=b"});
  EXPECT_EQ(r.output, "a\nb\nN\n");
}

}  // namespace
}  // namespace catprep
