#include "catintake/driver.h"

#include <sys/stat.h>

#include <filesystem>
#include <iterator>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace catintake {
namespace {

using testing_support::for_each_allocation_failure;
using testing_support::read_file;
using testing_support::run_tool;
using testing_support::ScratchDir;
using testing_support::write_file;

const char* const NL_PO = "msgid \"Hello\"\nmsgstr \"Hallo\"\n";
const char* const CATALOG = "# kept\nen: Hello\nnl: Hoi\n";

struct Fixture {
  ScratchDir dir;
  std::string catalog = dir / "app.cat";
  std::string input = dir / "nl.po";
  Fixture() {
    write_file(catalog, CATALOG);
    write_file(input, NL_PO);
  }
  cattools::Args args() const { return {"catintake", catalog, "nl=" + input}; }
};

TEST(Driver, MergesAndReportsEachStep) {
  Fixture f;
  auto result = run_tool(run, f.args());
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "Imported language \"nl\" from " + f.input +
                            "\nMerged with existing catalog " + f.catalog + "\n");
  EXPECT_EQ(read_file(f.catalog), "# kept\nen: Hello\nnl: Hallo\n");
}

TEST(Driver, HelpAndVersionAloneAnswerOnStandardOutput) {
  auto help = run_tool(run, {"catintake", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out, run_tool(run, {"catintake"}).err);
  auto version = run_tool(run, {"catintake", "--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.err, "");
  EXPECT_EQ(version.out, "catintake " CATTOOLS_VERSION "\n");
  EXPECT_TRUE(std::string_view(CATTOOLS_VERSION).find_first_not_of("0123456789.") ==
              std::string_view::npos);
}

TEST(Driver, InjectedWriteCloseAndRenameFailuresLeaveTheCatalog) {
  Fixture f;
  struct Case {
    testing_support::FaultPlan faults;
    std::string text;
  } cases[] = {{{.fail_write = 1}, "No space left on device"},
               {{.fail_sync = 1}, "Input/output error"},
               {{.fail_close = 1}, "Input/output error"},
               {{.fail_rename = 1}, "Input/output error"}};
  for (const Case& c : cases) {
    auto result = run_tool(run, f.args(), c.faults);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, "catintake - unable to create \"" + f.catalog + "\": " + c.text + "\n");
    EXPECT_EQ(result.out, "Imported language \"nl\" from " + f.input + "\n");
    EXPECT_EQ(read_file(f.catalog), CATALOG);
    // A new catalog is not created, and no temporary file stays behind.
    std::string fresh = f.dir / "new.cat";
    EXPECT_EQ(run_tool(run, {"catintake", fresh, "nl=" + f.input}, c.faults).exit_code, 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path()),
                            std::filesystem::directory_iterator()),
              2);
  }
}

TEST(Driver, AllocationFailuresReportAndWriteNothing) {
  Fixture f;
  write_file(f.dir / "de.xlf",
             "<xliff version=\"1.2\"><file source-language=\"en\" target-language=\"de\">"
             "<trans-unit id=\"1\"><source>Hello</source><target>Hallo</target></trans-unit>"
             "</file></xliff>");
  cattools::Args args = {"catintake", f.catalog, "nl=" + f.input, f.dir / "de.xlf"};
  long clean = for_each_allocation_failure(run, args, [&](long n, const auto& result) {
    EXPECT_EQ(result.exit_code, 1) << n;
    // The report itself may be cut where the error stream ran out of memory.
    EXPECT_TRUE(result.err.starts_with("catintake - ")) << n << ": " << result.err;
    // Only a failure in printing the final line comes after the catalog was written.
    if (result.out.find("catalog") == std::string::npos) {
      EXPECT_EQ(read_file(f.catalog), CATALOG) << n;
    }
    write_file(f.catalog, CATALOG);
  });
  EXPECT_GT(clean, 10);
}

TEST(Driver, AnUnreadableCatalogIsRefusedNotOverwritten) {
  if (testing_support::is_root()) GTEST_SKIP() << "root reads every file";
  Fixture f;
  ::chmod(f.catalog.c_str(), 0200);
  auto result = run_tool(run, f.args());
  ::chmod(f.catalog.c_str(), 0600);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err,
            "catintake - unable to open file \"" + f.catalog + "\": Permission denied\n");
  EXPECT_EQ(read_file(f.catalog), CATALOG);
}

TEST(Driver, ALinkedCatalogIsRewrittenAtItsTarget) {
  Fixture f;
  std::string link = f.dir / "link.cat";
  ASSERT_EQ(::symlink("app.cat", link.c_str()), 0);
  auto result = run_tool(run, {"catintake", link, "nl=" + f.input});
  EXPECT_EQ(result.exit_code, 0);
  struct stat st {};
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(read_file(f.catalog), "# kept\nen: Hello\nnl: Hallo\n");
}

TEST(Driver, KeyLanguageFromTheFirstLanguageLineOfTheCatalog) {
  Fixture f;
  write_file(f.catalog, "\xEF\xBB\xBF# c\n\n//: no\nen : no\nfr-CA: Bonjour\n");
  write_file(f.input, "msgid \"Bonjour\"\nmsgstr \"Hallo\"\n");
  auto result = run_tool(run, f.args());
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(read_file(f.catalog), "# c\n\n//: no\nen : no\nfr-CA: Bonjour\nnl: Hallo\n");
}

}  // namespace
}  // namespace catintake

namespace catintake {
namespace {

TEST(Driver, ACodeWithALineBreakIsNoCodeAndNothingIsWritten) {
  Fixture f;
  for (std::string prefix : {"d\ne=", "n=", "\xC3\xA9x="}) {
    auto result = run_tool(run, {"catintake", f.catalog, prefix + f.input});
    EXPECT_EQ(result.exit_code, 1) << prefix;
    EXPECT_EQ(result.err, "catintake - no language code or invalid language code.\n") << prefix;
    EXPECT_EQ(read_file(f.catalog), CATALOG);
  }
}

}  // namespace
}  // namespace catintake
