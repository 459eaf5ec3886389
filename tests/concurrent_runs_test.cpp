// Runs of the tools that rewrite one catalog at the same time: each waits for the one before
// it, so that no update is lost.

#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

using testing_support::read_file;
using testing_support::ScratchDir;
using testing_support::write_file;

pid_t start(const std::string& binary, std::vector<std::string> args) {
  pid_t pid = ::fork();
  if (pid == 0) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(binary.c_str(), argv.data());
    ::_exit(127);
  }
  return pid;
}

int wait_for(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Large enough that runs started together overlap.
std::string big_catalog() {
  std::string catalog = "en: Open\n\nen: Close\n";
  for (int k = 0; k < 50000; ++k) catalog += "\nen: Message " + std::to_string(k) + "\n";
  return catalog;
}

const char* const kLanguages[] = {"de", "fr", "it", "nl", "pl", "pt", "sv", "ja"};

TEST(ConcurrentRuns, EightImportsIntoOneCatalogKeepEveryLanguage) {
  ScratchDir dir;
  std::string catalog = dir / "app.cat";
  write_file(catalog, big_catalog());
  std::vector<pid_t> runs;
  for (const char* language : kLanguages) {
    std::string po = dir / (std::string(language) + ".po");
    write_file(po, "msgid \"Open\"\nmsgstr \"" + std::string(language) + " open\"\n");
    runs.push_back(start(CATINTAKE_BIN, {"catintake", catalog, std::string(language) + "=" + po}));
  }
  for (pid_t run : runs) EXPECT_EQ(wait_for(run), 0);
  std::string merged = read_file(catalog);
  for (const char* language : kLanguages)
    EXPECT_NE(merged.find(std::string(language) + ": " + language + " open\n"), std::string::npos)
        << language << " is lost:\n"
        << merged;
}

TEST(ConcurrentRuns, TwoWeldsOfTwoLanguagesKeepBoth) {
  ScratchDir dir;
  std::string catalog = dir / "app.cat";
  write_file(catalog, big_catalog());
  write_file(dir / "de.sub", "en: Open\nde: Offnen\n");
  write_file(dir / "fr.sub", "en: Open\nfr: Ouvrir\n");
  pid_t first = start(CATWELD_BIN, {"catweld", catalog, dir / "de.sub"});
  pid_t second = start(CATWELD_BIN, {"catweld", catalog, dir / "fr.sub"});
  EXPECT_EQ(wait_for(first), 0);
  EXPECT_EQ(wait_for(second), 0);
  std::string merged = read_file(catalog);
  EXPECT_TRUE(merged.starts_with("en: Open\nde: Offnen\nfr: Ouvrir\n\n") ||
              merged.starts_with("en: Open\nfr: Ouvrir\nde: Offnen\n\n"))
      << merged.substr(0, 100);
}

}  // namespace
