#include "catweld/message_store.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace catweld {
namespace {

std::string written(const MessageStore& store) {
  std::string text;
  store.write_all([&text](std::string_view bytes) { text.append(bytes); });
  return text;
}

TEST(MessageStore, WritesMessagesInOrderWithAnEmptyLineAfterEach) {
  MessageStore store;
  EXPECT_EQ(written(store), "");
  store.add_message(1, "en: A");
  store.add_line("de: A");
  store.add_message(2, "en: B");
  EXPECT_EQ(written(store), "en: A\nde: A\n\nen: B\n\n");
}

TEST(MessageStore, FindsTheFirstMessageOfAKey) {
  MessageStore store;
  store.add_message(7, "en: A");
  store.add_message(7, "en: A");
  store.add_message(0, "en: B");
  EXPECT_EQ(store.find_message(7), 0u);
  EXPECT_EQ(store.find_message(0), 2u);
  EXPECT_EQ(store.find_message(8), MessageStore::kNone);
}

TEST(MessageStore, TranslationReplacesTheFirstLineOfItsSlot) {
  MessageStore store;
  store.add_message(1, "en: A");
  store.add_line("De: one");
  store.add_line("de: two");
  store.add_line("de[1]: plural");
  store.add_message(2, "en: B");
  store.add_line("de: other message");
  store.put_translation(store.find_message(1), "dE: new");
  store.put_translation(store.find_message(1), "de [1]: new plural");
  store.put_translation(store.find_message(1), "de[2]: appended");
  store.put_translation(store.find_message(1), "de[2]: replaced");
  store.put_translation(store.find_message(1), "EN: never the key line");
  EXPECT_EQ(written(store),
            "en: A\ndE: new\nde: two\nde [1]: new plural\nde[2]: replaced\nEN: never the key line\n"
            "\nen: B\nde: other message\n\n");
}

TEST(MessageStore, LongMessagesFindTheSameLinesThroughTheirIndex) {
  // Past a few lines a message's lines are indexed: the answers must stay those of a search.
  MessageStore store;
  store.add_message(1, "en: A");
  std::string expected = "en: A\n";
  std::vector<std::string> texts;
  texts.reserve(40);
  for (int i = 0; i < 40; ++i)
    texts.push_back("de[" + std::to_string(i % 20) + "]: " + std::to_string(i));
  for (const std::string& text : texts) store.add_line(text);
  store.put_translation(store.find_message(1), "DE[7]: seven");
  store.put_translation(store.find_message(1), "de[20]: new");
  store.put_translation(store.find_message(1), "de[20]: newer");
  store.put_translation(store.find_message(1), "de[19] : nineteen");
  store.put_translation(store.find_message(1), "en: not the key");
  for (int i = 0; i < 40; ++i) {
    if (i == 7)
      expected += "DE[7]: seven\n";
    else if (i == 19)
      expected += "de[19] : nineteen\n";
    else
      expected += texts[static_cast<size_t>(i)] + "\n";
  }
  EXPECT_EQ(written(store), expected + "de[20]: newer\nen: not the key\n\n");
}

TEST(MessageStore, FiveByteCodesFillSlotsOfTheirOwnAlsoThroughTheIndex) {
  // Below and above the length from which a message's lines are indexed.
  for (int filler : {0, 20}) {
    MessageStore store;
    store.add_message(1, "en: A");
    std::string expected = "en: A\n";
    for (int i = 0; i < filler; ++i) {
      store.add_line(store.keep("de[" + std::to_string(i) + "]: x"));
      expected += "de[" + std::to_string(i) + "]: x\n";
    }
    for (const char* line : {"pt: a", "pt-BR: b", "pt-PT: c", "pt-BR[1]: d", "pt-B: e"})
      store.add_line(line);
    store.put_translation(store.find_message(1), "PT-pt: C");
    store.put_translation(store.find_message(1), "pt-br [1]: D");
    store.put_translation(store.find_message(1), "Pt: A");
    store.put_translation(store.find_message(1), "pt-BRx: appended");
    EXPECT_EQ(written(store), expected +
                                  "Pt: A\npt-BR: b\nPT-pt: C\npt-br [1]: D\npt-B: e\n"
                                  "pt-BRx: appended\n\n")
        << filler;
  }
}

TEST(MessageStore, SlotsOfLinesWithoutColonOrWithShortCodes) {
  MessageStore store;
  store.add_message(1, "en: A");
  store.put_translation(store.find_message(1), "f");
  store.put_translation(store.find_message(1), "F");
  store.put_translation(store.find_message(1), "fr [x");
  store.put_translation(store.find_message(1), "fr[x ");
  EXPECT_EQ(written(store), "en: A\nF\nfr[x \n\n");
}

TEST(MessageStore, UnendedLastLineGetsItsEndWhenALineFollows) {
  MessageStore store;
  store.add_message(1, "en: A");
  store.add_line("de: B");
  store.mark_last_line_unended();
  EXPECT_EQ(written(store), "en: A\nde: B\n");
  store.put_translation(store.find_message(1), "fr: C");
  EXPECT_EQ(written(store), "en: A\nde: B\nfr: C\n\n");
}

TEST(MessageStore, KeptTextsOutliveTheirSource) {
  MessageStore store;
  store.add_message(1, "en: A");
  {
    std::string short_text = "fr: x";  // small enough to live inside the string object
    store.put_translation(store.find_message(1), store.keep(short_text));
  }
  for (int i = 0; i < 100; ++i) store.keep("it: filler");
  EXPECT_EQ(written(store), "en: A\nfr: x\n\n");
}

}  // namespace
}  // namespace catweld
