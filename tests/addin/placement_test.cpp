#include "addin/placement.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vx {
namespace {

std::int32_t Parse(const std::string& text) {
  return ParsePlacementValue(text.c_str(), text.size() + 1);
}

TEST(ParsePlacementValue, ReadsLikeTheStoredTextsOfEveryWriter) {
  EXPECT_EQ(Parse("700"), 700);
  EXPECT_EQ(Parse("-4"), -4);
  EXPECT_EQ(Parse("  -15abc"), -15);
  EXPECT_EQ(Parse("+40"), 40);
  EXPECT_EQ(Parse("abc"), 0);
  EXPECT_EQ(Parse(""), 0);
  EXPECT_EQ(Parse("-"), 0);
  EXPECT_EQ(Parse("\t\n\v\f\r 12"), 12);
  EXPECT_EQ(Parse("+-5"), 0);
  EXPECT_EQ(Parse("12 34"), 12);
  // 0x80 and above are not white space, even where a lead byte could be.
  EXPECT_EQ(Parse("\xA0" "5"), 0);
}

TEST(ParsePlacementValue, WrapsInThirtyTwoBits) {
  EXPECT_EQ(Parse("4294967297"), 1);           // 2^32 + 1
  EXPECT_EQ(Parse("2147483648"), INT32_MIN);
  EXPECT_EQ(Parse("-2147483648"), INT32_MIN);
  EXPECT_EQ(Parse("4294967295"), -1);
  EXPECT_EQ(Parse("0000000000000000042"), 42);  // 19 characters
}

TEST(ParsePlacementValue, StaysInsideTheBuffer) {
  // Twenty digits with no terminating zero: only the buffer's 20 bytes count,
  // and the byte behind them (a digit here) must not be read.
  char bytes[24];
  std::memset(bytes, '1', sizeof bytes);
  const std::int32_t twenty = ParsePlacementValue(bytes, sizeof bytes);
  std::uint32_t expected = 0;
  for (int i = 0; i < 20; ++i) expected = expected * 10 + 1;
  EXPECT_EQ(twenty, static_cast<std::int32_t>(expected));

  // A reported length shorter than the text ends the digits there.
  EXPECT_EQ(ParsePlacementValue("12345", 3), 123);
  EXPECT_EQ(ParsePlacementValue("12345", 0), 0);
  EXPECT_EQ(ParsePlacementValue("12\0" "34", 5), 12);
  EXPECT_EQ(ParsePlacementValue(nullptr, 20), 0);
}

TEST(DefaultPlacement, DocksAgainstTheRightQuarterOfTheEditWindow) {
  const Placement p = DefaultPlacement(100, 50, 900, 650);
  EXPECT_EQ(p.x, 700);
  EXPECT_EQ(p.y, 52);
  EXPECT_EQ(p.w, 200);
  EXPECT_EQ(p.h, 598);

  const Placement odd = DefaultPlacement(0, 0, 1023, 768);
  EXPECT_EQ(odd.w, 255);
  EXPECT_EQ(odd.x, 768);
  EXPECT_EQ(odd.x + odd.w, 1023);

  // A reversed rectangle divides toward zero, not toward minus infinity.
  const Placement reversed = DefaultPlacement(10, 0, 0, 0);
  EXPECT_EQ(reversed.w, -2);
  EXPECT_EQ(reversed.x, 2);
  EXPECT_EQ(reversed.h, -2);
}

TEST(DefaultPlacement, ExtremeRectanglesDoNotOverflow) {
  const Placement p = DefaultPlacement(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_EQ(p.w, 1073741823);
  EXPECT_EQ(p.x, INT32_MAX - 1073741823);
}

TEST(FormatPlacementValue, RoundTripsEveryValueWithinTheBuffer) {
  char buffer[PLACEMENT_BUFFER_SIZE];
  EXPECT_EQ(FormatPlacementValue(-4, buffer), 2u);
  EXPECT_STREQ(buffer, "-4");
  EXPECT_EQ(FormatPlacementValue(INT32_MIN, buffer), 11u);
  EXPECT_STREQ(buffer, "-2147483648");
  for (std::int32_t v : {0, 1, -1, 598, INT32_MAX, INT32_MIN}) {
    const std::size_t n = FormatPlacementValue(v, buffer);
    EXPECT_EQ(ParsePlacementValue(buffer, n + 1), v);
  }
}

}  // namespace
}  // namespace vx
