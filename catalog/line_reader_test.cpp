#include "catalog/line_reader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace catalog {
namespace {

struct Line {
  std::string text;
  bool ended;
  int number;
  bool operator==(const Line&) const = default;
};

std::vector<Line> all_lines(std::string_view bytes) {
  LineReader reader(bytes);
  std::vector<Line> lines;
  std::string_view line;
  while (reader.next(line))
    lines.push_back({std::string(line), reader.had_line_end(), reader.line_number()});
  return lines;
}

TEST(LineReader, SplitsAtLineFeedsAndDropsTheCarriageReturnBeforeThem) {
  EXPECT_EQ(all_lines("a\nb\r\n\nc"),
            (std::vector<Line>{{"a", true, 1}, {"b", true, 2}, {"", true, 3}, {"c", false, 4}}));
}

TEST(LineReader, KeepsLoneCarriageReturns) {
  EXPECT_EQ(all_lines("a\rb\r\r\nc\r"),
            (std::vector<Line>{{"a\rb\r", true, 1}, {"c\r", false, 2}}));
}

TEST(LineReader, EmptyInputHasNoLines) {
  EXPECT_TRUE(all_lines("").empty());
  EXPECT_EQ(all_lines("\n"), (std::vector<Line>{{"", true, 1}}));
}

TEST(LineReader, DeliversLongLinesWholeAndKeepsNulBytes) {
  for (size_t length : {32766u, 32767u, 32768u, 100000u}) {
    std::string text(length, 'x');
    auto lines = all_lines(text + "\nnext\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text.size(), length);
    EXPECT_EQ(lines[1].number, 2);
  }
  EXPECT_EQ(all_lines(std::string("a\0b\n", 4))[0].text, std::string("a\0b", 3));
}

TEST(SkipUtf8Bom, RemovesOnlyACompleteMark) {
  std::string_view with = "\xEF\xBB\xBFtext", partial = "\xEF\xBBtext";
  EXPECT_TRUE(skip_utf8_bom(with));
  EXPECT_EQ(with, "text");
  EXPECT_FALSE(skip_utf8_bom(partial));
  EXPECT_EQ(partial, "\xEF\xBBtext");
}

}  // namespace
}  // namespace catalog
