#include "catalog/numbers.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(ReadLongBase0, ClampsToThirtyTwoBits) {
  EXPECT_EQ(read_long_base0("2147483647").value, INT32_MAX);
  EXPECT_EQ(read_long_base0("2147483648").value, INT32_MAX);
  EXPECT_EQ(read_long_base0("0xFFFFFFFF").value, INT32_MAX);
  EXPECT_EQ(read_long_base0("99999999999999999999999999").value, INT32_MAX);
  EXPECT_EQ(read_long_base0("-2147483648").value, INT32_MIN);
  EXPECT_EQ(read_long_base0("-2147483649").value, INT32_MIN);
  EXPECT_EQ(read_long_base0("-0x80000000").value, INT32_MIN);
  EXPECT_EQ(read_long_base0("-99999999999999999999999").value, INT32_MIN);
  EXPECT_EQ(read_long_base0("99999999999999999999999x").stop, 23u);  // all digits are read
}

// What strtol does with a 32-bit long: the platform's strtol, clamped once more.
NumberRead<int32_t> reference(const std::string& text) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 0);
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  return {static_cast<int32_t>(value), static_cast<size_t>(end - text.c_str())};
}

TEST(ReadLongBase0, AgreesWithTheStandardReader) {
  const char* samples[] = {"",
                           " ",
                           "0",
                           "00",
                           "0x",
                           "0X1f",
                           "0x1g",
                           "0xx",
                           "09",
                           "0179",
                           "+",
                           "-",
                           "+-1",
                           "-+1",
                           " \t\n\v\f\r-12",
                           "\x01\x35",  // 0x01 and 5
                           " + 5",
                           "-0",
                           "-0x",
                           "12e3",
                           "2147483646",
                           "-2147483647",
                           "0x7fffffff",
                           "0x100000000",
                           "037777777777",
                           "040000000000",
                           "1 2",
                           "a1"};
  for (const char* sample : samples) {
    NumberRead<int32_t> got = read_long_base0(sample), expected = reference(sample);
    EXPECT_EQ(got.value, expected.value) << '"' << sample << '"';
    EXPECT_EQ(got.stop, expected.stop) << '"' << sample << '"';
  }
}

TEST(ReadDecimal, ReadsLikeAtoiAndLeavesTheRest) {
  std::string_view text = " -12]x";
  EXPECT_EQ(read_decimal(text), -12);
  EXPECT_EQ(text, "]x");
  text = "99999999999";
  EXPECT_EQ(read_decimal(text), 1000000000);
  text = "x";
  EXPECT_EQ(read_decimal(text), 0);
  EXPECT_EQ(text, "x");
}

TEST(HexNumberEnd, StopsWhereStrtoulStops) {
  for (std::string sample : {"1f[0]", " -0x1g", "0x", "0xg", "g", "", "+ab[2]", "0X0"}) {
    char* end = nullptr;
    std::strtoul(sample.c_str(), &end, 16);
    EXPECT_EQ(hex_number_end(sample), static_cast<size_t>(end - sample.c_str())) << sample;
  }
}

}  // namespace
}  // namespace catalog
