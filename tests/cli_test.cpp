// Runs every command-line case under tests/cli/<tool>/<case>/ against the built tool.
//
// A case is a folder:
//   args            one argument per line (the program name is added); @DIR@ is the run folder
//   env             optional, NAME=VALUE lines added to the environment
//   setup           optional shell script run in the run folder before the tool, with
//                   CATTOOLS_SOURCE_DIR set to the source tree
//   skip_if_root    optional marker: permission checks do not hold for root
//   in/             files copied into a fresh run folder, which is the working directory
//   expect/stdout, expect/stderr   exact bytes (missing: empty)
//   expect/exit     the exit code (missing: 0)
//   expect/files/   files that must be in the run folder afterwards, byte for byte
//   expect/removed  optional, input files (one per line) the run may remove
// Every other file in the run folder must be an input file, unchanged. With
// CATTOOLS_UPDATE_CLI=1 in the environment the outputs are written into expect/ instead.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace fs = std::filesystem;
using testing_support::read_file;
using testing_support::ScratchDir;
using testing_support::write_file;

namespace {

struct CliCase {
  std::string tool;
  fs::path dir;
  std::string name;
};

void PrintTo(const CliCase& c, std::ostream* os) {
  *os << c.tool << "/" << c.dir.filename().string();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::string tool_binary(const std::string& tool) {
  static const std::map<std::string, std::string> binaries = {{"catweld", CATWELD_BIN},
                                                              {"catintake", CATINTAKE_BIN},
                                                              {"catprep", CATPREP_BIN},
                                                              {"catexport", CATEXPORT_BIN},
                                                              {"catcheck", CATCHECK_BIN}};
  auto found = binaries.find(tool);
  return found == binaries.end() ? std::string() : found->second;
}

std::vector<CliCase> all_cases() {
  std::vector<CliCase> cases;
  fs::path root = fs::path(testing_support::source_dir()) / "tests" / "cli";
  if (!fs::is_directory(root)) return cases;
  for (const auto& tool : fs::directory_iterator(root)) {
    if (!tool.is_directory()) continue;
    for (const auto& dir : fs::directory_iterator(tool.path())) {
      if (!dir.is_directory()) continue;
      std::string name = tool.path().filename().string() + "_" + dir.path().filename().string();
      std::replace_if(
          name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
      cases.push_back({tool.path().filename().string(), dir.path(), name});
    }
  }
  std::sort(cases.begin(), cases.end(), [](auto& a, auto& b) { return a.name < b.name; });
  return cases;
}

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs the tool in `run_dir` with the case's arguments and environment.
Outcome run_case(const CliCase& c, const std::string& run_dir, const std::string& capture_dir) {
  std::vector<std::string> args = {c.tool};
  for (auto& line : lines_of(read_file((c.dir / "args").string())))
    args.push_back(replace_all(line, "@DIR@", run_dir));
  std::vector<std::string> env = lines_of(read_file((c.dir / "env").string()));
  std::string out_path = capture_dir + "/stdout", err_path = capture_dir + "/stderr";
  std::string binary = tool_binary(c.tool);
  pid_t pid = ::fork();
  if (pid == 0) {
    int in = ::open("/dev/null", O_RDONLY);
    int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || ::chdir(run_dir.c_str()) != 0) ::_exit(127);
    ::dup2(in, 0), ::dup2(out, 1), ::dup2(err, 2);
    for (auto& assignment : env) ::putenv(assignment.data());
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(binary.c_str(), argv.data());
    ::_exit(127);
  }
  Outcome outcome;
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    outcome.exit_code = WEXITSTATUS(status);
  outcome.out = read_file(out_path);
  outcome.err = read_file(err_path);
  return outcome;
}

// Regular files and links below `root`, by path relative to it.
std::set<std::string> files_below(const fs::path& root) {
  std::set<std::string> files;
  if (!fs::is_directory(root)) return files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
    if (it->is_symlink() || it->is_regular_file())
      files.insert(fs::relative(it->path(), root).string());
  }
  return files;
}

std::string printable(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes.substr(0, 2000)) {
    if (c == '\n')
      shown += "\\n\n";
    else if (c == '\t')
      shown += "\\t";
    else if (c < 0x20 || c >= 0x7F)
      shown += "\\x" + std::string(1, "0123456789ABCDEF"[c >> 4]) +
               std::string(1, "0123456789ABCDEF"[c & 15]);
    else
      shown += static_cast<char>(c);
  }
  return bytes.size() > 2000 ? shown + "..." : shown;
}

