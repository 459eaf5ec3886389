#include "catprep/macros.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/catprep_template_run.h"

namespace catprep {
namespace {

TEST(MatchWord, MatchesWholeWordsOnly) {
  EXPECT_EQ(match_word("ifdef(A)", 0, "ifdef"), 5u);
  EXPECT_EQ(match_word("ifdef", 0, "if"), kNoMatch);
  EXPECT_EQ(match_word("x if", 2, "if"), 4u);
  EXPECT_EQ(match_word("AB", 0, "A"), kNoMatch);
  EXPECT_EQ(match_word("A\xE4", 0, "A"), kNoMatch);
  EXPECT_EQ(match_word("A\xC3\xA4", 0, "A"), 1u);  // UTF-8 bytes are delimiters
}

TEST(MacroTable, FindsTheEarliestEntryAndKeepsOrderOnRemoval) {
  MacroTable table;
  table.append("A", "1", 0);
  table.append("B", "2", 0);
  table.append("A", "3", 0);
  table.append("C", "4", 2);
  EXPECT_EQ(table.find_macro("A"), 0u);
  EXPECT_EQ(table.find_macro("D"), kNoMatch);
  table.remove(0);
  EXPECT_EQ(table.find_macro("A"), 1u);
  EXPECT_EQ(table[1].value, "3");
  EXPECT_EQ(table.find_macro("C"), 2u);
  EXPECT_EQ(table[2].nparams, 2);
  table.remove(table.find_macro("A"));
  EXPECT_EQ(table.find_macro("A"), kNoMatch);
  EXPECT_EQ(table.macro_count(), 2u);
}

// Enough names to make the index grow several times, a duplicate of each earlier name among
// them, and removals that shift every later entry.
TEST(MacroTable, AFullTableOfNamesAndDuplicatesFindsEveryFirstEntry) {
  MacroTable table;
  for (size_t k = 0; k < kMaxMacros / 2; ++k) {
    table.append("N" + std::to_string(k), "first", 0);
    table.append("N" + std::to_string(k / 2), "later", 0);
  }
  ASSERT_EQ(table.macro_count(), kMaxMacros);
  for (size_t k = 0; k < kMaxMacros / 2; ++k) {
    size_t found = table.find_macro("N" + std::to_string(k));
    ASSERT_EQ(found, 2 * k) << k;
    EXPECT_EQ(table[found].value, "first");
  }
  for (std::string absent : {"N", "N500", "N1x", "n1", "N01", ""})
    EXPECT_EQ(table.find_macro(absent), kNoMatch) << absent;
  table.remove(table.find_macro("N0"));
  EXPECT_EQ(table.find_macro("N0"), 0u);  // the duplicate appended right after it
  EXPECT_EQ(table[0].value, "later");
  EXPECT_EQ(table.find_macro("N499"), 997u);
  table.remove(0);
  EXPECT_EQ(table.find_macro("N0"), 1u);  // the third N0, appended after the first N1
  EXPECT_EQ(table.find_macro("N1"), 0u);
  table.remove(1);
  EXPECT_EQ(table.find_macro("N0"), kNoMatch);
  EXPECT_EQ(table.find_macro("N2"), 1u);
}

// Words are first sorted out by their first byte and length, lengths from 31 up sharing one
// class; the empty name (-D=value) is found too.
TEST(MacroTable, NamesAreToldApartByFirstByteAndLengthAndThenWhole) {
  MacroTable table;
  EXPECT_EQ(table.find_macro(""), kNoMatch);
  std::string long_a(31, 'a'), long_b = "a" + std::string(44, 'b');
  table.append("ab", "", 0);
  table.append(long_a, "", 0);
  table.append(long_b, "", 0);
  EXPECT_EQ(table.find_macro(""), kNoMatch);
  table.append("", "empty", 0);
  EXPECT_EQ(table.find_macro("ab"), 0u);
  EXPECT_EQ(table.find_macro(long_a), 1u);
  EXPECT_EQ(table.find_macro(long_b), 2u);
  EXPECT_EQ(table.find_macro(""), 3u);
  for (const std::string& absent :
       std::vector<std::string>{"a", "abc", "b", "ba", "Ab", long_a + "a", long_b.substr(0, 40),
                                long_b + "b", std::string(45, 'a')})
    EXPECT_EQ(table.find_macro(absent), kNoMatch) << absent;
  table.remove(0);
  EXPECT_EQ(table.find_macro("ab"), kNoMatch);
  EXPECT_EQ(table.find_macro(long_b), 1u);
}

TEST(MacroTable, AddMacroReportsWhenItFillsTheTableAndWhenItIsFull) {
  testing::ReportLog log;
  Diagnostics diagnostics(log.sink());
  MacroTable table;
  for (size_t k = 0; k < kMaxMacros - 1; ++k) table.append("M" + std::to_string(k), "", 0);
  table.add_macro("_TAVELLE", "1", diagnostics);
  EXPECT_EQ(table.macro_count(), kMaxMacros);
  table.add_macro("_DATE_", "x", diagnostics);
  EXPECT_EQ(table.macro_count(), kMaxMacros);
  EXPECT_EQ(log.text, "too many defines\ntoo many defines\n");
}

struct Parsed {
  bool accepted;
  std::string name;
  std::vector<std::string> params;
  std::string value;
  std::string reports;
};

Parsed parse(const std::string& head_text, const MacroTable& table = {}) {
  std::string text = head_text;
  text.resize(text.size() + 1);
  testing::ReportLog log;
  Diagnostics diagnostics(log.sink());
  MacroHead head;
  size_t at = 0;
  Parsed parsed;
  parsed.accepted = parse_macro_head(text.data(), at, table, diagnostics, head);
  parsed.name = std::string(head.name);
  for (int k = 0; k <= head.last; ++k) parsed.params.push_back(head.param_names[k]);
  if (parsed.accepted) parsed.value = text.data() + at;
  parsed.reports = log.text;
  return parsed;
}

TEST(ParseMacroHead, NamesParametersAndValue) {
  Parsed p = parse("F(x, y)\t y-x");
  EXPECT_TRUE(p.accepted);
  EXPECT_EQ(p.name, "F");
  EXPECT_EQ(p.params, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(p.value, "y-x");
  EXPECT_EQ(p.reports, "");
  p = parse("E");
  EXPECT_TRUE(p.accepted);
  EXPECT_EQ(p.value, "");
  EXPECT_TRUE(p.params.empty());
  p = parse("T\tv");
  EXPECT_EQ(p.value, "v");
  p = parse("F(x)");
  EXPECT_EQ(p.value, "");
}

TEST(ParseMacroHead, EmptyNamesInTheList) {
  EXPECT_EQ(parse("M() v").params, (std::vector<std::string>{""}));
  EXPECT_EQ(parse("M(a,) v").params, (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(parse("M(,a) v").params, (std::vector<std::string>{"", "a"}));
  Parsed p = parse("(x) v");
  EXPECT_TRUE(p.accepted);
  EXPECT_EQ(p.name, "");
}

TEST(ParseMacroHead, ABlankBeforeTheParenthesisStartsTheValue) {
  Parsed p = parse("M (a) b");
  EXPECT_TRUE(p.params.empty());
  EXPECT_EQ(p.value, "(a) b");
}

TEST(ParseMacroHead, AMissingCommaMakesTheValueBeginAtTheParenthesis) {
  Parsed p = parse("M(a b) body");
  EXPECT_TRUE(p.accepted);
  EXPECT_EQ(p.params, (std::vector<std::string>{"a"}));
  EXPECT_EQ(p.value, ") body");
  EXPECT_EQ(p.reports, "expected ')'\n");
  p = parse("M(a");
  EXPECT_TRUE(p.accepted);
  EXPECT_EQ(p.value, "");
  EXPECT_EQ(p.reports, "expected ')'\n");
}

TEST(ParseMacroHead, RefusedHeads) {
  EXPECT_EQ(parse("M=1").reports, "expected white-space\n");
  EXPECT_EQ(parse("M-1").reports, "expected white-space\n");
  EXPECT_EQ(parse("M(a,  ").reports, "syntax\n");
  EXPECT_EQ(parse("M(  ").reports, "syntax\n");
  EXPECT_FALSE(parse("M(a,").accepted);
  Parsed ten = parse("M(a,b,c,d,e,f,g,h,i,j) v");
  EXPECT_TRUE(ten.accepted);
  EXPECT_EQ(ten.params.size(), 10u);
  EXPECT_EQ(parse("M(a,b,c,d,e,f,g,h,i,j,k) v").reports, "too many parameter\n");
}

TEST(ParseMacroHead, RefusesANameInTheTableAndAFullTableInThatOrder) {
  MacroTable table;
  table.append("M", "1", 0);
  EXPECT_EQ(parse("M 2", table).reports, "redefined macro\n");
  EXPECT_EQ(parse("M(a b) 2", table).reports, "expected ')'\nredefined macro\n");
  for (size_t k = 1; k < kMaxMacros; ++k) table.append("N" + std::to_string(k), "", 0);
  EXPECT_EQ(parse("M 2", table).reports, "too many defines\n");
  EXPECT_EQ(parse("M=2", table).reports, "expected white-space\n");
}

}  // namespace
}  // namespace catprep
