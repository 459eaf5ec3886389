#include "platform/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace cattools {
namespace {

using testing_support::ScratchDir;
namespace fs = std::filesystem;

size_t entries_in(const std::string& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

IoStatus rewrite(const std::string& path, std::string_view text, const FaultPlan& faults = {}) {
  OutputFile file;
  IoStatus status = OutputFile::replace(path, faults, file);
  if (!status.ok()) return status;
  for (char c : text) file.put(c);
  return file.commit();
}

TEST(ReadFile, ReadsBytesAndReportsMissingFilesAndDirectories) {
  ScratchDir dir;
  testing_support::write_file(dir / "f", std::string("a\0\r\n", 4));
  std::string contents;
  EXPECT_TRUE(read_file(dir / "f", contents).ok());
  EXPECT_EQ(contents, std::string("a\0\r\n", 4));
  EXPECT_EQ(read_file(dir / "missing", contents).error, ENOENT);
  IoStatus on_directory = read_file(dir.path(), contents);
  EXPECT_EQ(on_directory.error, EISDIR);
  EXPECT_EQ(on_directory.text(), "Is a directory");
}

TEST(ReplacingFile, ReplacesTheTargetKeepingItsModeAndLeavesNoTemporaryFile) {
  ScratchDir dir;
  testing_support::write_file(dir / "cat", "old");
  ::chmod((dir / "cat").c_str(), 0640);
  ASSERT_TRUE(rewrite(dir / "cat", "new text").ok());
  EXPECT_EQ(testing_support::read_file(dir / "cat"), "new text");
  struct stat st;
  ASSERT_EQ(::stat((dir / "cat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(ReplacingFile, CreatesAMissingTarget) {
  ScratchDir dir;
  ASSERT_TRUE(rewrite(dir / "new", "x").ok());
  EXPECT_EQ(testing_support::read_file(dir / "new"), "x");
}

TEST(ReplacingFile, RewritesTheTargetOfALinkAndKeepsTheLink) {
  ScratchDir dir;
  testing_support::write_file(dir / "real", "old");
  fs::create_symlink("real", dir / "link");
  ASSERT_TRUE(rewrite(dir / "link", "new").ok());
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_EQ(testing_support::read_file(dir / "real"), "new");
}

TEST(ReplacingFile, AnyInjectedFailureLeavesTheOriginalUntouched) {
  FaultPlan plans[4];
  plans[0].fail_write = 1;
  plans[1].fail_write = 3;
  plans[2].fail_close = true;
  plans[3].fail_rename = true;
  for (const FaultPlan& plan : plans) {
    ScratchDir dir;
    testing_support::write_file(dir / "cat", "original");
    IoStatus status = rewrite(dir / "cat", "replacement", plan);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(testing_support::read_file(dir / "cat"), "original");
    EXPECT_EQ(entries_in(dir.path()), 1u) << "temporary file left behind";
  }
}

TEST(ReplacingFile, InjectedWriteFailureSticksAndNamesTheCause) {
  ScratchDir dir;
  FaultPlan plan;
  plan.fail_write = 2;
  OutputFile file;
  ASSERT_TRUE(OutputFile::replace(dir / "cat", plan, file).ok());
  EXPECT_TRUE(file.write("one").ok());
  EXPECT_EQ(file.write("two").text(), "No space left on device");
  EXPECT_FALSE(file.write("three").ok());
  EXPECT_FALSE(file.commit().ok());
}

TEST(ReplacingFile, RefusesADirectoryAndAnUnwritableTarget) {
  ScratchDir dir;
  EXPECT_EQ(rewrite(dir.path(), "x").error, EISDIR);
  if (testing_support::is_root()) GTEST_SKIP() << "root may write anything";
  testing_support::write_file(dir / "ro", "keep");
  ::chmod((dir / "ro").c_str(), 0444);
  EXPECT_EQ(rewrite(dir / "ro", "x").error, EACCES);
  EXPECT_EQ(testing_support::read_file(dir / "ro"), "keep");
}

TEST(CreatedFile, KeepsWhatWasWrittenWhenNotCommitted) {
  ScratchDir dir;
  {
    OutputFile file;
    ASSERT_TRUE(OutputFile::create(dir / "out", {}, file).ok());
    file.write("partial");
  }
  EXPECT_EQ(testing_support::read_file(dir / "out"), "partial");
  OutputFile file;
  EXPECT_EQ(OutputFile::create(dir.path(), {}, file).error, EISDIR);
}

}  // namespace
}  // namespace cattools
