#include "catalog/key_hash.h"

#include <string>

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(TextKeyHash, MatchesPublishedValues) {
  EXPECT_EQ(text_key_hash(""), 0xBD49D10Du);  // the empty text has a key, and it is not 0
  EXPECT_EQ(text_key_hash("a"), 0x29EEC818u);
  EXPECT_EQ(text_key_hash("abc"), 0x251E4793u);
  EXPECT_EQ(text_key_hash("Hello world"), 0x1C14DC79u);
  EXPECT_EQ(text_key_hash("The quick brown fox"), 0x94941980u);
  EXPECT_EQ(text_key_hash("Close"), 0xEC83C8B1u);
}

TEST(TextKeyHash, AddsOnlyTheRemainderAfterWholeBlocks) {
  // A stock lookup2 adds the total length and would give 0xA9F3D5DE here.
  EXPECT_EQ(text_key_hash("Hello world!"), 0x651AFDD0u);
}

TEST(TextKeyHash, TreatsHighBytesAsUnsigned) {
  // With sign extension the 0xFF byte would spill ones into the other byte places.
  std::string high("\xFF\x01", 2);
  std::string low("\x7F\x01", 2);
  EXPECT_NE(text_key_hash(high), text_key_hash(low));
  EXPECT_EQ(text_key_hash("\xC3\xA9"), text_key_hash(std::string("\xC3\xA9", 2)));
  EXPECT_EQ(text_key_hash(std::string_view("a\0b", 3)), text_key_hash(std::string("a\0b", 3)));
  EXPECT_NE(text_key_hash(std::string_view("a\0", 2)), text_key_hash("a"));
}

TEST(TextKeyHash, EveryRemainderLengthReachesItsPlace) {
  // Changing any one byte of a 1..23-byte text changes the key: each leftover byte is used.
  std::string base = "abcdefghijklmnopqrstuvw";
  for (size_t length = 1; length <= base.size(); ++length) {
    for (size_t i = 0; i < length; ++i) {
      std::string changed = base.substr(0, length);
      changed[i] = 'Z';
      EXPECT_NE(text_key_hash(changed), text_key_hash(base.substr(0, length)))
          << "length " << length << " byte " << i;
    }
  }
}

TEST(NumericKeyHash, MatchesPublishedValues) {
  EXPECT_EQ(numeric_key_hash(0), 0x9E3779B9u);
  EXPECT_EQ(numeric_key_hash(1), 0x3115020Eu);
  EXPECT_EQ(numeric_key_hash(2), 0xC0638ED6u);
  EXPECT_EQ(numeric_key_hash(42), 0x2089D5D0u);
  EXPECT_EQ(numeric_key_hash(100), 0x42366612u);
  EXPECT_EQ(numeric_key_hash(0x7FFFFFFFu), 0xE75672EEu);
  EXPECT_EQ(numeric_key_hash(0xFFFFFFFFu), 0x9A4AFD66u);
}

}  // namespace
}  // namespace catalog
