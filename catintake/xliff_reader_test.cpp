#include "catintake/xliff_reader.h"

#include <gtest/gtest.h>

#include "catintake/xml_check.h"
#include "catintake/xml_scanner.h"
#include "tests/support/catintake_import.h"

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

// One XLIFF file "in.xlf" read with the given options and placed into a new catalog.
struct Read {
  bool ok = false;
  std::string catalog, err, language;
};

Read read(const std::string& file, CatalogEncoding encoding = CatalogEncoding::utf8,
          bool skip_fuzzy = false, const std::string& language = "") {
  Read result;
  ReportSink report = [&result](const Report& r) { result.err += report_text(r); };
  TranslationTable table;
  int line = 0;
  ReadTarget target{table, report, line, "in.xlf", encoding, skip_fuzzy};
  LanguageCode key, code(language);
  result.ok = read_xliff_file(file, key, LanguageCode("en"), code, target);
  result.language = code.view();
  CatalogLines lines(key);
  place_messages(table, key, false, lines, report);
  for (auto node = lines.next(CatalogLines::kHead); node != CatalogLines::kNone;
       node = lines.next(node))
    result.catalog += std::string(lines.text(node)) + "\n";
  return result;
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

TEST(XliffReader, EmptyTargetsAreNoTranslationButTheSourceIsAMessage) {
  std::string units =
      "<trans-unit id=\"1\"><source>a</source><target/></trans-unit>"
      "<trans-unit id=\"2\"><source>b</source><target></target></trans-unit>"
      "<trans-unit id=\"3\"><source/><target>x</target></trans-unit>";
  auto outcome = import({xliff("", v12(units))}, "en: a\nde: alt\n\nen: b\nde: B\n", true);
  EXPECT_EQ(outcome.catalog, "en: a\nde: alt\n\nen: b\nde: B\n\nen: \nde: x\n");
  EXPECT_EQ(outcome.err, "catintake - key message \"\" is added to the catalog.\n");
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

// Two forms, [0] and [1], are a command-line case.
TEST(XliffReader, PluralGroupsHoldTheOneItemFormInUnitZero) {
  // Three forms, as Polish has: the last general form wins, as for msgstr[2] of a PO file.
  std::string three = "<group restype=\"x-gettext-plurals\">" + unit("%d file", "A", "0x2[0]") +
                      unit("%d files", "B", "2[1]") + unit("%d files", "C", "2[2]") + "</group>";
  EXPECT_EQ(import({xliff("", v12(three))}).catalog,
            "en: %d files\nen[1]: %d file\nde: C\nde[1]: A\n");
  // A language of one form has a group of one unit, which gives the general form.
  std::string one =
      "<group restype=\"x-gettext-plurals\">" + unit("%d file", "%d", "5[0]") + "</group>";
  EXPECT_EQ(import({xliff("", v12(one))}).catalog, "en: %d file\nde: %d\n");
}

TEST(XliffReader, OnlyTheGettextPluralTypeMakesAPluralGroup) {
  std::string units =
      "<group resname=\"nonplural-texts\" restype=\"x-plural\">\n" + unit("a", "A", "1[0]") +
      unit("b", "B", "1[1]") + "<group restype=\"x-gettext-plurals\"><group id=\"inner\"/>\n" +
      unit("c", "C", "2[0]") + "<group>" + unit("cs", "Cs", "2[1]") + "</group></group></group>\n";
  EXPECT_EQ(import({xliff("", v12(units))}).catalog,
            "en: a\nde: A\n\nen: b\nde: B\n\nen: cs\nen[1]: c\nde: Cs\nde[1]: C\n");
}

// Reading a group is linear in its units: 80,000 take well under a second (the quadratic
// reading before took 109 s). No time is asserted; a slow run shows in the test's duration.
TEST(XliffReader, ALargePluralGroupIsOneMessage) {
  std::string units = "<group restype=\"x-gettext-plurals\">";
  for (int i = 0; i < 80000; ++i)
    units += unit("s" + std::to_string(i), "t", "1[" + std::to_string(i) + "]");
  auto outcome = import({xliff("", v12(units + "</group>"))});
  EXPECT_EQ(outcome.catalog, "en: s79999\nen[1]: s0\nde: t\nde[1]: t\n");
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

TEST(XliffReader, TruncatedFilesAndNulBytesAreNotWellFormed) {
  std::string whole = v12(unit("a", "b") + unit("c", "d", "2"));
  for (size_t cut : {whole.find("<target>d") + 9, whole.find("</source>", whole.find("c<")) + 4,
                     whole.rfind("</trans-unit>")}) {
    auto outcome = import({xliff("", whole.substr(0, cut))});
    EXPECT_FALSE(outcome.read) << cut;
    EXPECT_NE(outcome.err.find(": not well-formed XML: "), std::string::npos) << outcome.err;
  }
  std::string nul = v12(std::string("<trans-unit\0id=\"1\"><source>a</source></trans-unit>", 49));
  EXPECT_EQ(import({xliff("", nul)}).err,
            "catintake - input.xlf:5:12: not well-formed XML: not well-formed (invalid token)\n");
}

TEST(XliffReader, SetsTheKeyLanguageForPoFilesAfterIt) {
  auto outcome = import({xliff("", v12(unit("a", "b"),
                                       "source-language=\"fr\" "
                                       "target-language=\"de\"")),
                         po("nl", "msgid \"a\"\nmsgstr \"c\"\n")},
                        "", false);
  EXPECT_EQ(outcome.catalog, "fr: a\nde: b\nnl: c\n");
}

TEST(XliffReader, BackslashesArePlainTextExceptALeadingDollarEscape) {
  const struct {
    std::string xml, catalog;
  } cases[] = {
      {"C:\\temp", "C:\\\\temp"},       // not a tab
      {"a\\nb\\", "a\\\\nb\\\\"},       // not a line feed
      {"x&#92;y&#10;z", "x\\\\y\\nz"},  // referenced backslash and line feed
      {"<![CDATA[\\t]]>", "\\\\t"},
      {"$SYM text", "$SYM text"},  // a symbol key, as before
      {"  \\$5 off", "\\$5 off"},  // the catalog's literal dollar keeps its backslash
      {"\\\\$x", "\\\\\\\\$x"},    // two backslashes before a dollar are no such escape
      {"a\\$", "a\\\\$"},
  };
  for (const auto& c : cases) {
    auto outcome = read(v12(unit(c.xml, c.xml)));
    EXPECT_EQ(outcome.catalog, "en: " + c.catalog + "\nde: " + c.catalog + "\n") << c.xml;
  }
}

// A missing end tag and an unescaped '&' are command-line cases, more faults the table below.
TEST(XliffReader, NotWellFormedFilesFailWithThePlace) {
  EXPECT_FALSE(read("").ok);
  EXPECT_EQ(read("").err, "catintake - in.xlf:1:1: not well-formed XML: no element found\n");
  EXPECT_EQ(read("\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-16'?><xliff/>").err,
            "catintake - in.xlf:1:32: not well-formed XML: encoding specified in XML "
            "declaration is incorrect\n");
}

TEST(XmlCheck, JudgesWellFormednessWithoutLoadingAnything) {
  const struct {
    std::string document;
    int line, column;
    std::string message;  // empty: well-formed
  } cases[] = {
      {"<a>\n<b>x</b>\n</a>", 0, 0, ""},
      {"<a><b></a>", 1, 9, "mismatched tag"},
      {"<a>\n  <b>x</b>", 2, 11, "no element found"},
      {"<a x=\"1\" x=\"2\"/>", 1, 10, "duplicate attribute"},
      {"<a>&nbsp;</a>", 1, 4, "undefined entity"},
      {"<a>\xC3\xA4\xC3\xA4<</a>", 1, 7, "not well-formed (invalid token)"},  // characters
      {"<a/><b/>", 1, 5, "junk after document element"},
      // Not fetched, so nothing of the file can reach a text.
      {"<!DOCTYPE a [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><a>&e;</a>", 0, 0, ""},
      {"<!DOCTYPE a SYSTEM \"http://example.org/a.dtd\"><a/>", 0, 0, ""},
  };
  for (const auto& c : cases) {
    auto fault = find_xml_fault(c.document);
    EXPECT_EQ(fault.has_value(), !c.message.empty()) << c.document;
    if (!fault) continue;
    EXPECT_EQ(fault->message, c.message) << c.document;
    EXPECT_EQ(fault->line, c.line) << c.document;
    EXPECT_EQ(fault->column, c.column) << c.document;
  }
}

TEST(XmlCheck, EntityExpansionIsLimited) {
  std::string dtd = "<!DOCTYPE a [<!ENTITY e0 \"laugh\">";
  for (int i = 1; i <= 9; ++i) {
    std::string previous = "&e" + std::to_string(i - 1) + ";";
    dtd += "<!ENTITY e" + std::to_string(i) + " \"";
    for (int copy = 0; copy < 10; ++copy) dtd += previous;
    dtd += "\">";
  }
  auto fault = find_xml_fault(dtd + "]><a>&e9;</a>");
  ASSERT_TRUE(fault.has_value());
  EXPECT_NE(fault->message.find("amplification"), std::string::npos) << fault->message;
}

// Big-endian UTF-16 of a text whose only non-ASCII characters are U+00C0 to U+00FF.
std::string utf16be(std::string_view utf8) {
  std::string out;
  for (size_t at = 0; at < utf8.size(); ++at) {
    auto code = static_cast<unsigned char>(utf8[at]);
    if (code == 0xC3) code = 0xC0 | (static_cast<unsigned char>(utf8[++at]) & 0x3F);
    out += '\0';
    out += static_cast<char>(code);
  }
  return out;
}

// UTF-16 with a byte-order mark and a Latin-1 catalog of UTF-8 texts are command-line cases.
TEST(XliffReader, FilesAreReadInTheirEncodingAndTextsConvertedToTheCatalogs) {
  const std::string utf8 = "b\xC3\xA4r", latin1 = "b\xE4r";
  std::string as_utf8 = "en: " + utf8 + "\nde: " + utf8 + "\n";
  std::string declared16 = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>";
  EXPECT_EQ(read(utf16be(declared16 + v12(unit(utf8, utf8)).substr(22))).catalog, as_utf8);
  std::string declared1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
  std::string latin1_file = declared1 + v12(unit(latin1, latin1)).substr(22);
  EXPECT_EQ(read(latin1_file).catalog, as_utf8);
  EXPECT_EQ(read(latin1_file, CatalogEncoding::latin1).catalog,
            "en: " + latin1 + "\nde: " + latin1 + "\n");
}

// A character beyond a Latin-1 catalog is a command-line case.
TEST(XliffReader, TextsThatDoNotConvertAreSkippedWithTheirLine) {
  auto utf8 = read(v12(unit("ok", "x") + unit("bad\xFF", "b", "2") + unit("c", "d", "3")));
  EXPECT_EQ(utf8.catalog, "en: ok\nde: x\n\nen: c\nde: d\n");
  EXPECT_EQ(utf8.err,
            "catintake - in.xlf:10: bytes that are invalid in UTF-8; text skipped\n"
            "catintake - message has no key text, skipped\n");
  std::string ascii = "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>" +
                      v12(unit("a", "caf\xE9") + unit("b", "c", "2")).substr(22);
  auto invalid = read(ascii);
  EXPECT_EQ(invalid.catalog, "en: a\n\nen: b\nde: c\n");
  EXPECT_EQ(invalid.err,
            "catintake - in.xlf:6: bytes that are invalid in US-ASCII; text skipped\n");
  std::string unknown = "<?xml version=\"1.0\" encoding=\"x-klingon\"?>" + v12("").substr(22);
  auto refused = read(unknown);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.err, "catintake - in.xlf:1: unknown charset \"x-klingon\"\n");
}

// The per-file languages, their locale forms and an invalid code are command-line cases.
TEST(XliffReader, ALanguagePrefixOverridesEveryFilesAndAnUnusedCodeIsNoError) {
  std::string files = "<xliff version=\"1.2\"><file target-language=\"zh_TW\"><body>" +
                      unit("a", "A") + "</body></file><file target-language=\"pt_BR\"><body>" +
                      unit("b", "B") + "</body></file></xliff>";
  auto given = read(files, CatalogEncoding::utf8, false, "nl");
  EXPECT_EQ(given.catalog, "en: a\nnl: A\n\nen: b\nnl: B\n");
  EXPECT_EQ(read(v12(unit("a", ""), "target-language=\"deu\"")).catalog, "en: a\n");
}

// Version 2.0's "initial" is a command-line case.
TEST(XliffReader, SkipFuzzyLeavesOutEachUnfinishedStateOfVersion12) {
  std::string units, kept;
  int id = 0;
  for (std::string state :
       {"new", "needs-translation", "needs-adaptation", "needs-l10n", "needs-review-translation",
        "needs-review-adaptation", "needs-review-l10n", "final", "signed-off"}) {
    std::string n = std::to_string(++id);
    units += "<trans-unit id=\"" + n + "\"><source>s" + n + "</source><target state=\"" + state +
             "\">t" + n + "</target></trans-unit>\n";
    kept += "en: s" + n + "\n" + (id > 7 ? "de: t" + n + "\n" : "") + "\n";
  }
  kept.pop_back();
  EXPECT_EQ(read(v12(units), CatalogEncoding::utf8, true).catalog, kept);
}

TEST(XmlScanner, AttributesAreTheTagsOwnPairs) {
  const struct {
    std::string tag, name;
    std::optional<std::string> value;
  } cases[] = {
      {"<file original=\"target-language=de\" target-language=\"fr\">", "target-language", "fr"},
      {"<file original='a \" target-language=\"de' >", "target-language", std::nullopt},
      {"<file  id = 'x' >", "id", "x"},
      {"<trans-unit xml:id=\"1\" id=\"2\"/>", "id", "2"},
      {"<unit myid=\"1\"/>", "id", std::nullopt},
      {"<note from=\"a &amp; b &lt;&#x41;&#10;\">", "from", "a & b <A\n"},
      {"<group restype=\"x-gettext-plurals\">", "restype", "x-gettext-plurals"},
      {"<group restype>", "restype", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(tag_attribute(c.tag, c.name), c.value) << c.tag;
  EXPECT_EQ(tag_name("<trans-unit id=\"1\">"), "trans-unit");
  EXPECT_EQ(tag_name("</group>"), "/group");
  EXPECT_EQ(tag_name("<target/>"), "target");
}

}  // namespace
}  // namespace catintake
