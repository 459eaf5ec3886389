#include "catprep/driver.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "catprep/build_date.h"
#include "tests/support/catprep_template_run.h"
#include "tests/support/test_support.h"

namespace catprep {
namespace {

using testing::preprocess;
using testing_support::ScratchDir;

const std::string kUsage =
    "catprep - C/C++ source preprocessor for Tavelle catalogs\n\n"
    "Usage:\tcatprep [-Dname[=value]] [-r] [-s] <output> <input>\n\n"
    "\t<output>\tthe filename of the destination file (a catalog file)\n"
    "\t<input>\t\tthe filename of the catalog template file\n"
    "\t-Dname[=value]\tpredefine macro\n"
    "\t-r\t\tstrip comments from the output file\n"
    "\t-s\t\tremove empty lines and leading spaces\n";

testing_support::RunResult run_args(const cattools::Args& args) {
  return testing_support::run_tool(
      [](const cattools::Args& a, cattools::Console& c) { return run(a, c); }, args);
}

TEST(CommandLine, UsageErrors) {
  for (cattools::Args args : {cattools::Args{"catprep", "out.cat"},
                              {"catprep", "a", "b", "c"},
                              {"catprep", "-S", "a", "b"},
                              {"catprep", "-d", "a", "b"},
                              {"catprep", "-", "a", "b"},
                              {"catprep", "-DN+1", "a", "b"},
                              {"catprep", "/s", "a", "b"}}) {
    auto r = run_args(args);
    EXPECT_EQ(r.out, kUsage) << args[1];
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.err, "");
  }
}

TEST(CommandLine, HelpAndVersionAloneSucceed) {
  auto r = run_args({"catprep", "--help"});
  EXPECT_EQ(r.out, kUsage);
  EXPECT_EQ(r.exit_code, 0);
  r = run_args({"catprep", "--version"});
  EXPECT_EQ(r.out, "catprep " CATTOOLS_VERSION "\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
}

// Beside other arguments they are bad options, as before.
TEST(CommandLine, HelpAndVersionWithOtherArgumentsAreUsageErrors) {
  for (cattools::Args args : {cattools::Args{"catprep", "--help", "in.tpl"},
                              {"catprep", "out.cat", "--version"},
                              {"catprep", "--help", "--version"},
                              {"catprep", "--helpx"},
                              {"catprep", "-version"}}) {
    auto r = run_args(args);
    EXPECT_EQ(r.out, kUsage) << args[1];
    EXPECT_EQ(r.exit_code, 1);
  }
}

TEST(CommandLine, NoInputFileNamesTheProgram) {
  auto r = run_args({"bin/catprep", "-r", "out.cat"});
  EXPECT_EQ(r.out, "bin/catprep: No input file\n");
  EXPECT_EQ(r.exit_code, 1);
  r = run_args({"catprep", "/s", "-r"});  // a name that begins with '/' is a file name
  EXPECT_EQ(r.out, "catprep: No input file\n");
}

TEST(CommandLine, OptionLettersAndDefinitions) {
  auto r = preprocess("  A|B|C|N|_TAVELLE\n\n", {"-sx", "-DA", "-DB=", "-DC=a=b", "-D_TAVELLE=0"});
  EXPECT_EQ(r.output, "||a=b|N|0\n");
  r = preprocess("N\n", {"-DN=x", "-DN=y"});
  EXPECT_EQ(r.output, "x\n");
  EXPECT_EQ(r.out, "done, no errors\n");
}

TEST(CommandLine, TheThousandAndFirstDefinitionStopsTheRun) {
  cattools::Args args = {"catprep"};
  for (int k = 0; k < 1001; ++k) args.push_back("-DM" + std::to_string(k));
  args.push_back("out");
  args.push_back("in");
  auto r = run_args(args);
  EXPECT_EQ(r.out, "too many defines\n");
  EXPECT_EQ(r.exit_code, 1);
}

TEST(CommandLine, AFullTableRefusesThePredefinedMacros) {
  std::vector<std::string> options;
  options.reserve(999);
  for (int k = 0; k < 999; ++k) options.push_back("-DM" + std::to_string(k));
  auto r = preprocess("_TAVELLE _DATE_\n", options);
  EXPECT_EQ(r.out, "t.tpl:0: too many defines\nt.tpl:0: too many defines\nsummary: 2 error(s)\n");
  EXPECT_EQ(r.output, "1 _DATE_\n");
}

TEST(DateMacro, FromSourceDateEpochElseTheLocalDate) {
  EXPECT_EQ(date_macro_value("1394000000", 0), "\"(Mar 05 2014) \"");
  EXPECT_EQ(date_macro_value("0", 0), "\"(Jan 01 1970) \"");
  std::string local = date_macro_value(nullptr, 1394000000);
  EXPECT_EQ(local.size(), 16u);
  EXPECT_EQ(local.substr(0, 6), "\"(Mar ");
  for (const char* bad : {"", "12x", "-5", "99999999999999999999999"})
    EXPECT_EQ(date_macro_value(bad, 1394000000), local) << bad;
}

TEST(Output, BlankLinesAndEmptyExpansions) {
  std::string text = "  \n\tx\n#define E\nE\n  E\n";
  EXPECT_EQ(preprocess(text).output, "\n\tx\n\n  \n");
  EXPECT_EQ(preprocess(text, {"-s"}).output, "x\n");
}

TEST(Output, StrippingCutsLineCommentsButNeverBlockComments) {
  std::string text = "abc // note\n\"a//b\" // c\n/* x */ abc\n";
  EXPECT_EQ(preprocess(text, {"-r"}).output, "abc \n\"a//b\" \n/* x */ abc\n");
  EXPECT_EQ(preprocess(text).output, text);
}

TEST(Output, MultiLineMacrosKeepTheBlanksOfLaterLines) {
  auto r = preprocess("#begindef T\n a\n  b\n c\n#enddef\n  T\n", {"-s"});
  EXPECT_EQ(r.output, "a\n  b\n c\n");
}

TEST(Output, ErrorsAreCountedAndTheOutputCompleted) {
  auto r = preprocess("#foo\n#endif\nx\n#else\ny\n");
  EXPECT_EQ(r.out.substr(r.out.rfind("summary")), "summary: 3 error(s)\n");
  EXPECT_EQ(r.output, "x\ny\n");
  EXPECT_EQ(r.exit_code, 1);
}

TEST(Output, AFailedWriteSyncCloseOrRenameStopsTheRun) {
  for (testing_support::FaultPlan faults :
       {testing_support::FaultPlan{.fail_write = 1}, testing_support::FaultPlan{.fail_sync = 1},
        testing_support::FaultPlan{.fail_close = 1},
        testing_support::FaultPlan{.fail_rename = 1}}) {
    auto r = preprocess("a\n\nc\n#msg after\n", {}, {}, faults);
    EXPECT_EQ(r.out, "after\ncan't write to outputfile\n");
    EXPECT_EQ(r.exit_code, 1);
  }
}

TEST(Files, IncludesResolveAgainstTheInputDirectory) {
  ScratchDir dir;
  std::filesystem::create_directories(dir / "tpl/sub");
  testing_support::write_file(dir / "tpl/main.tpl",
                              "#include \"sub/x.h\"\n#include \"y.h\"\nX Y\n");
  testing_support::write_file(dir / "tpl/sub/x.h", "#define X 1\n");
  testing_support::write_file(dir / "tpl/y.h", "#define Y 2\n");
  auto r = run_args({"catprep", dir / "out.cat", dir / "tpl/main.tpl"});
  EXPECT_EQ(r.out, "done, no errors\n");
  EXPECT_EQ(testing_support::read_file(dir / "out.cat"), "\n\n1 2\n");
  std::string absolute = "#include \"" + dir / "tpl/y.h" + "\"\nY\n";
  testing_support::write_file(dir / "abs.tpl", absolute);
  r = run_args({"catprep", dir / "out.cat", dir / "abs.tpl"});
  EXPECT_EQ(testing_support::read_file(dir / "out.cat"), "\n2\n");
}

TEST(Files, MissingOrDirectoryInputsAndIncludes) {
  ScratchDir dir;
  auto r = run_args({"catprep", dir / "out.cat", dir / "missing"});
  EXPECT_EQ(r.out, "can't open inputfile\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "out.cat"));
  r = run_args({"catprep", dir / "out.cat", dir.path()});
  EXPECT_EQ(r.out, "can't open inputfile\n");
  testing_support::write_file(dir / "t.tpl", "#include \"\"\n");
  r = run_args({"catprep", dir / "out.cat", dir / "t.tpl"});
  EXPECT_EQ(r.out, dir / "t.tpl" + ":1: can't open include file \"\"\nsummary: 1 error(s)\n");
  r = run_args({"catprep", dir / "none/out.cat", dir / "t.tpl"});
  EXPECT_EQ(r.out, "can't write to outputfile\n");
}

// Every stop before the end of the run keeps the previous output byte for byte; a run that
// ends, with counted errors or without, replaces it.
TEST(SafeOutput, ThePreviousOutputIsKeptByEveryStopAndReplacedAtTheEnd) {
  ScratchDir dir;
  const std::string previous = "en: Previous catalog\n";
  for (std::string stop : {"#error x\n",
                           "#if A\n#if A\n#if A\n#if A\n#if A\n#if A\n#if A\n"
                           "#if A\n#if A\n#if A\n",
                           "#include \"t.tpl\"\n"}) {
    testing_support::write_file(dir / "out.cat", previous);
    testing_support::write_file(dir / "t.tpl", "written\n" + stop + "after\n");
    auto r = run_args({"catprep", dir / "out.cat", dir / "t.tpl"});
    EXPECT_EQ(r.exit_code, 1) << stop;
    EXPECT_EQ(testing_support::read_file(dir / "out.cat"), previous) << r.out;
  }
  testing_support::write_file(dir / "t.tpl", "#foo\nnew\n");
  auto r = run_args({"catprep", dir / "out.cat", dir / "t.tpl"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(testing_support::read_file(dir / "out.cat"), "new\n");
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();  // no temporary file
}

// Refused before anything is read: a missing template is not what the report names.
TEST(SafeOutput, ADanglingLinkOrAFifoIsRefusedBeforeTheTemplateIsRead) {
  ScratchDir dir;
  std::filesystem::create_symlink(dir / "none.cat", dir / "dangling.cat");
  auto r = run_args({"catprep", dir / "dangling.cat", dir / "missing.tpl"});
  EXPECT_EQ(r.out, dir / "dangling.cat" + ": not written: Dangling symbolic link\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "none.cat"));
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  r = run_args({"catprep", dir / "fifo", dir / "missing.tpl"});
  EXPECT_EQ(r.out, dir / "fifo" + ": not written: Not a regular file\n");
}

// The same file under another name is the same file: a hard link to the template, or a link
// to an included file.
TEST(SafeOutput, AnOutputThatIsASourceUnderAnotherNameIsRefused) {
  ScratchDir dir;
  testing_support::write_file(dir / "t.tpl", "#include \"inc\"\nx\n");
  testing_support::write_file(dir / "real.inc", "#define X 1\n");
  std::filesystem::create_hard_link(dir / "t.tpl", dir / "hard.cat");
  auto r = run_args({"catprep", dir / "hard.cat", dir / "t.tpl"});
  EXPECT_EQ(r.out, dir / "hard.cat" + ": not written: it is the template " + dir / "t.tpl" + "\n");
  std::filesystem::create_symlink(dir / "real.inc", dir / "inc");
  r = run_args({"catprep", dir / "real.inc", dir / "t.tpl"});
  EXPECT_EQ(r.out, dir / "real.inc" + ": not written: it is the included file inc\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(testing_support::read_file(dir / "real.inc"), "#define X 1\n");
  EXPECT_EQ(testing_support::read_file(dir / "t.tpl"), "#include \"inc\"\nx\n");
}

// Reads from disk, and records whether another run could take the lock of the output's
// directory while the template is read.
class LockProbe final : public SourceFiles {
 public:
  explicit LockProbe(std::string directory) : directory_(std::move(directory)) {}
  cattools::IoStatus read_input(const std::string& name, std::string& bytes,
                                Identity& identity) override {
    int fd = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY);
    locked_while_read = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    if (fd >= 0) ::close(fd);
    return disk_.read_input(name, bytes, identity);
  }
  cattools::IoStatus read_include(const std::string& name, std::string& bytes,
                                  Identity& identity) override {
    return disk_.read_include(name, bytes, identity);
  }
  bool locked_while_read = false;

 private:
  std::string directory_;
  DiskFiles disk_;
};

TEST(SafeOutput, TheOutputIsLockedFromBeforeTheTemplateIsRead) {
  ScratchDir dir;
  testing_support::write_file(dir / "t.tpl", "x\n");
  LockProbe files(dir.path());
  std::ostringstream out, err;
  cattools::Console console{out, err};
  EXPECT_EQ(run({"catprep", dir / "out.cat", dir / "t.tpl"}, console, files), 0);
  EXPECT_TRUE(files.locked_while_read);
  EXPECT_EQ(testing_support::read_file(dir / "out.cat"), "x\n");
}

// The console's buffer is reserved beforehand, so that every failing allocation is one of the
// run's own and none is swallowed by the stream.
TEST(OutOfMemory, EveryFailedAllocationEndsTheRunWithTheReport) {
  ScratchDir dir;
  testing_support::write_file(dir / "t.tpl",
                              "#define F(a) <a>\n#begindef M\nx F(1)\n#enddef\n#include \"i\"\n"
                              "M F(2) _DATE_\n#if X\n#endif\n#foo\n");
  testing_support::write_file(dir / "i", "#define Y 2 // c\n#undef Y\n#foo\n");
  cattools::Args args = {"catprep", "-DA=1", dir / "out.cat", dir / "t.tpl"};
  long n = 1;
  for (;; ++n) {
    std::string buffer;
    buffer.reserve(1 << 16);
    std::ostringstream out(std::move(buffer)), err;
    cattools::Console console{out, err};
    int code = 0;
    long seen = 0;
    {
      testing_support::AllocationFailure failure(n);
      code = run(args, console);
      seen = testing_support::AllocationFailure::allocations_seen();
    }
    if (seen < n) break;
    EXPECT_EQ(code, 1) << n;
    EXPECT_TRUE(out.str().ends_with("out of memory\n")) << n << ": " << out.str();
  }
  EXPECT_GT(n, 20);
}

}  // namespace
}  // namespace catprep
