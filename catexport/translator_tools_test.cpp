// What catexport writes, as the tools translators use read it: gettext's msgfmt checks every
// PO file and counts its translations, Translate Toolkit counts its messages and converts the
// XLIFF back to PO, xmllint checks the XLIFF. Each check is skipped, saying why, when its tool
// is missing.

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalog/catalog_messages.h"
#include "catalog/plural_forms.h"
#include "catexport/driver.h"
#include "catexport/translations.h"
#include "catintake/driver.h"
#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"

namespace catexport {
namespace {

namespace fs = std::filesystem;
using testing_support::Command;
using testing_support::has_tool;
using testing_support::read_file;
using testing_support::run_tool;
using testing_support::ScratchDir;
using testing_support::shell;
using testing_support::shell_quoted;

// The catalogs the checks run on: the example application's, and one for each real-world PO
// file that msgfmt itself accepts (an inconsistent file gives an inconsistent catalog), without
// the fuzzy entries that msgfmt does not check.
struct Sample {
  std::string catalog;
  std::string language;
};

std::vector<Sample> samples(const ScratchDir& dir) {
  std::vector<Sample> found;
  std::string app = dir / "app.cat";
  testing_support::write_file(app,
                              read_file(testing_support::source_dir() + "/tests/demo_app.cat"));
  for (const char* language : {"de", "pl", "fr", "ja", "it"}) found.push_back({app, language});
  fs::path real =
      fs::path(testing_support::source_dir()) / ".." / "shared" / "data" / "real" / "po";
  std::error_code error;
  int count = 0;
  for (const auto& entry : fs::directory_iterator(real, error)) {
    std::string file = entry.path().string();
    if (shell("msgfmt -c -o /dev/null " + shell_quoted(file)).exit_code != 0) continue;
    std::string catalog = dir / ("real" + std::to_string(++count) + ".cat");
    auto imported =
        run_tool(catintake::run, {"catintake", "--skip-fuzzy", "en=" + catalog, "xx=" + file});
    if (imported.exit_code == 0) found.push_back({catalog, "xx"});
  }
  return found;
}

std::string export_file(const Sample& sample, const std::string& file,
                        const std::vector<std::string>& options = {}) {
  cattools::Args args = {"catexport"};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back(sample.catalog);
  args.push_back(sample.language + "=" + file);
  auto exported = run_tool(run, args);
  EXPECT_EQ(exported.exit_code, 0) << exported.err;
  return file;
}

// Translated and untranslated messages of a language as the catalog holds them: a message is
// translated when every form a PO entry has for it is.
std::pair<int, int> catalog_counts(const Sample& sample) {
  std::string bytes = read_file(sample.catalog);
  catalog::CatalogMessages catalog(
      bytes, catalog::ReadRules{catalog::ReadRules::KeyLanguage::first_code_before_colon});
  bool one_form = catalog::plural_rule(sample.language).forms == 1;
  FirstMessages first;
  int translated = 0, untranslated = 0;
  for (const catalog::Message& message : catalog.messages()) {
    LanguageView view = view_of(catalog, message, sample.language);
    if (!first.is_first(view)) continue;
    bool done = view.general.present && !view.general.text.empty() &&
                (!view.is_plural() || one_form || (view.one.present && !view.one.text.empty()));
    ++(done ? translated : untranslated);
  }
  return {translated, untranslated};
}

std::pair<int, int> msgfmt_counts(const std::string& output) {
  std::smatch match;
  int translated = 0, untranslated = 0;
  if (std::regex_search(output, match, std::regex(R"((\d+) translated)")))
    translated = std::stoi(match[1]);
  if (std::regex_search(output, match, std::regex(R"((\d+) untranslated)")))
    untranslated = std::stoi(match[1]);
  return {translated, untranslated};
}

TEST(TranslatorTools, MsgfmtAcceptsEveryPoFileAndCountsItsTranslations) {
  if (!has_tool("msgfmt")) GTEST_SKIP() << "gettext's msgfmt is not installed";
  ScratchDir dir;
  for (const Sample& sample : samples(dir)) {
    std::string po = export_file(sample, dir / "out.po");
    Command check = shell("msgfmt -c --check-format -o /dev/null " + shell_quoted(po));
    EXPECT_EQ(check.exit_code, 0) << sample.catalog << " " << sample.language << check.output;
    Command statistics = shell("msgfmt --statistics -o /dev/null " + shell_quoted(po));
    EXPECT_EQ(msgfmt_counts(statistics.output), catalog_counts(sample))
        << sample.catalog << " " << sample.language << ": " << statistics.output;
  }
}

// The msgid/msgstr pairs of a PO file as msgcat writes it, a plural entry's forms as pairs of
// their source text and translation.
std::multimap<std::string, std::string> pairs_of(const std::string& po) {
  Command normal = shell("msgcat --no-wrap --no-location " + shell_quoted(po));
  std::multimap<std::string, std::string> pairs;
  std::regex line(R"re(^(msgid|msgid_plural|msgstr(?:\[(\d+)\])?) "(.*)"$)re");
  std::string msgid, plural;
  std::istringstream lines(normal.output);
  for (std::string text; std::getline(lines, text);) {
    std::smatch match;
    if (!std::regex_match(text, match, line)) continue;
    std::string keyword = match[1];
    if (keyword == "msgid") msgid = match[3], plural.clear();
    if (keyword == "msgid_plural") plural = match[3];
    if (!keyword.starts_with("msgstr") || msgid.empty()) continue;
    bool one = match[2].matched && match[2] == "0" && !plural.empty();
    std::string source = plural.empty() || one ? msgid : plural;
    if (!match[2].matched || match[2] == "0" || match[2] == "1") pairs.emplace(source, match[3]);
  }
  return pairs;
}

TEST(TranslatorTools, TranslateToolkitCountsThePoAndReadsTheXliffAsThePo) {
  if (!has_tool("pocount") || !has_tool("xliff2po") || !has_tool("msgcat"))
    GTEST_SKIP() << "Translate Toolkit (pocount, xliff2po) or gettext's msgcat is not installed";
  ScratchDir dir;
  for (const Sample& sample : samples(dir)) {
    if (catalog::plural_rule(sample.language).forms != 2) continue;  // forms beyond two differ
    std::string po = export_file(sample, dir / "out.po");
    std::string xlf = export_file(sample, dir / "out.xlf");
    auto [translated, untranslated] = catalog_counts(sample);
    Command count = shell("pocount " + shell_quoted(po));
    std::smatch total;
    ASSERT_TRUE(std::regex_search(count.output, total, std::regex(R"(Total:\s+(\d+))")));
    EXPECT_EQ(std::stoi(total[1]), translated + untranslated) << sample.catalog << count.output;
    std::string back = dir / "back.po";
    Command convert = shell("xliff2po -i " + shell_quoted(xlf) + " -o " + shell_quoted(back));
    ASSERT_EQ(convert.exit_code, 0) << convert.output;
    auto converted = pairs_of(back), exported = pairs_of(po);
    std::string differences;
    for (const auto& pair : exported)
      if (converted.count(pair.first) == 0) differences += "lost: " + pair.first + "\n";
    for (const auto& pair : converted)
      if (exported.count(pair.first) == 0) differences += "new: " + pair.first + "\n";
    EXPECT_TRUE(converted == exported) << sample.catalog << " " << sample.language << "\n"
                                       << differences.substr(0, 2000);
  }
}

TEST(TranslatorTools, XmllintFindsEveryXliffWellFormed) {
  if (!has_tool("xmllint")) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
  ScratchDir dir;
  for (const Sample& sample : samples(dir))
    for (const char* version : {"1.2", "2.0"}) {
      std::string xlf = export_file(sample, dir / "out.xlf", {"--xliff-version", version});
      Command check = shell("xmllint --noout " + shell_quoted(xlf));
      EXPECT_EQ(check.exit_code, 0) << sample.catalog << " " << version << check.output;
    }
}

}  // namespace
}  // namespace catexport
