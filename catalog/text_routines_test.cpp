#include "catalog/text_routines.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

using Conversion = SingleByteConversion;

Conversion convert(std::string_view source, std::string& out) {
  return utf8_to_single_byte(source, out);
}

TEST(SkipBlanks, SkipsControlBytesAndSpaceButNotHighBytesOrNul) {
  EXPECT_EQ(skip_blanks(" \t\x01\x1F\x20x y"), "x y");
  EXPECT_EQ(skip_blanks("   "), "");
  EXPECT_EQ(skip_blanks(""), "");
  EXPECT_EQ(skip_blanks("\xA0x"), "\xA0x");
  EXPECT_EQ(skip_blanks(std::string_view("\0 x", 3)), std::string_view("\0 x", 3));
}

TEST(UnescapeKeyText, DecodesTheSevenEscapes) {
  EXPECT_EQ(unescape_key_text(R"(\"\$\'\\)"), "\"$'\\");
  EXPECT_EQ(unescape_key_text(R"(a\nb\rc\td)"), "a\nb\rc\td");
  EXPECT_EQ(unescape_key_text(R"(Hello, world\n)"), "Hello, world\n");
}

TEST(UnescapeKeyText, KeepsOtherBackslashes) {
  EXPECT_EQ(unescape_key_text(R"(C:\dir)"), R"(C:\dir)");
  EXPECT_EQ(unescape_key_text(R"(\x41)"), R"(\x41)");
  EXPECT_EQ(unescape_key_text("end\\"), "end\\");
  EXPECT_EQ(unescape_key_text(R"(\\n)"), "\\n");  // an escaped backslash, then a plain n
  EXPECT_EQ(unescape_key_text(R"(\q\n)"), "\\q\n");
  EXPECT_EQ(unescape_key_text(""), "");
}

TEST(Utf8Validity, AcceptsWhatTheSixByteFormAllows) {
  EXPECT_TRUE(is_valid_utf8(""));
  EXPECT_TRUE(is_valid_utf8("plain ASCII"));
  EXPECT_TRUE(is_valid_utf8("\xC3\xA9"));
  EXPECT_TRUE(is_valid_utf8("\xEF\xBB\xBF"));              // U+FEFF
  EXPECT_TRUE(is_valid_utf8("\xF4\x90\x80\x80"));          // U+110000
  EXPECT_TRUE(is_valid_utf8("\xF8\x88\x80\x80\x80"));      // U+200000
  EXPECT_TRUE(is_valid_utf8("\xFD\xBF\xBF\xBF\xBF\xBF"));  // 0x7FFFFFFF
  EXPECT_TRUE(is_valid_utf8("\xED\x9F\xBF"));              // U+D7FF, just below the surrogates
  EXPECT_TRUE(is_valid_utf8("\xEF\xBF\xBD"));              // U+FFFD
}

TEST(Utf8Validity, RejectsOverlongSurrogatesNoncharactersAndBrokenSequences) {
  EXPECT_FALSE(is_valid_utf8("\xC0\x80"));
  EXPECT_FALSE(is_valid_utf8("\xC1\xBF"));
  EXPECT_FALSE(is_valid_utf8("\xE0\x80\x80"));
  EXPECT_FALSE(is_valid_utf8("\xF0\x8F\xBF\xBF"));
  EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));
  EXPECT_FALSE(is_valid_utf8("\xED\xBF\xBF"));
  EXPECT_FALSE(is_valid_utf8("\xEF\xBF\xBE"));
  EXPECT_FALSE(is_valid_utf8("\xEF\xBF\xBF"));
  EXPECT_FALSE(is_valid_utf8("\xC3\n"));
  EXPECT_FALSE(is_valid_utf8("\xC3\xC3\xA9"));
  EXPECT_FALSE(is_valid_utf8("\xC3"));  // incomplete at the end
  EXPECT_FALSE(is_valid_utf8("\xA9"));  // continuation without lead
  EXPECT_FALSE(is_valid_utf8("\xFE"));
  EXPECT_FALSE(is_valid_utf8("\xFF"));
  EXPECT_FALSE(
      is_valid_utf8("Gr\xFC\xDF"
                    "e"));  // Latin-1
}

TEST(Utf8Validity, LongTextsAreJudgedAtEveryOffset) {
  // Long ASCII runs are tested in wide steps: a character or a fault must be found wherever
  // it starts, and a sequence in progress must not be skipped over.
  for (size_t at = 0; at < 20; ++at) {
    std::string ascii(24, 'a');
    EXPECT_TRUE(is_valid_utf8(ascii.substr(0, at) + "\xC3\xA9" + ascii)) << at;
    EXPECT_FALSE(is_valid_utf8(ascii.substr(0, at) + "\xFF" + ascii)) << at;
    EXPECT_FALSE(is_valid_utf8(ascii.substr(0, at) + "\xC3" + ascii)) << at;
    EXPECT_FALSE(is_valid_utf8(ascii + ascii.substr(0, at) + "\xE2\x82")) << at;
  }
}

