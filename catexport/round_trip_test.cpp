// The round trip: a catalog that catintake wrote, exported for a language and imported back,
// stays as it was; and what catexport writes passes the tools translators use. Both run over
// the example application and over every real-world file beside the source tree.

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalog/catalog_messages.h"
#include "catalog/text_routines.h"
#include "catexport/driver.h"
#include "catintake/driver.h"
#include "catprep/driver.h"
#include "tests/support/test_support.h"

namespace catexport {
namespace {

namespace fs = std::filesystem;
using testing_support::read_file;
using testing_support::run_tool;
using testing_support::ScratchDir;

struct Format {
  std::string extension;
  std::vector<std::string> options;
};
const Format kFormats[] = {{".po", {}}, {".xlf", {}}, {".xlf", {"--xliff-version", "2.0"}}};

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Whether two catalog lines say the same: equal, or one language line whose texts decode to
// the same characters (the spellings that a round trip may change).
bool same_meaning(const std::string& a, const std::string& b) {
  if (a == b) return true;
  size_t colon = a.find(": ");
  if (colon == std::string::npos || a.compare(0, colon + 2, b, 0, colon + 2) != 0) return false;
  return catalog::unescape_key_text(a.substr(colon + 2)) ==
         catalog::unescape_key_text(b.substr(colon + 2));
}

// How a round trip ended: the catalog byte for byte, in meaning only, or changed.
enum class Outcome { identical, same_meaning, changed };

Outcome compare(const std::string& before, const std::string& after, std::string& first_change) {
  if (before == after) return Outcome::identical;
  std::vector<std::string> a = split_lines(before), b = split_lines(after);
  if (a.size() != b.size()) {
    first_change = "line count " + std::to_string(a.size()) + " -> " + std::to_string(b.size());
    return Outcome::changed;
  }
  for (size_t i = 0; i < a.size(); ++i)
    if (!same_meaning(a[i], b[i])) {
      first_change = a[i] + "\n -> " + b[i];
      return Outcome::changed;
    }
  return Outcome::same_meaning;
}

struct Tally {
  int identical = 0, same_meaning = 0;
};

// Exports `language` of `catalog` in `format`, imports it back and compares.
Outcome round_trip(const std::string& dir, const std::string& catalog, std::string_view key,
                   std::string_view language, const Format& format, std::string& change) {
  std::string before = read_file(catalog);
  std::string file = dir + "/out-" + std::string(language) + format.extension;
  cattools::Args exporting = {"catexport"};
  exporting.insert(exporting.end(), format.options.begin(), format.options.end());
  exporting.push_back(catalog);
  exporting.push_back(std::string(language) + "=" + file);
  auto exported = run_tool(run, exporting);
  EXPECT_EQ(exported.exit_code, 0) << exported.err;
  std::string input = format.extension == ".po" ? std::string(language) + "=" + file : file;
  auto imported = run_tool(catintake::run, {"catintake", std::string(key) + "=" + catalog, input});
  EXPECT_EQ(imported.exit_code, 0) << imported.err;
  EXPECT_EQ(imported.err.find("is added to the catalog"), std::string::npos) << imported.err;
  Outcome outcome = compare(before, read_file(catalog), change);
  testing_support::write_file(catalog, before);
  return outcome;
}

void round_trip_all(const std::string& dir, const std::string& catalog, Tally& tally,
                    size_t formats = std::size(kFormats)) {
  std::string bytes = read_file(catalog);
  catalog::CatalogMessages messages(
      bytes, catalog::ReadRules{catalog::ReadRules::KeyLanguage::first_code_before_colon});
  for (std::string_view language : messages.languages())
    for (const Format& format : std::span(kFormats, formats)) {
      std::string change;
      Outcome outcome = round_trip(dir, catalog, messages.key_language(), language, format, change);
      std::string what = std::string(language) + format.extension;
      for (const auto& option : format.options) what += " " + option;
      EXPECT_NE(outcome, Outcome::changed) << catalog << " " << what << ":\n" << change;
      tally.identical += outcome == Outcome::identical;
      tally.same_meaning += outcome == Outcome::same_meaning;
    }
}

TEST(RoundTrip, TheExampleCatalogComesBackByteForByte) {
  ScratchDir dir;
  fs::path examples = fs::path(testing_support::source_dir()) / "examples";
  for (const char* name : {"de.po", "pl.po", "fr.xlf", "ja.xlf"})
    fs::copy_file(examples / name, dir / name);
  std::string catalog = dir / "app.cat";
  testing_support::write_file(catalog,
                              read_file(testing_support::source_dir() + "/tests/demo_app.cat"));
  Tally tally;
  round_trip_all(dir.path(), catalog, tally);
  EXPECT_EQ(tally.same_meaning, 0);
  EXPECT_EQ(tally.identical, 15);  // five languages, three formats
}

// A translator's work on a template: every empty msgstr after the header gets "Ü " and the
// text it translates (msgstr[0] the msgid, the other forms the msgid_plural).
std::string fill_in(const std::string& pot) {
  std::string filled, msgid, msgid_plural;
  for (const std::string& line : split_lines(pot)) {
    auto quoted = [&](size_t at) { return line.substr(at, line.size() - at - 1); };
    if (line.starts_with("msgid \"")) msgid = quoted(7), msgid_plural.clear();
    if (line.starts_with("msgid_plural \"")) msgid_plural = quoted(14);
    bool empty = line.ends_with(" \"\"") && line.starts_with("msgstr") && !msgid.empty();
    if (!empty) filled += line + "\n";
    if (!empty) continue;
    const std::string& source = line.starts_with("msgstr[0]") ? msgid : msgid_plural;
    filled += line.substr(0, line.size() - 2) + "\"Ü " + (source.empty() ? msgid : source) + "\"\n";
  }
  return filled;
}

TEST(RoundTrip, ATemplateOfTheExpandedCatalogFilledInImportsAsTheLanguage) {
  ScratchDir dir;
  fs::path examples = fs::path(testing_support::source_dir()) / "examples";
  for (const char* name : {"app.tpl", "names.inc"}) fs::copy_file(examples / name, dir / name);
  std::string catalog = dir / "app.cat", pot = dir / "app.pot", po = dir / "de.po";
  ASSERT_EQ(run_tool(catprep::run, {"catprep", "-DPRO", catalog, dir / "app.tpl"}).exit_code, 0);
  ASSERT_EQ(run_tool(run, {"catexport", catalog, pot}).exit_code, 0);
  testing_support::write_file(po, fill_in(read_file(pot)));
  auto imported = run_tool(catintake::run, {"catintake", catalog, "de=" + po});
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  EXPECT_EQ(imported.err, "");
  std::string bytes = read_file(catalog);
  catalog::CatalogMessages messages(
      bytes, catalog::ReadRules{catalog::ReadRules::KeyLanguage::first_code_before_colon});
  ASSERT_GT(messages.messages().size(), 5u);
  for (const catalog::Message& message : messages.messages()) {
    int translated = 0;
    for (const catalog::MessageLine& line : messages.lines(message))
      if (line.code() == "de" && !line.is_plural())
        translated += line.text() == "Ü " + std::string(message.key_text);
    EXPECT_EQ(translated, 1) << message.key_text;
  }
}

fs::path real_dir() {
  return fs::path(testing_support::source_dir()) / ".." / "shared" / "data" / "real";
}

TEST(RoundTrip, EveryRealFileImportedComesBack) {
  std::vector<fs::path> files;
  for (const char* kind : {"po", "xliff"}) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(real_dir() / kind, error))
      if (entry.is_regular_file()) files.push_back(entry.path());
  }
  if (files.empty()) GTEST_SKIP() << "the real-file samples are missing: " << real_dir().string();
  Tally tally;
  for (const fs::path& file : files) {
    ScratchDir dir;
    std::string catalog = dir / "c.cat";
    auto imported = run_tool(catintake::run, {"catintake", "en=" + catalog, "xx=" + file.string()});
    ASSERT_EQ(imported.exit_code, 0) << file << imported.err;
    round_trip_all(dir.path(), catalog, tally);
  }
  std::printf("round trips over %zu real files: %d byte for byte, %d in meaning only\n",
              files.size(), tally.identical, tally.same_meaning);
}

}  // namespace
}  // namespace catexport
