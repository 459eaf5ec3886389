#include "catintake/xliff_reader.h"

#include <gtest/gtest.h>

#include "tests/support/catintake_import.h"
#include "catintake/xml_scanner.h"

namespace catintake {
namespace {

using testing::import;
using testing::po;
using testing::xliff;

std::string v12(const std::string& units, const std::string& file_attributes =
                                              "source-language=\"en\" target-language=\"de\"") {
  return "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\">\n<file " + file_attributes +
         ">\n<body>\n" + units + "</body>\n</file>\n</xliff>\n";
}

std::string unit(const std::string& source, const std::string& target,
                 const std::string& id = "1") {
  return "<trans-unit id=\"" + id + "\">\n  <source>" + source + "</source>\n  <target>" + target +
         "</target>\n</trans-unit>\n";
}

std::string decoded(std::string_view raw) {
  std::string text;
  decode_entities(raw, text);
  return text;
}

TEST(XliffReader, Version12UnitsBecomeMessages) {
  auto outcome = import({xliff("", v12(unit("Hello", "Hallo") + unit("Bye", "Tschüss", "2")))});
  EXPECT_EQ(outcome.catalog, "en: Hello\nde: Hallo\n\nen: Bye\nde: Tschüss\n");
  EXPECT_EQ(outcome.languages[0], "de");
}

TEST(XliffReader, Version2SegmentsBecomeMessages) {
  std::string file =
      "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version='2.0'\n  srcLang='en-US' "
      "trgLang='ja'>\n<file id=\"f\"><unit id=\"u\">\n<segment><source>A</source><target>a"
      "</target></segment>\n<segment id=\"s2\" state=\"final\"><source>B</source>"
      "<target>b</target></segment>\n</unit></file></xliff>";
  TranslationTable table;
  ReportSink report = [](const Report&) {};
  int line = 0;
  LanguageCode key, language;
  ASSERT_TRUE(read_xliff_file(file, key, LanguageCode("en"), language, {table, report, line}));
  EXPECT_EQ(key.view(), "en-US");
  EXPECT_EQ(language.view(), "ja");
  ASSERT_EQ(table.message_count(), 2u);
  EXPECT_EQ(table.text(table.message(1).first).text, "B");
}

TEST(XliffReader, LineFeedsBecomeEscapesAndIndentationIsDropped) {
  auto outcome = import({xliff("", v12(unit("Two\n      lines\n  ", "  x\r\n\ty")))});
  EXPECT_EQ(outcome.catalog, "en: Two\\nlines\\n\nde: x\\ny\n");
}

TEST(XliffReader, EntitiesAreDecodedOnceFromLeftToRight) {
  EXPECT_EQ(decoded("5 &lt; 6 &amp;lt; &amp;amp; &quot;&apos;&gt;"), "5 < 6 &lt; &amp; \"'>");
  EXPECT_EQ(decoded("&#228;&#xE4;&#x1F600;"), "\xC3\xA4\xC3\xA4\xF0\x9F\x98\x80");
  EXPECT_EQ(decoded("a&#10;b&#9;&#13;"), "a\\nb\\t\\r");
  EXPECT_EQ(decoded("&#0;&#xD800;&#x110000;&#12&#;&#xG;&nbsp;&"),
            "&#0;&#xD800;&#x110000;&#12&#;&#xG;&nbsp;&");
}

TEST(XliffReader, CdataIsTakenLiterally) {
  auto outcome = import({xliff("", v12(unit("<![CDATA[a &amp; <b>\nc]]> &amp; d", "e")))});
  EXPECT_EQ(outcome.catalog, "en: a &amp; <b>\\nc & d\nde: e\n");
}

TEST(XliffReader, TextsWithInlineMarkupAreSkippedWithAReport) {
  auto outcome = import({xliff(
      "", v12(unit("Hello", "Hal<g id=\"1\">lo</g>") + unit("Bold <x id=\"1\"/>", "Fett", "2")))});
  EXPECT_EQ(outcome.catalog, "en: Hello\n");
  EXPECT_EQ(outcome.err,
            "catintake - text with inline markup skipped, line 7\n"
            "catintake - text with inline markup skipped, line 10\n"
            "catintake - message has no key text, skipped\n");
}

TEST(XliffReader, AUnitLeftWithoutTextsDrawsNoFurtherReport) {
  std::string units = unit("<g>a</g>", "<g>b</g>") + "<trans-unit id=\"2\"><note>n</note>" +
                      "</trans-unit>\n" + unit("c", "d", "3");
  auto outcome = import({xliff("", v12(units))});
  EXPECT_EQ(outcome.catalog, "en: c\nde: d\n");
  EXPECT_EQ(outcome.err,
            "catintake - text with inline markup skipped, line 6\n"
            "catintake - text with inline markup skipped, line 7\n");
}

TEST(XliffReader, EmptyElementsGiveEmptyTexts) {
  auto outcome = import({xliff("", v12("<trans-unit id=\"1\"><source>a</source><target/>"
                                       "</trans-unit>"))});
  EXPECT_EQ(outcome.catalog, "en: a\nde: \n");
}

TEST(XliffReader, AlternativeTranslationsAreDropped) {
  std::string units =
      "<trans-unit id=\"1\"><alt-trans><source>x</source><target>y</target></alt-trans>"
      "<source>a</source><target>b</target><alt-trans origin=\"mt\"/><alt-trans>"
      "<target>c <g>d</g></target></alt-trans></trans-unit>";
  auto outcome = import({xliff("", v12(units))});
  EXPECT_EQ(outcome.catalog, "en: a\nde: b\n");
  EXPECT_EQ(outcome.err, "");
}

TEST(XliffReader, PluralGroupsFormOneMessage) {
  std::string units = "<group id=\"g\" restype=\"x-gettext-plurals\">\n" +
                      unit("apples", "Äpfel", "1[0]") + unit("apple", "Apfel", "1[1]") +
                      "</group>\n" + "<group restype=\"x-gettext-plurals\">" +
                      unit("bs", "Bs", "0x2") + unit("b", "B", "2[1]") + "</group>\n";
  auto outcome = import({xliff("", v12(units))});
  EXPECT_EQ(outcome.err, "catintake - message has no key text, skipped\n");
  EXPECT_EQ(outcome.catalog, "en: bs\nen[1]: b\nde: Bs\nde[1]: B\n");
}

TEST(XliffReader, KeyLanguageFromTheFileOrKeptFromBefore) {
  std::string no_source = v12(unit("a", "b"), "target-language=\"fr\"");
  auto kept = import({xliff("", no_source)});
  EXPECT_EQ(kept.catalog, "en: a\nfr: b\n");
  std::string empty_target = v12(unit("a", "b"), "source-language=\"en\" target-language=\"\"");
  auto fails = import({xliff("", empty_target)});
  EXPECT_FALSE(fails.read);
  EXPECT_EQ(fails.err, "catintake - no language code or invalid language code.\n");
  EXPECT_EQ(import({xliff("nl", empty_target)}).catalog, "en: a\nnl: b\n");
}

TEST(XliffReader, SourcesOutsideMessagesAreSkipped) {
  auto outcome = import({xliff("", v12("<source>lost</source>" + unit("a", "b")))});
  EXPECT_TRUE(outcome.read);
  EXPECT_EQ(outcome.catalog, "en: a\nde: b\n");
}

TEST(XliffReader, TextsUpToTheLimitAreKeptLongerOnesFailTheFile) {
  std::string limit(kMaxTextLength, 'x');
  auto fits = import({xliff("", v12(unit(limit, "&amp;")))});
  EXPECT_EQ(fits.catalog, "en: " + limit + "\nde: &\n");
  auto too_long = import({xliff("", v12(unit(limit + "&amp;", "b")))});
  EXPECT_FALSE(too_long.read);
  EXPECT_EQ(too_long.err, "catintake - message too long, line 6\n");
  std::string long_tag = "<trans-unit id=\"1\" note=\"" + std::string(70000, 'n') + "\">";
  EXPECT_EQ(import({xliff("", v12(long_tag + "<source>a</source></trans-unit>"))}).catalog,
            "en: a\n");
}

TEST(XliffReader, TruncatedFilesAddNoOpenMessage) {
  std::string whole = v12(unit("a", "b") + unit("c", "d", "2"));
  for (size_t cut : {whole.find("<target>d") + 9, whole.find("</source>", whole.find("c<")) + 4,
                     whole.rfind("</trans-unit>")}) {
    auto outcome = import({xliff("", whole.substr(0, cut))});
    EXPECT_TRUE(outcome.read);
    EXPECT_EQ(outcome.catalog, "en: a\nde: b\n") << cut;
  }
}

TEST(XliffReader, NulBytesAreBlanksInTagsAndBytesInTexts) {
  std::string file =
      v12(std::string("<trans-unit\0id=\"1\"><source>a\0b</source>"
                      "<target>c</target></trans-unit>",
                      70));
  EXPECT_EQ(import({xliff("", file)}).catalog, std::string("en: a\0b\nde: c\n", 14));
}

TEST(XliffReader, SetsTheKeyLanguageForPoFilesAfterIt) {
  auto outcome = import({xliff("", v12(unit("a", "b"),
                                       "source-language=\"fr\" "
                                       "target-language=\"de\"")),
                         po("nl", "msgid \"a\"\nmsgstr \"c\"\n")},
                        "", false);
  EXPECT_EQ(outcome.catalog, "fr: a\nde: b\nnl: c\n");
}

}  // namespace
}  // namespace catintake
