#include "catintake/po_reader.h"

#include <gtest/gtest.h>

#include "tests/support/catintake_import.h"

namespace catintake {
namespace {

using testing::import;
using testing::po;

const char* const NL_HEADER = "msgid \"\"\nmsgstr \"\"\n\"Language: nl\\n\"\n\n";

TEST(PoReader, HeaderLanguageUnlessThePrefixGivesOne) {
  std::string body = "msgid \"Hello\"\nmsgstr \"Hallo\"\n";
  EXPECT_EQ(import({po("", NL_HEADER + body)}).languages[0], "nl");
  EXPECT_EQ(import({po("de", NL_HEADER + body)}).catalog, "en: Hello\nde: Hallo\n");
  std::string pt = "msgid \"\"\nmsgstr \"\"\n\"Language: pt-BR\\n\"\n";
  EXPECT_EQ(import({po("", pt + body)}).languages[0], "pt-BR");
  std::string underscore = "msgid \"\"\nmsgstr \"\"\n\"Language: nl_NL\\n\"\n";
  EXPECT_EQ(import({po("", underscore + body)}).languages[0], "nl-NL");
  std::string charset = "msgid \"\"\nmsgstr \"\"\n\"charset=x Language: fr\\n\"\n";
  EXPECT_EQ(import({po("de", charset + body)}).languages[0], "de");
}

TEST(PoReader, WithoutALanguageTheFirstMessageLineFails) {
  const char* const message = "msgid \"Hello\"\nmsgstr \"Hallo\"\n";
  auto no_header = import({po("", message)});
  EXPECT_FALSE(no_header.read);
  EXPECT_EQ(no_header.err, "catintake - no language code or invalid language code.\n");
  // An empty header value is no language (the next character is the escape's backslash).
  auto empty_value =
      import({po("", "msgid \"\"\nmsgstr \"\"\n\"Language: \\n\"\n" + std::string(message))});
  EXPECT_FALSE(empty_value.read);
  EXPECT_EQ(empty_value.err, no_header.err);
}

TEST(PoReader, SkipsAByteOrderMarkSoTheHeaderIsFound) {
  auto outcome =
      import({po("", "\xEF\xBB\xBF" + std::string(NL_HEADER) + "msgid \"a\"\r\nmsgstr \"b\"\r\n")});
  EXPECT_TRUE(outcome.read);
  EXPECT_EQ(outcome.catalog, "en: a\nnl: b\n");
}

TEST(PoReader, StringsKeepCatalogEscapesAndJoinContinuations) {
  auto outcome = import({po("nl",
                            "msgid \"a\\\"b\\n\"\nmsgstr \"\"\n  \"ab\"\n\"cd\\\\\" trailing\n"
                            "msgid \"x\\'y\"\nmsgstr \"end\\\n")});
  EXPECT_EQ(outcome.catalog, "en: a\"b\\n\nnl: abcd\\\\\n\nen: x'y\nnl: end\\\n");
}

TEST(PoReader, UntranslatedEntriesWriteNoLineAndEmptyKeysAreReported) {
  auto outcome =
      import({po("nl", "msgid \"Hello\"\nmsgstr \"\"\n\nmsgid \"Bye\"\nmsgstr \"x\"\n")});
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(outcome.catalog, "en: Hello\n\nen: Bye\nnl: x\n");
  auto empty_key = import({po("nl", "msgid \"a\"\nmsgstr \"b\"\nmsgid \"\"\nmsgstr \"c\"\n")});
  EXPECT_EQ(empty_key.err, "catintake - empty key string or translation, line 3\n");
}

TEST(PoReader, PluralFormsMapIndexZeroToTheSingular) {
  auto outcome = import({po("nl",
                            "msgid \"apple\"\nmsgid_plural \"apples\"\n"
                            "msgstr[0] \"appel\"\nmsgstr[1] \"appels\"\n")});
  EXPECT_EQ(outcome.catalog, "en: apples\nen[1]: apple\nnl: appels\nnl[1]: appel\n");
  // Only the forms that are translated are written.
  auto partial = import({po("nl",
                            "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"b\"\n"
                            "msgstr[1] \"\"\nmsgid \"c\"\nmsgstr \"d\"\n")});
  EXPECT_EQ(partial.catalog, "en: as\nen[1]: a\nnl[1]: b\n\nen: c\nnl: d\n");
  EXPECT_EQ(partial.err, "catintake - missing general (plural) form, line 4\n");
  // Higher indexes are general forms: the last one wins.
  auto higher = import({po("uk",
                           "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"x\"\n"
                           "msgstr[1] \"y\"\nmsgstr[ 2 ] \"z\"\n")});
  EXPECT_EQ(higher.catalog, "en: as\nen[1]: a\nuk: z\nuk[1]: x\n");
}

TEST(PoReader, AMessageWithoutItsGeneralFormIsReportedTheLastOneToo) {
  std::string singular_only = "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"b\"\n\n";
  auto missing = import({po("nl", singular_only + "msgid \"c\"\nmsgstr \"d\"\n")});
  EXPECT_EQ(missing.err, "catintake - missing general (plural) form, line 4\n");
  EXPECT_EQ(import({po("nl", singular_only)}).err,
            "catintake - missing general (plural) form, line 4\n");
}

TEST(PoReader, OneFormLanguagesWriteTheirOnlyFormAsTheGeneralLine) {
  std::string header = "msgid \"\"\nmsgstr \"Plural-Forms: nplurals=1; plural=0;\\n\"\n";
  auto outcome = import({po("ja", header + "msgid \"%d file\"\nmsgid_plural \"%d files\"\n"
                                           "msgstr[0] \"%d ko\"\n")});
  EXPECT_EQ(outcome.catalog, "en: %d files\nen[1]: %d file\nja: %d ko\n");
  EXPECT_EQ(outcome.err, "");
}

TEST(PoReader, MsgidPluralWithoutMsgidStartsAMessage) {
  auto outcome = import({po("nl", "msgstr \"orphan\"\nmsgid_plural \"as\"\nmsgstr \"b\"\n")});
  EXPECT_TRUE(outcome.read);
  EXPECT_EQ(outcome.catalog, "en: as\nnl: b\n");
}

TEST(PoReader, CommentsContextsAndObsoleteEntriesAreNotImported) {
  auto outcome = import({po("nl",
                            "#, fuzzy\nmsgid \"a\"\nmsgstr \"b\"\nmsgctxt \"menu\"\n"
                            "\"more\"\n#~ msgid \"old\"\n#~ msgstr \"oud\"\n")});
  EXPECT_EQ(outcome.catalog, "en: a\nnl: b\n");
}

TEST(PoReader, LaterFilesTranslateMessagesOfTheTable) {
  std::string first = "msgid \"Hello\"\nmsgstr \"Hallo\"\nmsgid \"ab\"\nmsgstr \"x\"\n";
  std::string second =
      "msgid \"Hello\"\nmsgstr \"Salut\"\nmsgid \"\"\n\"a\"\n  \"b\"\nmsgstr \"y\"\n";
  auto outcome = import({po("nl", first), po("fr", second)});
  EXPECT_EQ(outcome.catalog, "en: Hello\nnl: Hallo\nfr: Salut\n\nen: ab\nnl: x\nfr: y\n");
  auto unknown = import({po("nl", first), po("fr", "\n\nmsgid \"Bye\"\n\"\"\nmsgstr \"z\"\n")});
  EXPECT_FALSE(unknown.read);
  EXPECT_EQ(unknown.err, "catintake - cannot find msgid, line 4\n");
}

TEST(PoReader, AMsgstrBeforeAnyMsgidIsSkipped) {
  auto outcome = import({po("nl", "msgstr \"lost\"\nmsgid \"a\"\nmsgstr \"b\"\n")});
  EXPECT_TRUE(outcome.read);
  EXPECT_EQ(outcome.catalog, "en: a\nnl: b\n");
}

TEST(PoReader, TextsUpToTheLimitAreKeptLongerOnesFailTheFile) {
  std::string limit(kMaxTextLength, 'x');
  auto fits = import({po("nl", "msgid \"a\"\nmsgstr \"\"\n\"" + limit.substr(1) + "\"\n\"x\"\n")});
  EXPECT_TRUE(fits.read);
  EXPECT_EQ(fits.catalog, "en: a\nnl: " + limit + "\n");
  auto too_long = import({po("nl", "msgid \"a\"\nmsgstr \"" + limit + "\"\n\"y\"\n")});
  EXPECT_FALSE(too_long.read);
  EXPECT_EQ(too_long.err, "catintake - message too long, line 3\n");
  // An escape that does not fit counts both its characters.
  std::string almost(kMaxTextLength - 1, 'x');
  EXPECT_FALSE(import({po("nl", "msgid \"" + almost + "\\n\"\n")}).read);
}

TEST(PoReader, TruncatedAndUnclosedStringsKeepWhatWasRead) {
  auto outcome = import({po("nl", "msgid \"Hel\nmsgstr \"Hal")});
  EXPECT_TRUE(outcome.read);
  EXPECT_EQ(outcome.catalog, "en: Hel\nnl: Hal\n");
}

TEST(PoReader, NulBytesAreOrdinaryBytes) {
  std::string nul("msgid \"a\0b\"\nmsgstr \"c\0\"\n", 24);
  EXPECT_EQ(import({po("nl", nul)}).catalog, std::string("en: a\0b\nnl: c\0\n", 15));
}

}  // namespace
}  // namespace catintake
