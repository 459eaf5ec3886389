// catcheck's figures of each language against those that the translators' tools give for the
// PO file catexport writes of that language, and its JSON against a real JSON parser. Each check
// is skipped, saying why, when its tool is missing.
//
// How the figures correspond. catexport writes one PO entry for each message that catcheck
// counts (of messages with one key text, the first), and a missing or an empty line as an empty
// msgstr. A plural entry's msgstr[0] is the language's [1] line and every other form its general
// line; a language of one form (ja) has only msgstr[0], the general line. gettext's msgfmt and
// Translate Toolkit's pocount alike count an entry as translated when its msgstr[0] holds text,
// whatever its other forms hold, and as untranslated otherwise: an empty translation is
// untranslated to them, as a missing one is. catcheck counts a message as translated when the
// language's general line holds text. So, with `general_only` the plural messages whose general
// line holds text and whose [1] line does not, and `one_only` the reverse:
//   tool's translated   = catcheck's translated - general_only + one_only
//   tool's untranslated = catcheck's missing + empty + general_only - one_only
// and the two add up to catcheck's messages. For a language of one form both are 0 and the
// figures are equal.

#include <map>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catcheck/driver.h"
#include "catexport/driver.h"
#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"

namespace catcheck {
namespace {

using testing_support::has_tool;
using testing_support::run_tool;
using testing_support::ScratchDir;
using testing_support::shell;
using testing_support::shell_quoted;

// Two plural messages; per language (File, Open, Quit, files, lines, Save):
//   de  text  text   empty  complete      general only (empty [1])   -
//   fr  text  empty  -      general only  one only (no general line)  text
//   ja  text  text   -      general       -                          -
//   pl  text  -      text   complete      one only (empty general)    -
// The second "en: File" is never reached: its lines count nowhere.
constexpr std::string_view kCatalog =
    "en: File\nde: Datei\nfr: Fichier\nja: \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\n"
    "pl: Plik\n\n"
    "en: Open\nde: \xC3\x96"
    "ffnen\nfr:\nja: \xE9\x96\x8B\xE3\x81\x8F\n\n"
    "en: Quit\nde:\npl: Zako\xC5\x84"
    "cz\n\n"
    "en: %d files\nen[1]: %d file\nde: %d Dateien\nde[1]: %d Datei\nfr: %d fichiers\n"
    "ja: %d \xE5\x80\x8B\npl: %d plik\xC3\xB3w\npl[1]: %d plik\n\n"
    "en: %d lines\nen[1]: %d line\nde: %d Zeilen\nde[1]:\nfr[1]: %d ligne\npl:\n"
    "pl[1]: %d wiersz\n\n"
    "en: File\nde: Datei2\nfr: Fichier2\nja: \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB"
    "2\npl: Plik2\n\n"
    "en: Save\nfr: Enregistrer\n";

struct Language {
  std::string code;
  int general_only = 0;
  int one_only = 0;
};

const std::vector<Language> kLanguages = {{"de", 1, 0}, {"fr", 1, 1}, {"ja", 0, 0}, {"pl", 0, 1}};

struct Figures {
  int translated = 0, missing = 0, empty = 0, plural_complete = 0;
};

// The figures of catcheck's JSON, read in the form json_result writes them.
struct CheckedCatalog {
  int messages = -1;
  std::map<std::string, Figures> languages;
};

CheckedCatalog figures_of(const std::string& json) {
  CheckedCatalog checked;
  std::smatch match;
  if (std::regex_search(json, match, std::regex(R"re("messages": (\d+),)re")))
    checked.messages = std::stoi(match[1]);
  std::regex row(R"re("([^"]+)": \{"translated": (\d+), "missing": (\d+), "empty": (\d+), )re"
                 R"re("plural_complete": (\d+)\})re");
  for (auto it = std::sregex_iterator(json.begin(), json.end(), row); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    checked.languages[m[1]] = {std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5])};
  }
  return checked;
}

struct ToolCounts {
  int translated = -1, untranslated = -1;
};

class StatisticsTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::write_file(catalog_, kCatalog);
    auto checked = run_tool(run, {"catcheck", "--format", "json", catalog_});
    ASSERT_EQ(checked.exit_code, 1) << checked.err;  // the duplicate key line is an error
    checked_ = figures_of(checked.out);
    ASSERT_EQ(checked_.messages, 6) << checked.out;
    ASSERT_EQ(checked_.languages.size(), kLanguages.size()) << checked.out;
    cattools::Args args = {"catexport", catalog_};
    for (const Language& language : kLanguages) args.push_back(language.code + "=" + po(language));
    auto exported = run_tool(catexport::run, args);
    ASSERT_EQ(exported.exit_code, 0) << exported.err;
  }

  std::string po(const Language& language) const { return dir_ / (language.code + ".po"); }

  void expect_agreement(const Language& language, const ToolCounts& tool,
                        const std::string& output) const {
    const Figures& figures = checked_.languages.at(language.code);
    SCOPED_TRACE(language.code + ": " + output);
    EXPECT_EQ(tool.translated, figures.translated - language.general_only + language.one_only);
    EXPECT_EQ(tool.untranslated,
              figures.missing + figures.empty + language.general_only - language.one_only);
    EXPECT_EQ(tool.translated + tool.untranslated, checked_.messages);
  }

