#include "catalog/catalog_format.h"

#include <string>

#include <gtest/gtest.h>

#include "catalog/key_hash.h"

namespace catalog {
namespace {

// The key of a whole key line's content, the way a main catalog reads it.
uint32_t key_of(std::string_view content, bool numeric = false) {
  return message_key(key_text(read_language_line(content)), numeric);
}

uint32_t text(std::string_view bytes) {
  return text_key_hash(bytes);
}

TEST(LanguageLine, SplitsCodeBlanksAndOpener) {
  LanguageLine line = read_language_line("de \t[1]: x");
  EXPECT_EQ(line.code, "de");
  EXPECT_EQ(line.after_code, "[1]: x");
  EXPECT_TRUE(line.has_plural_index());
  EXPECT_FALSE(line.has_colon());
  EXPECT_TRUE(read_language_line("en:").has_colon());
  EXPECT_EQ(read_language_line("e").code, "e");
  EXPECT_EQ(read_language_line("pt-BR: x").code, "pt-BR");
  EXPECT_EQ(read_language_line("ptxBR: x").after_code, "xBR: x");  // no colon after two bytes
}

TEST(LanguageLine, HeadRunsThroughTheColonAndOneBlank) {
  EXPECT_EQ(head_length("de: x"), 4u);
  EXPECT_EQ(head_length("de:x"), 3u);
  EXPECT_EQ(head_length("de:\t\tx"), 4u);  // one blank only: the second tab is text
  EXPECT_EQ(head_length("de \t[1] : x:y"), 10u);
  EXPECT_EQ(head_length("de:"), 3u);
  EXPECT_EQ(head_length("de x"), 0u);  // no colon: all text
  EXPECT_EQ(head_length("d:"), 0u);    // the colon is part of the code
  EXPECT_EQ(head_length(""), 0u);
  // A longer code is searched past as a whole, whatever its bytes.
  EXPECT_EQ(head_length("pt-BR: x"), 7u);
  EXPECT_EQ(head_length("ab-:\t\t: y"), 8u);
  EXPECT_EQ(head_length("ab-:x"), 0u);
}

TEST(LanguageLine, CommentsAreHashOrDoubleSlash) {
  EXPECT_TRUE(is_comment("# note"));
  EXPECT_TRUE(is_comment("//"));
  EXPECT_FALSE(is_comment("/x"));
  EXPECT_FALSE(is_comment("en: #"));
}

TEST(KeyRules, PlainAndSymbolKeysOfTheKeyTable) {
  EXPECT_EQ(key_of("en:Hello"), text("Hello"));
  EXPECT_EQ(key_of("en: Hello"), text("Hello"));
  EXPECT_EQ(key_of("en:  Hello"), text(" Hello"));
  EXPECT_EQ(key_of("en: Hello "), text("Hello "));
  EXPECT_EQ(key_of("en:"), text(""));
  EXPECT_EQ(key_of("en: "), text(""));
  EXPECT_EQ(key_of(R"(en: Tab\there)"), text("Tab\there"));
  EXPECT_EQ(key_of(R"(en: C:\dir)"), text(R"(C:\dir)"));
  EXPECT_EQ(key_of("en: $FILE_OPEN Open a file"), text("$FILE_OPEN"));
  EXPECT_EQ(key_of("en: $FILE_OPEN Open a file"), key_of("en: $FILE_OPEN Open"));
  EXPECT_EQ(key_of(R"(en: \$5 fee)"), text("$5 fee"));
  EXPECT_EQ(key_of("en: $5 fee"), text("$5"));
  EXPECT_EQ(key_of(R"(en: \$A_B)"), key_of("en: $A_B"));
  EXPECT_EQ(key_of(R"(en: Hello, world\n)"), text("Hello, world\n"));
  EXPECT_EQ(key_of("en\t: x"), text("x"));  // blanks between code and colon
}

TEST(KeyRules, SymbolEndsAtAnyByteUpToSpace) {
  EXPECT_EQ(symbol_key("$A\tB"), text("$A"));
  EXPECT_EQ(symbol_key(std::string_view("$A\0B", 4)), text("$A"));
  EXPECT_EQ(symbol_key("$\xC3\xA9 x"), text("$\xC3\xA9"));  // high bytes belong to it
  EXPECT_EQ(symbol_key("$"), text("$"));
}

TEST(KeyRules, NumericKeysOfTheKeyTable) {
  const uint32_t forty_two = numeric_key_hash(42);
  EXPECT_EQ(key_of("00: 42", true), forty_two);
  EXPECT_EQ(key_of("00: 0x2A", true), forty_two);
  EXPECT_EQ(key_of("00: 052", true), forty_two);
  EXPECT_EQ(key_of("00: -1", true), numeric_key_hash(0xFFFFFFFFu));
  EXPECT_EQ(key_of("00: 42abc", true), text("42abc"));
  EXPECT_EQ(key_of("00: 42 and more", true), forty_two);  // a blank stops the number
  EXPECT_EQ(key_of("00:  +42", true), forty_two);
  EXPECT_EQ(numeric_key("4294967295"), numeric_key_hash(0x7FFFFFFFu));  // clamped
}

TEST(KeyRules, NumericKeyWithoutNumber) {
  EXPECT_EQ(numeric_key(""), numeric_key_hash(0));
  EXPECT_EQ(numeric_key(" \t"), numeric_key_hash(0));     // stops at the first byte, a blank
  EXPECT_EQ(numeric_key("\x01 7"), numeric_key_hash(0));  // 0x01 is no white space for strtol
  EXPECT_EQ(numeric_key("abc"), text("abc"));
  EXPECT_EQ(numeric_key("-"), text("-"));
  EXPECT_EQ(numeric_key(" x"), numeric_key_hash(0));  // stopped at the blank before x
}

TEST(KeyRules, NumericStopByteRule) {
  EXPECT_EQ(numeric_key("0x"), text("0x"));  // "0" read, stopped at x
  EXPECT_EQ(numeric_key("0xg"), text("0xg"));
  EXPECT_EQ(numeric_key("08"), text("08"));  // octal 0, stopped at 8
  EXPECT_EQ(numeric_key("07\x01"), numeric_key_hash(7));
  EXPECT_EQ(numeric_key(std::string_view("5\0z", 3)), numeric_key_hash(5));
  EXPECT_EQ(numeric_key("5\xA0"), text("5\xA0"));  // high bytes are no blanks
}

TEST(HashLine, ReadsHexadecimalLikeTheStandardReader) {
  EXPECT_EQ(hash_line_key("ec83c8b1"), 0xEC83C8B1u);
  EXPECT_EQ(hash_line_key(" \t0xEC83C8B1 trailing"), 0xEC83C8B1u);
  EXPECT_EQ(hash_line_key("0X1f"), 0x1Fu);
  EXPECT_EQ(hash_line_key("0x"), 0u);
  EXPECT_EQ(hash_line_key("0xg1"), 0u);
  EXPECT_EQ(hash_line_key(" comment"), 0xCu);  // c is a hexadecimal digit
  EXPECT_EQ(hash_line_key("FFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(hash_line_key("123456789"), 0xFFFFFFFFu);   // out of range clamps
  EXPECT_EQ(hash_line_key("0x00000000000000001"), 1u);  // leading zeros are no overflow
}

TEST(HashLine, WithoutHexadecimalDigitSelectsKeyZero) {
  EXPECT_EQ(hash_line_key(""), 0u);
  EXPECT_EQ(hash_line_key("   "), 0u);
  EXPECT_EQ(hash_line_key("-1"), 0u);  // no sign: the next character must be a digit
  EXPECT_EQ(hash_line_key("+1"), 0u);
  EXPECT_EQ(hash_line_key("xyz"), 0u);
  EXPECT_EQ(hash_line_key("\xC3\xA9"), 0u);
}

TEST(CatalogFormat, HashLinesAsSubCatalogsWriteThem) {
  for (const char* line : {"#1", "#ec83c8b1", "#EC83C8B1 \t\r", "#add"})
    EXPECT_TRUE(is_written_hash_line(line)) << line;
  for (const char* line : {"#", "# 1", "#123456789", "#0x1F", "#12 x", "#1g", "// 1", "1"})
    EXPECT_FALSE(is_written_hash_line(line)) << line;
}

}  // namespace
}  // namespace catalog
