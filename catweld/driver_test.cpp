#include "catweld/driver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace catweld {
namespace {

using testing_support::FaultPlan;
using testing_support::for_each_allocation_failure;
using testing_support::read_file;
using testing_support::run_tool;
using testing_support::RunResult;
using testing_support::ScratchDir;
using testing_support::write_file;

const std::string kMain =
    "// menu\nen: Open\nde: \xC3\x96"
    "ffnen\n\nen: Close\n";
const std::string kSub = "en: Open\nfr: Ouvrir\n#ec83c8b1\nfr: Fermer\n";
const std::string kMerged =
    "en: Open\nde: \xC3\x96"
    "ffnen\nfr: Ouvrir\n\nen: Close\nfr: Fermer\n\n";

class DriverRun : public ::testing::Test {
 protected:
  void SetUp() override {
    write_file(dir / "app.cat", kMain);
    write_file(dir / "extra.sub", kSub);
  }
  RunResult weld(const FaultPlan& faults = {}) {
    return run_tool(run, {"catweld", dir / "app.cat", dir / "extra.sub"}, faults);
  }
  size_t files_in_dir() const {
    auto entries = std::filesystem::directory_iterator(dir.path());
    return static_cast<size_t>(std::distance(begin(entries), end(entries)));
  }
  // Removes files other than the two inputs; returns how many there were.
  size_t remove_temporary_files() const {
    size_t removed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      std::string name = entry.path().filename().string();
      if (name != "app.cat" && name != "extra.sub")
        removed += std::filesystem::remove(entry.path());
    }
    return removed;
  }
  ScratchDir dir;
};

TEST_F(DriverRun, RewritesTheCatalogAndSaysNothing) {
  RunResult result = weld();
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(read_file(dir / "app.cat"), kMerged);
  EXPECT_EQ(files_in_dir(), 2u);
}

// A catalog large enough to reach the disk in several writes.
TEST_F(DriverRun, FailedWriteLeavesTheCatalogUntouched) {
  std::string big = kMain;
  for (int k = 0; k < 20000; ++k) big += "en: Message " + std::to_string(k) + "\nde: Nachricht\n";
  write_file(dir / "app.cat", big);
  for (int k = 1;; ++k) {
    RunResult result = weld({.fail_write = k});
    if (result.exit_code == 0) {
      EXPECT_GE(k, 5);  // every write failed once before
      break;
    }
    EXPECT_EQ(result.err, "Unable to create/rewrite the output file: No space left on device\n");
    EXPECT_EQ(read_file(dir / "app.cat"), big) << "write " << k;
    EXPECT_EQ(files_in_dir(), 2u) << "the temporary file stays after write " << k;
  }
}

TEST_F(DriverRun, FailedSyncCloseOrRenameLeavesTheCatalogUntouched) {
  for (FaultPlan faults :
       {FaultPlan{.fail_sync = 1}, FaultPlan{.fail_close = 1}, FaultPlan{.fail_rename = 1}}) {
    RunResult result = weld(faults);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, "Unable to create/rewrite the output file: Input/output error\n");
    EXPECT_EQ(read_file(dir / "app.cat"), kMain);
    EXPECT_EQ(files_in_dir(), 2u);
  }
}

TEST_F(DriverRun, AllocationFailuresAreReportedAndLeaveTheCatalogUntouched) {
  std::vector<long> leaks;
  long clean = for_each_allocation_failure(
      run, {"catweld", dir / "app.cat", dir / "extra.sub"}, [&](long n, const RunResult& result) {
        EXPECT_EQ(result.exit_code, 1) << "allocation " << n;
        EXPECT_EQ(result.err, "catweld - insufficient memory\n") << "allocation " << n;
        EXPECT_EQ(read_file(dir / "app.cat"), kMain) << "allocation " << n;
        if (remove_temporary_files() > 0) leaks.push_back(n);
      });
  EXPECT_GT(clean, 10);
  EXPECT_EQ(read_file(dir / "app.cat"), kMerged);
  EXPECT_TRUE(leaks.empty()) << "temporary file left behind by failing allocation " << leaks[0];
}

TEST_F(DriverRun, AllocationFailuresAfterWarningsStillEndInTheMemoryReport) {
  write_file(dir / "extra.sub", "#1\nfr: x\nen: Close\nfr: Fermer\nde: falsch\n");
  for_each_allocation_failure(
      run, {"catweld", dir / "app.cat", dir / "extra.sub"}, [&](long n, const RunResult& result) {
        EXPECT_EQ(result.exit_code, 1) << "allocation " << n;
        EXPECT_TRUE(result.err.ends_with("catweld - insufficient memory\n")) << result.err;
        EXPECT_EQ(read_file(dir / "app.cat"), kMain) << "allocation " << n;
        remove_temporary_files();
      });
}

