#include "catintake/catalog_update.h"

#include <gtest/gtest.h>

#include "tests/support/catintake_import.h"

namespace catintake {
namespace {

using testing::import;
using testing::po;

const char* const KEY_WARNING = "catintake - key message \"%\" is added to the catalog.\n";

std::string key_warning(const std::string& text) {
  std::string warning = KEY_WARNING;
  return warning.replace(warning.find('%'), 1, text);
}

TEST(CatalogUpdate, NewCatalogHoldsMessagesInOrderWithoutWarnings) {
  auto outcome =
      import({po("nl", "msgid \"Hello\"\nmsgstr \"Hallo\"\nmsgid \"Bye\"\nmsgstr \"Doei\"\n")});
  EXPECT_EQ(outcome.catalog, "en: Hello\nnl: Hallo\n\nen: Bye\nnl: Doei\n");
  EXPECT_EQ(outcome.err, "");
}

TEST(CatalogUpdate, ReplacesTranslationsInPlaceAndAppendsNewMessages) {
  std::string catalog = "# greetings\nen: Hello\nnl: Hallo\nde: Hallo\n\nen: Bye\nnl: Doei\n";
  auto outcome =
      import({po("nl", "msgid \"Hello\"\nmsgstr \"Hoi\"\nmsgid \"Thanks\"\nmsgstr \"Bedankt\"\n")},
             catalog, true);
  EXPECT_EQ(outcome.catalog,
            "# greetings\nen: Hello\nnl: Hoi\nde: Hallo\n\nen: Bye\nnl: Doei\n\nen: Thanks\n"
            "nl: Bedankt\n");
  EXPECT_EQ(outcome.err, key_warning("Thanks"));
}

TEST(CatalogUpdate, ReplacesALanguagesPluralLinesWithItsGeneralLine) {
  std::string catalog = "en: apples\nen[1]: apple\nnl: old\nnl[1]: oud\n# note\nde: Apfel\n";
  auto outcome = import({po("nl",
                            "msgid \"apple\"\nmsgid_plural \"apples\"\n"
                            "msgstr[0] \"appel\"\nmsgstr[1] \"appels\"\n")},
                        catalog, true);
  EXPECT_EQ(outcome.catalog,
            "en: apples\nen[1]: apple\nnl: appels\nnl[1]: appel\n# note\nde: Apfel\n");
}

TEST(CatalogUpdate, KeepsTrailingBlanksSoSuchKeysAreFoundAgain) {
  std::string file = "msgid \"Trailing \"\nmsgstr \"x\"\nmsgid \"\"\n\"\"\nmsgstr \"leeg\"\n";
  auto first = import({po("nl", "msgid \"a\"\nmsgstr \"b\"\n" + file)});
  auto again = import({po("nl", "msgid \"a\"\nmsgstr \"b\"\n" + file)}, first.catalog, true);
  EXPECT_EQ(again.catalog, first.catalog);
  EXPECT_EQ(again.err.find("key message"), std::string::npos);
}

TEST(CatalogUpdate, DropsLeadingBlanksAndAByteOrderMark) {
  auto outcome =
      import({po("nl", "msgid \"a\"\nmsgstr \"c\"\n")}, "\xEF\xBB\xBF  en: a\r\n\t nl: b\n", true);
  EXPECT_EQ(outcome.catalog, "en: a\nnl: c\n");
}

TEST(CatalogUpdate, ANewLanguageStaysWithinItsMessage) {
  std::string catalog = "en: a\nde: x\n# about b\n\nen: b\nnl: y\n";
  auto outcome = import({po("nl", "msgid \"a\"\nmsgstr \"z\"\n")}, catalog, true);
  EXPECT_EQ(outcome.catalog, "en: a\nde: x\nnl: z\n# about b\n\nen: b\nnl: y\n");
}

TEST(CatalogUpdate, KeyLanguagePluralsStopAtTheNextKeyLine) {
  std::string catalog = "en: as\nen: bs\nen[1]: b\n";
  auto outcome = import({po("nl",
                            "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"x\"\n"
                            "msgstr[1] \"xs\"\n")},
                        catalog, true);
  EXPECT_EQ(outcome.catalog, "en: as\nen[1]: a\nnl: xs\nnl[1]: x\nen: bs\nen[1]: b\n");
}

TEST(CatalogUpdate, PluralsWithoutAGeneralFormReplaceTheirOwnLines) {
  std::string ja = "msgid \"apple\"\nmsgid_plural \"apples\"\nmsgstr[0] \"ringo\"\n";
  auto first = import({po("ja", ja)});
  EXPECT_EQ(first.catalog, "en: apples\nen[1]: apple\nja[1]: ringo\n");
  auto again = import({po("ja", ja)}, first.catalog, true);
  EXPECT_EQ(again.catalog, first.catalog);
  auto changed = import({po("ja", "msgid \"apple\"\nmsgid_plural \"apples\"\nmsgstr[0] \"r2\"\n")},
                        "en: apples\nja [1] : x\nja[1] : ringo\n", true);
  EXPECT_EQ(changed.catalog, "en: apples\nen[1]: apple\nja [1] : x\nja[1]: r2\n");
}

TEST(CatalogUpdate, TranslationsIntoTheKeyLanguageAreSkippedWithAReport) {
  auto outcome = import({po("en",
                            "msgid \"foo\"\nmsgid_plural \"foos\"\nmsgstr[0] \"bar\"\n"
                            "msgstr[1] \"bars\"\nmsgid \"a\"\nmsgstr \"b\"\n")});
  EXPECT_EQ(outcome.catalog, "en: foos\nen[1]: foo\n\nen: a\n");
  EXPECT_EQ(outcome.err,
            "catintake - translation into the key language skipped: \"bar\"\n"
            "catintake - translation into the key language skipped: \"bars\"\n"
            "catintake - translation into the key language skipped: \"b\"\n");
  std::string xliff =
      "<xliff version=\"2.0\" srcLang=\"en-US\" trgLang=\"en-US\"><file><unit id=\"1\">"
      "<segment><source>foo</source><target>foo (translated)</target></segment>"
      "<segment><target>only</target></segment></unit></file></xliff>";
  auto same = import({testing::xliff("", xliff)});
  EXPECT_EQ(same.catalog, "en-US: foo\n");
  EXPECT_EQ(same.err,
            "catintake - translation into the key language skipped: \"foo (translated)\"\n"
            "catintake - translation into the key language skipped: \"only\"\n");
}

TEST(CatalogUpdate, AnUntranslatedEntryKeepsTheOldTranslation) {
  auto outcome = import({po("nl", "msgid \"a\"\nmsgstr \"\"\n")}, "en: a\nnl: b\n", true);
  EXPECT_EQ(outcome.catalog, "en: a\nnl: b\n");
}

TEST(CatalogUpdate, TwoMessagesWithOneKeyTextShareTheKeyLine) {
  auto outcome = import({po("nl",
                            "msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"x\"\n"
                            "msgctxt \"2\"\nmsgid \"a\"\nmsgstr \"y\"\n")});
  EXPECT_EQ(outcome.catalog, "en: a\nnl: y\n");
  EXPECT_EQ(outcome.err,
            "catintake - nl.po:5: the msgid of line 2 in another context; the catalog keeps only "
            "this translation\n");
}

TEST(CatalogUpdate, AnEmptyExistingCatalogWarnsForEveryNewKey) {
  auto outcome = import({po("nl", "msgid \"a\"\nmsgstr \"x\"\n")}, "", true);
  EXPECT_EQ(outcome.catalog, "en: a\nnl: x\n");
  EXPECT_EQ(outcome.err, key_warning("a"));
}

}  // namespace
}  // namespace catintake
