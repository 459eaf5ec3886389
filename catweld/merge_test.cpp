#include "catweld/merge.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalog/key_hash.h"

namespace catweld {
namespace {

struct Outcome {
  bool read = false;   // the main catalog was read without the syntax error
  std::string output;  // the rewritten catalog
  std::string err;     // every report as printed
};

Outcome merged(std::string main, std::vector<std::string> subs = {}) {
  std::string err;
  Merge merge([&err](const Report& report) { err += report_text(report); });
  Outcome outcome;
  outcome.read = merge.read_main("main.cat", std::move(main));
  for (size_t i = 0; outcome.read && i < subs.size(); ++i)
    merge.include_sub("sub" + std::to_string(i + 1) + ".cat", std::move(subs[i]));
  merge.write([&outcome](std::string_view bytes) { outcome.output.append(bytes); });
  outcome.err = err;
  return outcome;
}

std::string hash_line(std::string_view key_text) {
  char line[16];
  std::snprintf(line, sizeof line, "#%08x\n", catalog::text_key_hash(key_text));
  return line;
}

TEST(MainCatalog, DropsCommentsBlankLinesAndLeadingBlanks) {
  Outcome out = merged("// head\n# note\n\n  en: A\n\tde: B\r\n   \nen: C\n", {""});
  EXPECT_TRUE(out.read);
  EXPECT_EQ(out.output, "en: A\nde: B\n\nen: C\n\n");
  EXPECT_EQ(out.err, "");
}

TEST(MainCatalog, WithoutLinesComesOutEmpty) {
  for (const char* main : {"", "\n \t\r\n", "\xEF\xBB\xBF"}) {
    Outcome out = merged(main);
    EXPECT_TRUE(out.read);
    EXPECT_EQ(out.output, "");
    EXPECT_EQ(out.err, "");
  }
}

TEST(MainCatalog, ReportsInvalidLanguageCodesAndLeavesTheLinesOut) {
  Outcome out = merged("en: A\nd\nde\nde x\npt-BRx: B\nen\n", {});
  EXPECT_EQ(out.output, "en: A\n\n");
  EXPECT_EQ(out.err,
            " catweld - invalid language code on main.cat(2)\n"
            " catweld - invalid language code on line main.cat(3)\n"
            " catweld - invalid language code on line main.cat(4)\n"
            " catweld - invalid language code on line main.cat(5)\n"
            " catweld - invalid language code on line main.cat(6)\n");
  // The line end counts as a character: a last line "en" without one is too short.
  EXPECT_EQ(merged("en: A\nen").err, " catweld - invalid language code on main.cat(2)\n");
}

TEST(MainCatalog, LanguageLineBeforeTheFirstKeyLineIsASyntaxError) {
  Outcome out = merged("en[1]: one\nen: A\n");
  EXPECT_FALSE(out.read);
  EXPECT_EQ(out.err, "catweld - error in the catalog syntax\n");
  EXPECT_FALSE(merged("# c\n  de [2]: x\nde: y\n").read);
}

TEST(MainCatalog, LastLineWithoutLineEndGetsOneAndNoEmptyLineAfter) {
  EXPECT_EQ(merged("en: A\nde: B").output, "en: A\nde: B\n");
  // A translation appended after it never glues to it.
  EXPECT_EQ(merged("en: A\nde: B", {"en: A\nfr: C\n"}).output, "en: A\nde: B\nfr: C\n\n");
  // Replacing it gives the line a line end of its own.
  EXPECT_EQ(merged("en: A\nde: B", {"en: A\nde: X\n"}).output, "en: A\nde: X\n\n");
}

TEST(MainCatalog, ByteOrderMarkIsSkippedAndNeverWritten) {
  Outcome out = merged(
      "\xEF\xBB\xBF"
      "en: A\nde: B\n",
      {"en: A\nfr: C\n"});
  EXPECT_EQ(out.output, "en: A\nde: B\nfr: C\n\n");
  EXPECT_EQ(out.err, "");
}

TEST(MainCatalog, KeepsLinesLongerThanAnyBufferWhole) {
  // Lines of 32766 to 32768 bytes with their line end, and far beyond, stay single lines.
  for (size_t length : {32762u, 32763u, 32764u, 70000u}) {
    std::string long_text(length, 'x');
    Outcome out =
        merged("en: A\nde: " + long_text + "\nen: B\n", {"en: B\nfr: " + long_text + "\n# 2\n"});
    EXPECT_EQ(out.output, "en: A\nde: " + long_text + "\n\nen: B\nfr: " + long_text + "\n\n");
    EXPECT_EQ(out.err, "catweld - message key is not found, sub1.cat(3)\n");  // line 2 is whole
  }
}

TEST(SubCatalog, ExampleReplacesAppendsAndReportsTheSecondLanguage) {
  Outcome out = merged(
      "// menu texts\nen: Open\nde: \xC3\x96"
      "ffnen\n\nen: Close\n",
      {"en: Open\nfr: Ouvrir\n#ec83c8b1\nfr: Fermer\nde: Schlie\xC3\x9F"
       "en\n"});
  EXPECT_EQ(out.output,
            "en: Open\nde: \xC3\x96"
            "ffnen\nfr: Ouvrir\n\nen: Close\nfr: Fermer\n\n");
  EXPECT_EQ(out.err, "catweld - message has the wrong language code, sub1.cat(5)\n");
}

TEST(SubCatalog, ReplacesInPlaceIgnoringCaseOfTheCode) {
  Outcome out = merged("en: A\nde: alt\nfr: bleibt\n", {"en: A\nDE: neu\n"});
  EXPECT_EQ(out.output, "en: A\nDE: neu\nfr: bleibt\n\n");
}

TEST(SubCatalog, PluralLinesReplaceOnlyTheSamePluralForm) {
  std::string main = "en: $FILES %d files\nen[1]: %d file\nde: %d Dateien\nde[1]: %d Datei\n";
  Outcome out = merged(main, {"en: $FILES\nde[1]: eine Datei\nde [1] : noch eine\n"});
  EXPECT_EQ(out.output,
            "en: $FILES %d files\nen[1]: %d file\nde: %d Dateien\nde [1] : noch eine\n\n");
  out = merged("en: A\nde: alle\n", {"en: A\nde[1]: eine\n"});
  EXPECT_EQ(out.output, "en: A\nde: alle\nde[1]: eine\n\n");  // the general form is kept
}

TEST(SubCatalog, KeyLineIsNeverReplaced) {
  Outcome out = merged("en: A\n", {"en: A\nEN: not a key\nEN: again\n"});
  EXPECT_EQ(out.output, "en: A\nEN: again\n\n");
  // A plural form in the key language is a translation line and replaces its like.
  out = merged("en: A\nen[1]: one A\n", {"en: A\nen[1]: One A\n"});
  EXPECT_EQ(out.output, "en: A\nen[1]: One A\n\n");
}

TEST(SubCatalog, LaterTranslationsReplaceEarlierOnes) {
  Outcome out = merged("en: A\n", {"en: A\nfr: one\n", hash_line("A") + "fr: two\n"});
  EXPECT_EQ(out.output, "en: A\nfr: two\n\n");
}

TEST(SubCatalog, FirstMessageWithAKeyWins) {
  Outcome out = merged("en: A\nde: first\n\nen: A\nde: second\n", {"en: A\nfr: x\n"});
  EXPECT_EQ(out.output, "en: A\nde: first\nfr: x\n\nen: A\nde: second\n\n");
}

TEST(SubCatalog, UnknownKeysDropTheFollowingTranslations) {
  Outcome out = merged("en: A\n", {"en: B\nfr: dropped\n#12345678\nfr: dropped\n# comment\n"
                                   "en: A\nfr: kept\n"});
  EXPECT_EQ(out.output, "en: A\nfr: kept\n\n");
  EXPECT_EQ(out.err,
            "catweld - message key is not found, sub1.cat(1)\n"
            "catweld - message key is not found, sub1.cat(3)\n"
            "catweld - message key is not found, sub1.cat(5)\n");
}

TEST(SubCatalog, HashLinesReadHexadecimalWithOrWithoutPrefix) {
  uint32_t key = catalog::text_key_hash("A");
  char upper[32];
  std::snprintf(upper, sizeof upper, "#  0X%08X trailing text\n", key);
  Outcome out = merged("en: A\n", {std::string(upper) + "fr: x\n"});
  EXPECT_EQ(out.output, "en: A\nfr: x\n\n");
  EXPECT_EQ(out.err, "");
}

TEST(SubCatalog, FirstTranslationFixesTheLanguageEvenWithoutMessage) {
  Outcome out = merged("en: A\n", {"fr: dropped silently\nen: A\nde: wrong\nen: A\nfr: x\n",
                                   "en: A\nFR: case counts\n"});
  EXPECT_EQ(out.output, "en: A\nfr: x\n\n");
  EXPECT_EQ(out.err,
            "catweld - message has the wrong language code, sub1.cat(3)\n"
            "catweld - message has the wrong language code, sub2.cat(2)\n");
}

TEST(SubCatalog, WrongLanguageEndsTheSelection) {
  Outcome out = merged("en: A\n", {"en: A\nfr: x\nde: y\nfr: dropped\n"});
  EXPECT_EQ(out.output, "en: A\nfr: x\n\n");
}

TEST(SubCatalog, DoubleSlashLinesAreTranslationsWithThatCode) {
  Outcome out = merged("en: A\n", {"en: A\n// remark\n"});
  EXPECT_EQ(out.output, "en: A\n// remark\n\n");
}

TEST(SubCatalog, SelectingOnlyLeavesTheContent) {
  Outcome out = merged("# c\nen: A\n  de: B\n", {"en: A\n\n" + hash_line("A")});
  EXPECT_EQ(out.output, "en: A\nde: B\n\n");
  EXPECT_EQ(out.err, "");
}

TEST(SubCatalog, EscapesRawCarriageReturnsAndTabs) {
  Outcome out = merged("en: A\n", {"en: A\n  fr: a\tb\rc\r\r\n"});
  EXPECT_EQ(out.output, "en: A\nfr: a\\tb\\rc\\r\n\n");  // the CR before the LF is no part
}

TEST(SubCatalog, BlanksInTheHeadOfATranslationStayAsTheyAre) {
  // Blanks around the code, plural index and colon only separate: a tab there is no text, so
  // it finds the line of the same code and plural form and is not written as an escape (which
  // would make the line unreadable). Escaping starts with the text after the colon's blank.
  Outcome out = merged("en: A\nde: alt\nde[1]: eins\n",
                       {"en: A\nde\t: neu\nde\t[1]\t:\tneu\teins\nde:\t\tdoppelt\n"});
  EXPECT_EQ(out.output, "en: A\nde:\t\\tdoppelt\nde\t[1]\t:\tneu\\teins\n\n");
  // The rewritten lines read back as the same slots.
  out = merged(out.output, {"en: A\nde: drei\nde[1]: vier\n"});
  EXPECT_EQ(out.output, "en: A\nde: drei\nde[1]: vier\n\n");
  EXPECT_EQ(out.err, "");
}

TEST(SubCatalog, ByteOrderMarkIsSkippedAndLinesAreCounted) {
  // Only at the very start: later, its bytes are a line's first two characters.
  Outcome out = merged("en: A\n", {"\xEF\xBB\xBF"
                                   "en: A\nfr: y\n\xEF\xBB\xBF"
                                   "fr: x\nen: Z\n"});
  EXPECT_EQ(out.output, "en: A\nfr: y\n\n");
  EXPECT_EQ(out.err,
            "catweld - message has the wrong language code, sub1.cat(3)\n"
            "catweld - message key is not found, sub1.cat(4)\n");
}

TEST(FiveCharacterCodes, ReplaceAndTranslateOnlyAsTheWholeCode) {
  std::string main = "en: A\npt: a\npt-BR: b\nzh-TW[1]: c\n";
  EXPECT_EQ(merged(main, {"en: A\npt: P\n"}).output, "en: A\npt: P\npt-BR: b\nzh-TW[1]: c\n\n");
  // The translation language is compared with case, the slot without.
  Outcome out = merged(main, {"en: A\nPT-br: B\npt-BR: dropped\n"});
  EXPECT_EQ(out.output, "en: A\npt: a\nPT-br: B\nzh-TW[1]: c\n\n");
  EXPECT_EQ(out.err, "catweld - message has the wrong language code, sub1.cat(3)\n");
}

TEST(FiveCharacterCodes, TheKeyLanguageMayHaveFive) {
  Outcome out = merged(
      "pt-BR: Abrir\nen: Open\npt-BR[1]: plural\n\npt-BR: Fechar\n",
      {"pt-BR: Fechar\nen: Close\n" + hash_line("Abrir") + "en: Opens\npt: Abrir\nen: dropped\n"});
  EXPECT_EQ(out.output,
            "pt-BR: Abrir\nen: Opens\npt-BR[1]: plural\n\npt-BR: Fechar\nen: Close\n\n");
  EXPECT_EQ(out.err, "catweld - message has the wrong language code, sub1.cat(5)\n");
}

TEST(FiveCharacterCodes, TheHeadKeepsItsBlanksAndReadsBack) {
  // The code is five bytes whatever they are: the text begins after the first ':' past them.
  Outcome out = merged("en: A\n", {"en: A\nzh-TW\t[1]:\ta\tb\n"});
  EXPECT_EQ(out.output, "en: A\nzh-TW\t[1]:\ta\\tb\n\n");
  EXPECT_EQ(merged(out.output, {"en: A\nzh-tw[1]: c\n"}).output, "en: A\nzh-tw[1]: c\n\n");
  EXPECT_EQ(merged("en: A\n", {"en: A\nab-:\t\t: y\n"}).output, "en: A\nab-:\t\t: y\n\n");
}

TEST(Refusals, HashLinesAndNoMessageEndTheReadingAtTheirPlace) {
  Outcome out = merged("en: Open\n#1\nd\n", {});
  EXPECT_FALSE(out.read);
  EXPECT_EQ(out.err,
            "catweld - main.cat:2: not rewritten: a sub-catalog hash line; give the main catalog "
            "first\n");
  out = merged("# c\nx\n", {});
  EXPECT_FALSE(out.read);
  EXPECT_EQ(out.err,
            " catweld - invalid language code on main.cat(2)\n"
            "catweld - main.cat: not rewritten: it holds no message\n");
}

TEST(NumericKeys, MainAndSubKeyLinesUseTheSameRule) {
  std::string main = "00: 42\nde: zweiundvierzig\n\n00: 7x\nde: sieben\n";
  Outcome out = merged(main, {"00: 0x2A\nfr: quarante-deux\n00: 7x\nfr: sept\n"});
  EXPECT_EQ(out.output,
            "00: 42\nde: zweiundvierzig\nfr: quarante-deux\n\n00: 7x\nde: sieben\nfr: sept\n\n");
  EXPECT_EQ(out.err, "");
  char line[16];
  std::snprintf(line, sizeof line, "#%x\n", catalog::numeric_key_hash(42));
  EXPECT_EQ(merged(main, {std::string(line) + "fr: x\n"}).output,
            "00: 42\nde: zweiundvierzig\nfr: x\n\n00: 7x\nde: sieben\n\n");
}

TEST(SingleByteMain, ConvertsSubCatalogLinesToLatin1) {
  Outcome out = merged(
      "en: A\nde: Gr\xFC\xDF"
      "e\n",
      {"en: A\nde: Schlie\xC3\x9F"
       "en \xC3\xBC\n"});
  EXPECT_EQ(out.output,
            "en: A\nde: Schlie\xDF"
            "en \xFC\n\n");
  EXPECT_EQ(out.err, "");
  // With a UTF-8 main catalog the line is stored unchanged.
  EXPECT_EQ(merged("en: A\n", {"en: A\nde: \xC3\xBC\n"}).output, "en: A\nde: \xC3\xBC\n\n");
}

TEST(SingleByteMain, KeyLinesAreConvertedBeforeHashing) {
  Outcome out = merged(
      "en: Gr\xFC\xDF"
      "e\n",
      {"en: Gr\xC3\xBC\xC3\x9F"
       "e\nfr: x\n"});
  EXPECT_EQ(out.output,
            "en: Gr\xFC\xDF"
            "e\nfr: x\n\n");
}

TEST(SingleByteMain, AnyInvalidMainLineCountsEvenAComment) {
  Outcome out = merged("# caf\xE9\nen: A\n", {"en: A\nfr: caf\xC3\xA9\n"});
  EXPECT_EQ(out.output, "en: A\nfr: caf\xE9\n\n");
}

TEST(SingleByteMain, ASequenceNeverSpansALineEnd) {
  auto is_utf8 = [](std::string main) {
    Merge merge([](const Report&) {});
    merge.read_main("main.cat", std::move(main));
    return merge.main_is_utf8();
  };
  EXPECT_TRUE(is_utf8("\xEF\xBB\xBF  \t\xC3\xA9: x\r\nen: \xC3\xA9\n// \xE2\x82\xAC"));
  EXPECT_FALSE(is_utf8("en: A\xC3\n\xA9: x\n"));
  EXPECT_FALSE(is_utf8("en: A\xC3\r\n\xA9: x\n"));
  EXPECT_FALSE(is_utf8("en: A\n\xC3 \xA9\n"));
}

TEST(SingleByteMain, LinesBeyondLatin1OrInvalidStayUnchanged) {
  Outcome out =
      merged("en: A\nde: \xFC\n", {"en: A\nfr: 5 \xE2\x82\xAC\nen: A\nfr: \xC4\x80\nit: \xFF\n"});
  EXPECT_EQ(out.output, "en: A\nde: \xFC\nfr: \xC4\x80\n\n");
  EXPECT_EQ(out.err,
            "catweld - line not converted, characters beyond Latin-1, sub1.cat(2)\n"
            "catweld - line not converted, characters beyond Latin-1, sub1.cat(4)\n"
            "catweld - message has the wrong language code, sub1.cat(5)\n");
}

TEST(Bytes, PilcrowHasNoMeaning) {
  EXPECT_EQ(merged("en: A\n", {"en: A\nde: a\xB6"
                               "b \xC3\xB6\n"})
                .output,
            "en: A\nde: a\xB6"
            "b \xC3\xB6\n\n");
  EXPECT_EQ(merged("en: A\nde: \xFC\n", {"en: A\nde: a\xC2\xB6"
                                         "b\n"})
                .output,
            "en: A\nde: a\xB6"
            "b\n\n");
}

TEST(Bytes, NulBytesOfSubCatalogsAreOrdinaryBytes) {
  std::string nul(1, '\0');
  Outcome out = merged("en: A\nde: x\n", {"en: A\nfr: y" + nul + "z\n" + nul + "fr: w\nen: A" +
                                          nul + "\nfr: dropped\n"});
  EXPECT_EQ(out.output, "en: A\nde: x\nfr: y" + nul + "z\n\n");
  EXPECT_EQ(out.err,
            "catweld - message has the wrong language code, sub1.cat(3)\n"
            "catweld - message key is not found, sub1.cat(4)\n");
}

}  // namespace
}  // namespace catweld