  ScratchDir dir_;
  std::string catalog_ = dir_ / "app.cat";
  CheckedCatalog checked_;
};

TEST_F(StatisticsTest, CatcheckCountsTheMessagesItCanTellApart) {
  // The figures the tools cannot tell apart: empty from missing, and complete plural messages.
  const Figures& de = checked_.languages.at("de");
  const Figures& fr = checked_.languages.at("fr");
  const Figures& ja = checked_.languages.at("ja");
  const Figures& pl = checked_.languages.at("pl");
  EXPECT_EQ((std::vector<int>{de.translated, de.missing, de.empty, de.plural_complete}),
            (std::vector<int>{4, 1, 1, 1}));
  EXPECT_EQ((std::vector<int>{fr.translated, fr.missing, fr.empty, fr.plural_complete}),
            (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ((std::vector<int>{ja.translated, ja.missing, ja.empty}), (std::vector<int>{3, 3, 0}));
  EXPECT_EQ((std::vector<int>{pl.translated, pl.missing, pl.empty, pl.plural_complete}),
            (std::vector<int>{3, 2, 1, 1}));
}

TEST_F(StatisticsTest, AgreeWithMsgfmt) {
  if (!has_tool("msgfmt")) GTEST_SKIP() << "gettext's msgfmt is not installed";
  for (const Language& language : kLanguages) {
    auto counted = shell("msgfmt --statistics -o /dev/null " + shell_quoted(po(language)));
    ASSERT_EQ(counted.exit_code, 0) << counted.output;
    // "3 translated messages, 3 untranslated messages." (a count of 0 is left out)
    ToolCounts tool{0, 0};
    std::smatch match;
    if (std::regex_search(counted.output, match, std::regex(R"((\d+) translated)")))
      tool.translated = std::stoi(match[1]);
    if (std::regex_search(counted.output, match, std::regex(R"((\d+) untranslated)")))
      tool.untranslated = std::stoi(match[1]);
    expect_agreement(language, tool, counted.output);
  }
}

TEST_F(StatisticsTest, AgreeWithPocount) {
  if (!has_tool("pocount")) GTEST_SKIP() << "Translate Toolkit's pocount is not installed";
  for (const Language& language : kLanguages) {
    auto counted = shell("pocount --csv " + shell_quoted(po(language)));
    ASSERT_EQ(counted.exit_code, 0) << counted.output;
    // "FILE, translated, words, words, fuzzy, words, untranslated, words, total, words"
    std::smatch row;
    ASSERT_TRUE(std::regex_search(
        counted.output, row,
        std::regex(R"(\.po,\s*(\d+),\s*\d+,\s*\d+,\s*(\d+),\s*\d+,\s*(\d+),\s*\d+,\s*(\d+),)")))
        << counted.output;
    EXPECT_EQ(std::stoi(row[2]), 0) << counted.output;  // fuzzy
    EXPECT_EQ(std::stoi(row[4]), checked_.messages) << counted.output;
    expect_agreement(language, {std::stoi(row[1]), std::stoi(row[3])}, counted.output);
  }
}

// Catalogs whose JSON holds what a writer gets wrong most easily: quotes, backslashes and
// control characters in strings, bytes that are not UTF-8, an empty object and an empty array.
TEST(JsonOutput, PythonsJsonModuleReadsIt) {
  if (!has_tool("python3")) GTEST_SKIP() << "python3 is not installed";
  ScratchDir dir;
  struct Case {
    std::string name;
    std::string bytes;
    std::vector<std::string> options;
  };
  const std::vector<Case> cases = {
      {"odd \"name\\.cat", "en: Caf\xE9\n\"\\: quote\na\t: tab\n\xE9\xE9: latin\n", {}},
      {"clean.cat", "en: File\nde: Datei\n", {}},
      {"keys.cat", "en: File\nen: Open\n", {}},
      // UTF-8 in the catalog's sense, with forms beyond U+10FFFF that JSON cannot carry.
      {"wide.cat", "en: Close\nen[\xF4\x90\x80\x80]: x\nen: \xF8\x88\x80\x80\x80\n", {}},
      {"planted.cat", std::string(kCatalog), {"--no-stats"}},
      {"selected.cat", std::string(kCatalog), {"--languages", "xx"}},
  };
  for (const Case& c : cases) {
    std::string catalog = dir / c.name;
    testing_support::write_file(catalog, c.bytes);
    cattools::Args args = {"catcheck", "--format", "json"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(catalog);
    auto checked = run_tool(run, args);
    ASSERT_NE(checked.exit_code, 2) << checked.err;
    std::string json = dir / "out.json";
    testing_support::write_file(json, checked.out);
    auto parsed =
        shell("python3 -c 'import json,sys; json.load(open(sys.argv[1], encoding=\"utf-8\"))' " +
              shell_quoted(json));
    EXPECT_EQ(parsed.exit_code, 0) << c.name << "\n" << checked.out << parsed.output;
  }
}

}  // namespace
}  // namespace catcheck
