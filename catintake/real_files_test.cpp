// Imports the real-world PO and XLIFF files kept beside the source tree (skipped when they are
// not there) and checks the catalogs against an independent reading of the same files.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include <gtest/gtest.h>

#include "catalog/language_code.h"
#include "catintake/driver.h"
#include "tests/support/test_support.h"

namespace catintake {
namespace {

namespace fs = std::filesystem;
using testing_support::read_file;
using testing_support::run_tool;
using testing_support::ScratchDir;

fs::path real_dir() {
  return fs::path(testing_support::source_dir()) / ".." / "shared" / "data" / "real";
}

std::vector<std::string> real_files() {
  std::vector<std::string> files;
  for (const char* kind : {"po", "xliff"}) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(real_dir() / kind, error))
      if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  // Without the samples one case stands for them all and says why it is skipped.
  if (files.empty()) files.push_back("");
  return files;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  if (start < text.size()) parts.push_back(text.substr(start));
  return parts;
}

// What the oracle script prints for `file`, or nothing with `readable` false when it cannot
// read the file (or the interpreter is missing).
std::string oracle_output(const std::string& file, bool& readable) {
  std::string script = testing_support::source_dir() + "/tests/support/real_files_oracle.py";
  std::string command = "/usr/bin/python3 '" + script + "' '" + file + "' 2>/dev/null";
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return readable = false, output;
  char chunk[1 << 14];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, got);
  readable = ::pclose(pipe) == 0;
  return output;
}

// The runs of lines the oracle expects that the catalog does not hold in that order.
std::vector<std::string> missing_runs(const std::string& catalog, const std::string& expected) {
  std::string normal;
  for (char byte : catalog) normal += byte == '\t' ? std::string("\\t") : std::string(1, byte);
  std::vector<std::string> lines = split(normal, '\n');
  std::unordered_multimap<std::string, size_t> where;
  for (size_t i = 0; i < lines.size(); ++i) where.emplace(lines[i], i);
  std::vector<std::string> missing;
  for (const std::string& block : split(expected, '\x1e')) {
    std::vector<std::string> run = split(block.substr(block.starts_with('\n') ? 1 : 0), '\n');
    if (run.empty()) continue;
    auto [first, last] = where.equal_range(run[0]);
    bool found = false;
    for (auto it = first; it != last && !found; ++it) {
      found = it->second + run.size() <= lines.size() &&
              std::equal(run.begin(), run.end(),
                         lines.begin() + static_cast<std::ptrdiff_t>(it->second));
    }
    if (!found) missing.push_back(block);
  }
  return missing;
}

class RealFile : public ::testing::TestWithParam<std::string> {};

TEST_P(RealFile, ImportsStablyAndAsAnIndependentReaderReadsIt) {
  const std::string& file = GetParam();
  if (file.empty())
    GTEST_SKIP() << "the real-file samples are missing: " << real_dir().string()
                 << " (the folder shared/ beside the checkout)";
  ScratchDir dir;
  cattools::Args args = {"catintake", "en=" + (dir / "c.cat"), "xx=" + file};
  auto first = run_tool(run, args);
  ASSERT_EQ(first.exit_code, 0) << first.err;
  std::string catalog = read_file(dir / "c.cat");
  auto second = run_tool(run, args);
  EXPECT_EQ(second.exit_code, 0);
  EXPECT_EQ(second.out.find("Merged with existing catalog"), second.out.find("Merged"));
  EXPECT_EQ(read_file(dir / "c.cat"), catalog) << "the second import changed the catalog";
  EXPECT_EQ(second.err.find("key message"), std::string::npos) << second.err;

  bool readable = false;
  std::string expected = oracle_output(file, readable);
  if (!readable) GTEST_SKIP() << "the independent reader rejects " << file;
  std::vector<std::string> missing = missing_runs(catalog, expected);
  EXPECT_TRUE(missing.empty()) << missing.size() << " runs missing, first:\n" << missing[0];
}

INSTANTIATE_TEST_SUITE_P(Samples, RealFile, ::testing::ValuesIn(real_files()),
                         [](const auto& info) {
                           std::string name = fs::path(info.param).filename().string();
                           if (name.empty()) return std::string("samples_missing");
                           for (char& c : name)
                             if (!catalog::is_ascii_alnum(c)) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace catintake
