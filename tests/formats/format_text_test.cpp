#include "formats/format_text.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace beatloom {
namespace {

TEST(FormatText, RoundedPictures) {
  // value, decimals, minimum integer digits, text
  const std::vector<std::tuple<long double, int, int, std::string>> cases = {
      {41.5, 2, 2, "41.50"},
      {33.2, 2, 2, "33.20"},
      {83.0, 2, 2, "83.00"},
      {0.125, 2, 2, "00.13"},
      {-0.125, 2, 2, "-00.13"},
      {9.999, 2, 2, "10.00"},
      {1.005, 2, 2, "01.00"},  // 1.005 is a hair below in binary
      {0.004, 2, 2, "00.00"},
      {-0.004, 2, 2, "00.00"},
      {1234.5678, 2, 2, "1234.57"},
      {144.0, 0, 0, "144"},
      {0.0, 0, 0, ""},
      {0.4, 0, 0, ""},
      {0.5, 0, 0, "1"},
      {2.5, 0, 0, "3"},
      {-144.0, 0, 0, "-144"},
      {999.5, 0, 0, "1000"},
      // 18 significant digits first: a decimal tie a hair off in binary is still a tie
      {4980.0L / 800, 2, 2, "06.23"},
      {4980.0L / 12000, 2, 2, "00.42"},
      {6.2249999999999L, 2, 2, "06.22"},
      {1e20L, 0, 0, "100000000000000000000"},
      {1.5e-7L, 2, 2, "00.00"},
      {0.07L * 192, 0, 0, "13"},
  };
  for (const auto& [value, decimals, digits, text] : cases) {
    EXPECT_EQ(FormatRounded(value, decimals, digits), text) << value;
  }
}

TEST(FormatText, Numbers) {
  int i = 0;
  EXPECT_TRUE(ParseDecimalInt("007", i));
  EXPECT_EQ(i, 7);
  EXPECT_TRUE(ParseDecimalInt(" -01", i));
  EXPECT_EQ(i, -1);
  for (const char* bad : {"", "-", "1 ", "0x1", "1a", "99999999999"}) EXPECT_FALSE(ParseDecimalInt(bad, i)) << bad;

  double d = 0;
  EXPECT_TRUE(ParseDecimalNumber(" 0.75\t", d));
  EXPECT_EQ(d, 0.75);
  for (const char* bad : {"", "x", "inf", "nan", "0x10", "1e999", "1,5"})
    EXPECT_FALSE(ParseDecimalNumber(bad, d)) << bad;

  EXPECT_EQ(TrimBlanks("\t a b \r\x01"), "a b");
  EXPECT_EQ(ToCp932("\xE6\x9B\xB2", TextEncoding::Utf8), "\x8B\xC8");
  EXPECT_EQ(ToCp932("\x8B\xC8", TextEncoding::Cp932), "\x8B\xC8");
}

}  // namespace
}  // namespace beatloom