TEST_F(DriverRun, KeepsPermissionBitsAndFollowsALink) {
  ASSERT_EQ(::chmod((dir / "app.cat").c_str(), 0640), 0);
  ASSERT_EQ(::symlink("app.cat", (dir / "link.cat").c_str()), 0);
  RunResult result = run_tool(run, {"catweld", dir / "link.cat", dir / "extra.sub"});
  EXPECT_EQ(result.exit_code, 0);
  struct stat st;
  ASSERT_EQ(::lstat((dir / "link.cat").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(::stat((dir / "app.cat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(read_file(dir / "app.cat"), kMerged);
}

TEST_F(DriverRun, UnreadableInputsEndTheRunBeforeAnythingIsWritten) {
  std::string missing = dir / "missing.sub";
  RunResult result = run_tool(run, {"catweld", dir / "app.cat", dir / "extra.sub", missing});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "catweld - unable to open file \"" + missing + "\"\n");
  EXPECT_EQ(read_file(dir / "app.cat"), kMain);
  result = run_tool(run, {"catweld", dir.path(), dir / "extra.sub"});
  EXPECT_EQ(result.err, "catweld - catalog file \"" + dir.path() + "\" cannot be read\n");
  EXPECT_EQ(result.exit_code, 1);
}

TEST_F(DriverRun, SyntaxErrorLeavesTheCatalogUntouched) {
  write_file(dir / "app.cat", "en[1]: one\nen: A\n");
  RunResult result = weld();
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "catweld - error in the catalog syntax\n");
  EXPECT_EQ(read_file(dir / "app.cat"), "en[1]: one\nen: A\n");
}

const std::string kUsageText =
    "catweld - include sub-catalogs into a main catalog\n\nUsage:\tcatweld <catalog> <input1> "
    "[input2 [...]]\n\t<catalog>\tthe filename of the destination file\n\t<input1>\tthe "
    "filename of the first source file\nMore filenames of catalogs may follow\n";

TEST(DriverUsage, FewerThanTwoFilesPrintTheUsage) {
  for (const cattools::Args& args :
       {cattools::Args{}, cattools::Args{"catweld"}, cattools::Args{"catweld", "a"}}) {
    RunResult result = run_tool(run, args);
    EXPECT_EQ(result.exit_code, 1) << args.size();
    EXPECT_EQ(result.err, kUsageText);
    EXPECT_EQ(result.out, "");
  }
}

TEST(DriverUsage, AnyOtherOptionAnywhereIsNamedBeforeTheUsage) {
  ScratchDir dir;
  write_file(dir / "app.cat", "en: A\n");
  std::string cat = dir / "app.cat";
  const std::vector<std::pair<cattools::Args, std::string>> cases = {
      {{"catweld", "--version=1"}, "catweld - --version=1: unknown option\n"},
      {{"catweld", "-"}, "catweld - -: unknown option\n"},
      {{"catweld", cat, "-x", "--y"}, "catweld - -x: unknown option\n"},
      {{"catweld", "--help", "--help"}, "catweld - --help: an option that must stand alone\n"},
  };
  for (const auto& [args, report] : cases) {
    RunResult result = run_tool(run, args);
    EXPECT_EQ(result.exit_code, 1) << args[1];
    EXPECT_EQ(result.err, report + kUsageText);
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(read_file(dir / "app.cat"), "en: A\n");
}

TEST(DriverUsage, HelpAndVersionAloneGoToStandardOutput) {
  RunResult help = run_tool(run, {"catweld", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_EQ(help.out, kUsageText);
  EXPECT_EQ(help.err, "");
  RunResult version = run_tool(run, {"catweld", "--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "catweld " CATTOOLS_VERSION "\n");
  EXPECT_EQ(version.err, "");
}

TEST(DriverUsage, HelpOrVersionWithFilesAreUsageErrors) {
  ScratchDir dir;
  write_file(dir / "app.cat", "en: A\n");
  RunResult result = run_tool(run, {"catweld", "--help", dir / "app.cat"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "catweld - --help: an option that must stand alone\n" + kUsageText);
  result = run_tool(run, {"catweld", dir / "app.cat", dir / "app.cat", "--version"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "catweld - --version: an option that must stand alone\n" + kUsageText);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(read_file(dir / "app.cat"), "en: A\n");
}

// A standard output that takes nothing, like a full disk.
class RefusingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(DriverUsage, HelpAndVersionFailWhenStandardOutputFails) {
  for (const char* option : {"--help", "--version"}) {
    RefusingBuffer refusing;
    std::ostream out(&refusing);
    std::ostringstream err;
    cattools::Console console{out, err};
    EXPECT_EQ(run({"catweld", option}, console), 1) << option;
  }
}

TEST(DriverUsage, HelpAndVersionSurviveAllocationFailures) {
  for (const char* option : {"--help", "--version"}) {
    for_each_allocation_failure(run, {"catweld", option}, [&](long n, const RunResult& result) {
      EXPECT_EQ(result.exit_code, 1) << option << " allocation " << n;
      EXPECT_EQ(result.err, "catweld - insufficient memory\n") << option << " allocation " << n;
    });
  }
}

}  // namespace
}  // namespace catweld
