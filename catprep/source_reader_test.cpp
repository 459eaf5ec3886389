#include "catprep/source_reader.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/catprep_template_run.h"

namespace catprep {
namespace {

struct Read {
  std::string text;
  int line_no;
  int depth;
  bool operator==(const Read&) const = default;
};

// Reads every line of `main` (with `include` available as "inc") and records the reports.
struct ReaderRun {
  explicit ReaderRun(const std::string& main, const std::string& include = "") {
    files.add("main", main);
    files.add("inc", include);
    reader.set_input_name("main");
    diagnostics.attach(reader);
    SourceFiles::Identity identity;
    EXPECT_TRUE(reader.open_input(identity).ok());
    EXPECT_FALSE(identity.has_value());
  }
  std::vector<Read> all() {
    std::vector<Read> lines;
    char buffer[kLineSize];
    while (reader.read_line(buffer))
      lines.push_back({buffer, reader.line_no(), reader.include_depth()});
    return lines;
  }
  MemoryFiles files;
  testing::ReportLog log;
  Diagnostics diagnostics{log.sink()};
  SourceReader reader{files, diagnostics};
};

std::vector<Read> lines_of(const std::string& main) {
  return ReaderRun(main).all();
}

TEST(ByteTests, IdentifierBytesAreAsciiAlnumUnderscoreAtAndSevenLatin1Letters) {
  std::string identifiers;
  for (int c = 1; c < 256; ++c)
    if (is_identifier(static_cast<unsigned char>(c))) identifiers += static_cast<char>(c);
  EXPECT_EQ(identifiers,
            "0123456789@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz"
            "\xC4\xD6\xDC\xDF\xE4\xF6\xFC");
  EXPECT_TRUE(is_delimiter('\0'));
  EXPECT_EQ(skip_white(" \t x", 0), 3u);
  EXPECT_EQ(skip_white("  ", 0), 2u);
}

TEST(ReadLine, JoinsContinuationsAndCountsBothPhysicalLines) {
  EXPECT_EQ(lines_of("abc\\\ndef\nx"), (std::vector<Read>{{"abcdef", 2, 0}, {"x", 3, 0}}));
  EXPECT_EQ(lines_of("a\\\r\nb\n"), (std::vector<Read>{{"ab", 2, 0}}));
}

TEST(ReadLine, KeepsEscapePairsThatDoNotContinue) {
  EXPECT_EQ(lines_of("a\\\\\nb\\t\n"), (std::vector<Read>{{"a\\\\", 1, 0}, {"b\\t", 2, 0}}));
}

TEST(ReadLine, DropsControlBytesButKeepsTabsAndEndsAtCtrlZ) {
  EXPECT_EQ(lines_of(std::string("a\tb\0c\x01\rd\n", 9)), (std::vector<Read>{{"a\tbcd", 1, 0}}));
  EXPECT_EQ(lines_of("a\nb\x1a"
                     "c\nd\n"),
            (std::vector<Read>{{"a", 1, 0}, {"b", 2, 0}}));
}

// Plain bytes are copied in runs; every byte that needs a look of its own must be found
// wherever it stands in such a run, and bytes from 0x80 up are plain.
TEST(ReadLine, SpecialBytesAreFoundAtEveryPositionInALongRun) {
  std::string plain = "x\x7f\x80\xff !~ab";
  while (plain.size() < 40) plain += plain;
  for (size_t at = 0; at < 24; ++at) {
    std::string head = plain.substr(0, at), tail = plain.substr(at, 24);
    EXPECT_EQ(lines_of(head + "\x02" + tail + "\n"), (std::vector<Read>{{head + tail, 1, 0}}))
        << at;
    EXPECT_EQ(lines_of(head + "\t" + tail + "\n"), (std::vector<Read>{{head + "\t" + tail, 1, 0}}))
        << at;
    EXPECT_EQ(lines_of(head + "\\\n" + tail + "\n"), (std::vector<Read>{{head + tail, 2, 0}}))
        << at;
    EXPECT_EQ(lines_of(head + "\\" + tail + "\n"), (std::vector<Read>{{head + "\\" + tail, 1, 0}}))
        << at;
    EXPECT_EQ(lines_of(head + "\n" + tail), (std::vector<Read>{{head, 1, 0}, {tail, 2, 0}})) << at;
  }
}

TEST(ReadLine, ReportsAStrayBackslashAndAnOpenCommentAtEndOfFile) {
  ReaderRun run("x\\");
  run.reader.in_comment() = true;
  EXPECT_EQ(run.all(), (std::vector<Read>{{"x", 1, 0}}));
  EXPECT_EQ(run.log.text, "main:1: stray \\\nmain:1: comment not closed at EOF\n");
  EXPECT_FALSE(run.reader.in_comment());
}

TEST(ReadLine, LinesAroundTheLengthLimit) {
  std::string l1022(1022, 'a'), l1023(1023, 'b'), l1024(1024, 'c');
  ReaderRun run(l1022 + "\n" + l1023 + "\n" + l1024 + "\n");
  EXPECT_EQ(
      run.all(),
      (std::vector<Read>{
          {l1022, 1, 0}, {l1023, 2, 0}, {"", 3, 0}, {std::string(1023, 'c'), 4, 0}, {"c", 5, 0}}));
  EXPECT_EQ(run.log.text, "main:2: line too long\nmain:4: line too long\n");
}

TEST(ReadLine, AByteAfterABackslashStoredLastStartsTheNextLine) {
  std::string head(1022, 'a');
  ReaderRun run(head + "\\\\n\n");
  EXPECT_EQ(run.all(), (std::vector<Read>{{head + "\\", 1, 0}, {"\\n", 2, 0}}));
  EXPECT_EQ(run.log.text, "main:1: line too long\n");
}

TEST(ReadLine, ReturnsFromAnIncludeWithOneEmptyLineNumberedAfterTheInclude) {
  for (std::string include : {"i1\ni2\n", "i1\ni2"}) {
    ReaderRun run("a\n#include\nb\n", include);
    char buffer[kLineSize];
    ASSERT_TRUE(run.reader.read_line(buffer));
    ASSERT_TRUE(run.reader.read_line(buffer));
    run.reader.push_include("inc", include);
    EXPECT_EQ(run.all(), (std::vector<Read>{{"i1", 1, 1}, {"i2", 2, 1}, {"", 2, 0}, {"b", 3, 0}}));
  }
}

TEST(ReadLine, EndOfInputIsFinal) {
  ReaderRun run("a\n");
  char buffer[kLineSize] = "untouched";
  EXPECT_EQ(run.all().size(), 1u);
  EXPECT_FALSE(run.reader.read_line(buffer));
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(run.reader.include_depth(), Location::kPastInput);
  EXPECT_EQ(run.reader.line_no(), 3);
}

std::string without_comments(std::string line, bool& in_comment) {
  remove_comments(line.data(), in_comment);
  return line.c_str();
}

TEST(RemoveComments, CutsLineCommentsOutsideQuotes) {
  bool open = false;
  EXPECT_EQ(without_comments("abc // note", open), "abc ");
  EXPECT_EQ(without_comments("\"a//b\" x", open), "\"a//b\" x");
  EXPECT_EQ(without_comments("don't // keep", open), "don't // keep");
  EXPECT_EQ(without_comments("'\\'' // x", open), "'\\'' ");
  EXPECT_FALSE(open);
}

TEST(RemoveComments, BlanksBlockCommentsByteForByteAcrossLines) {
  bool open = false;
  EXPECT_EQ(without_comments("a /* b */ c", open), "a         c");
  EXPECT_EQ(without_comments("/*/x", open), "   x");
  EXPECT_EQ(without_comments("\"/*\" x", open), "\"/*\" x");
  EXPECT_EQ(without_comments("x /* open", open), "x        ");
  EXPECT_TRUE(open);
  EXPECT_EQ(without_comments("still \"", open), "       ");
  EXPECT_EQ(without_comments("end */ y", open), "       y");
  EXPECT_FALSE(open);
}

// A diagnostic that carries its own label, to tell the reports apart.
void say(ReaderRun& run, const char* label) {
  run.diagnostics.report_error(ReportKind::unknown_directive, label);
}

TEST(Diagnostics, ShowsTheIncludeChainWhenItChanges) {
  ReaderRun run("l1\nl2\n", "i1\ni2\n");
  run.diagnostics.push_chain_name("main");
  char buffer[kLineSize];
  run.reader.read_line(buffer);
  say(run, "in main");
  run.reader.read_line(buffer);
  run.reader.push_include("inc", "i1\ni2\n");
  run.reader.read_line(buffer);
  say(run, "one");
  run.reader.read_line(buffer);
  say(run, "two");
  run.reader.read_line(buffer);  // back in main
  say(run, "back");
  run.reader.push_include("inc", "again\n");
  run.reader.read_line(buffer);
  say(run, "same chain");
  EXPECT_EQ(run.log.text,
            "main:1: unknown directive \"in main\"\n"
            "In file \"inc\",Included from main:2\n"
            "inc:1: unknown directive \"one\"\ninc:2: unknown directive \"two\"\n"
            "main:2: unknown directive \"back\"\ninc:1: unknown directive \"same chain\"\n");
  EXPECT_EQ(run.diagnostics.error_count(), 5);
  using testing::ReportCopy;
  ASSERT_GE(run.log.reports.size(), 3u);
  EXPECT_EQ(run.log.reports[1], (ReportCopy{ReportKind::in_file, "inc"}));
  EXPECT_EQ(run.log.reports[2], (ReportCopy{ReportKind::included_from, "main", 2}));
}

TEST(Diagnostics, LongNamesAreShownWhole) {
  std::string name(2000, 'n');
  ReaderRun run("x\n");
  run.diagnostics.push_chain_name("main");
  run.reader.push_include(name, "y\n");
  char buffer[kLineSize];
  run.reader.read_line(buffer);
  run.diagnostics.report_error(ReportKind::syntax);
  EXPECT_EQ(run.log.text,
            "In file \"" + name + "\",Included from main:0\n" + name + ":1: syntax\n");
}

TEST(Diagnostics, NamesTheInputAfterItHasEnded) {
  ReaderRun run("x\n");
  run.all();
  run.diagnostics.report_error(ReportKind::if_without_endif);
  EXPECT_EQ(run.log.text, "main:2: if without endif\n");
}

// Without a location the report is plain; with one it is a diagnostic, header included when
// the chain has changed, as for any other.
TEST(Diagnostics, TheOutOfMemoryReportNamesThePlaceOnceThereIsOne) {
  testing::ReportLog log;
  Diagnostics unattached(log.sink());
  unattached.report_out_of_memory();
  EXPECT_EQ(log.text, "out of memory\n");
  ReaderRun run("x\n");
  run.diagnostics.push_chain_name("main");
  char buffer[kLineSize];
  run.reader.read_line(buffer);
  run.reader.push_include("inc", "y\n");
  run.reader.read_line(buffer);
  run.diagnostics.report_out_of_memory();
  say(run, "after");
  EXPECT_EQ(run.log.text,
            "In file \"inc\",Included from main:1\ninc:1: out of memory\n"
            "In file \"inc\",Included from main:1\ninc:1: unknown directive \"after\"\n");
}

}  // namespace
}  // namespace catprep