void expect_bytes(const std::string& what, const std::string& expected, const std::string& actual) {
  EXPECT_TRUE(expected == actual) << what << " differs.\n--- expected:\n"
                                  << printable(expected) << "\n--- actual:\n"
                                  << printable(actual);
}

std::string link_or_file(const fs::path& path) {
  if (fs::is_symlink(path)) return "-> " + fs::read_symlink(path).string();
  return read_file(path.string());
}

void check_files(const CliCase& c, const fs::path& run_dir) {
  fs::path in = c.dir / "in", expected = c.dir / "expect" / "files";
  std::set<std::string> removable;
  for (auto& line : lines_of(read_file((c.dir / "expect" / "removed").string())))
    removable.insert(line);
  std::set<std::string> present = files_below(run_dir);
  for (const auto& name : present) {
    if (fs::exists(expected / name) || fs::is_symlink(expected / name))
      expect_bytes("file " + name, link_or_file(expected / name), link_or_file(run_dir / name));
    else if (fs::exists(in / name) || fs::is_symlink(in / name))
      expect_bytes("input file " + name, link_or_file(in / name), link_or_file(run_dir / name));
    else
      ADD_FAILURE() << "unexpected file " << name << ":\n"
                    << printable(link_or_file(run_dir / name));
  }
  for (const auto& name : files_below(expected))
    EXPECT_TRUE(present.count(name)) << "missing file " << name;
  for (const auto& name : files_below(in))
    EXPECT_TRUE(present.count(name) || removable.count(name)) << "input file removed: " << name;
}

void update_expectations(const CliCase& c, const fs::path& run_dir, const Outcome& outcome) {
  fs::path expect = c.dir / "expect";
  fs::create_directories(expect);
  auto store = [&](const std::string& name, const std::string& bytes) {
    if (bytes.empty())
      fs::remove(expect / name);
    else
      write_file((expect / name).string(), bytes);
  };
  store("stdout", outcome.out);
  store("stderr", outcome.err);
  store("exit", outcome.exit_code == 0 ? "" : std::to_string(outcome.exit_code) + "\n");
  fs::remove_all(expect / "files");
  for (const auto& name : files_below(run_dir)) {
    std::string now = read_file((run_dir / name).string());
    if (fs::exists(c.dir / "in" / name) && read_file((c.dir / "in" / name).string()) == now)
      continue;
    fs::create_directories((expect / "files" / name).parent_path());
    write_file((expect / "files" / name).string(), now);
  }
}

class CliCaseTest : public ::testing::TestWithParam<CliCase> {};

TEST_P(CliCaseTest, MatchesExpectedOutput) {
  const CliCase& c = GetParam();
  if (fs::exists(c.dir / "skip_if_root") && testing_support::is_root())
    GTEST_SKIP() << "permission checks always pass for root";
  ASSERT_FALSE(tool_binary(c.tool).empty()) << "no tool named " << c.tool;
  ScratchDir run_dir, capture_dir;
  if (fs::exists(c.dir / "in"))
    fs::copy(c.dir / "in", run_dir.path(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  if (fs::exists(c.dir / "setup")) {
    // The script may take shipped files from the source tree.
    std::string command = "cd '" + run_dir.path() + "' && CATTOOLS_SOURCE_DIR='" +
                          testing_support::source_dir() + "' sh '" + (c.dir / "setup").string() +
                          "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "setup failed";
  }
  Outcome outcome = run_case(c, run_dir.path(), capture_dir.path());
  std::system(("chmod -R u+rwX '" + run_dir.path() + "'").c_str());
  if (std::getenv("CATTOOLS_UPDATE_CLI") != nullptr) {
    update_expectations(c, run_dir.path(), outcome);
    return;
  }
  std::string exit_text = read_file((c.dir / "expect" / "exit").string());
  EXPECT_EQ(outcome.exit_code, exit_text.empty() ? 0 : std::atoi(exit_text.c_str()));
  expect_bytes("stdout", read_file((c.dir / "expect" / "stdout").string()), outcome.out);
  expect_bytes("stderr", read_file((c.dir / "expect" / "stderr").string()), outcome.err);
  check_files(c, run_dir.path());
}

INSTANTIATE_TEST_SUITE_P(Cases, CliCaseTest, ::testing::ValuesIn(all_cases()),
                         [](const auto& info) { return info.param.name; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CliCaseTest);

}  // namespace