TEST(Utf8DecodeStep, ReportsCompletedCharacters) {
  Utf8State state;
  EXPECT_TRUE(utf8_decode_step(0xE2, state));
  EXPECT_EQ(state.remaining, 2);
  EXPECT_TRUE(utf8_decode_step(0x82, state));
  EXPECT_TRUE(utf8_decode_step(0xAC, state));
  EXPECT_EQ(state.remaining, 0);
  EXPECT_EQ(state.value, 0x20ACu);
}

TEST(Utf8ToSingleByte, ConvertsLatin1RangeCharacters) {
  std::string out;
  EXPECT_EQ(convert("caf\xC3\xA9", out), Conversion::converted);
  EXPECT_EQ(out, "caf\xE9");
  EXPECT_EQ(convert("Schlie\xC3\x9F"
                    "en \xC3\xBC",
                    out),
            Conversion::converted);
  EXPECT_EQ(out,
            "Schlie\xDF"
            "en \xFC");
  EXPECT_EQ(convert("", out), Conversion::converted);
  EXPECT_EQ(out, "");
  EXPECT_EQ(convert("\xC2\xB6", out), Conversion::converted);  // the pilcrow is a plain byte
  EXPECT_EQ(out, "\xB6");
}

TEST(Utf8ToSingleByte, CopiesInvalidTextUnchanged) {
  std::string out;
  EXPECT_EQ(convert("Gr\xFC\xDF"
                    "e",
                    out),
            Conversion::invalid_utf8);
  EXPECT_EQ(out,
            "Gr\xFC\xDF"
            "e");
  // The test runs over the whole text before anything is written: no half conversion.
  EXPECT_EQ(convert("\xC3\xA9 then \xFF", out), Conversion::invalid_utf8);
  EXPECT_EQ(out, "\xC3\xA9 then \xFF");
}

TEST(Utf8ToSingleByte, NeverTruncatesCharactersBeyondLatin1) {
  std::string out;
  EXPECT_EQ(convert("5 \xE2\x82\xAC", out), Conversion::beyond_latin1);  // the euro sign
  EXPECT_EQ(out, "5 \xE2\x82\xAC");
  EXPECT_EQ(convert("\xC4\x80x", out), Conversion::beyond_latin1);  // U+0100 would give a 0 byte
  EXPECT_EQ(out, "\xC4\x80x");
  EXPECT_EQ(convert("\xEF\xBB\xBFx", out), Conversion::beyond_latin1);
}

TEST(Utf8ToSingleByte, WorksInPlace) {
  std::string text = "\xC3\xA9t\xC3\xA9";
  EXPECT_EQ(utf8_to_single_byte(text, text), Conversion::converted);
  EXPECT_EQ(text, "\xE9t\xE9");
  text = "\xFFkeep";
  EXPECT_EQ(utf8_to_single_byte(text, text), Conversion::invalid_utf8);
  EXPECT_EQ(text, "\xFFkeep");
}

}  // namespace
}  // namespace catalog

namespace catalog {
namespace {

// The validity a byte-by-byte decoder gives, against which the whole-sequence check is held.
bool valid_by_steps(std::string_view text) {
  Utf8State state;
  for (char byte : text)
    if (!utf8_decode_step(static_cast<unsigned char>(byte), state)) return false;
  return state.remaining == 0;
}

TEST(Utf8Validity, TheSequenceCheckAgreesWithTheStepDecoder) {
  std::string text(2, '\0');
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) {
      text[0] = static_cast<char>(a), text[1] = static_cast<char>(b);
      ASSERT_EQ(is_valid_utf8(text), valid_by_steps(text)) << a << " " << b;
    }
  const unsigned char interesting[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x9F, 0xA0, 0xBF,
                                       0xC0, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4,
                                       0xF8, 0xFC, 0xFD, 0xFE, 0xFF, 0xBE, 0xB7};
  uint32_t seed = 12345;
  for (int round = 0; round < 200000; ++round) {
    std::string sample;
    for (int k = 0, n = 1 + round % 10; k < n; ++k) {
      seed = seed * 1103515245 + 12345;
      sample += static_cast<char>(interesting[(seed >> 16) % std::size(interesting)]);
    }
    ASSERT_EQ(is_valid_utf8(sample), valid_by_steps(sample)) << round;
  }
}

}  // namespace
}  // namespace catalog
