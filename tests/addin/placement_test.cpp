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

TEST(VisiblePlacement, OpensAsStoredWhileATitleBarShowsAndInTheNearestWorkAreaOtherwise) {
  // One 1280 x 1024 screen whose task bar takes the bottom 40 pixels, and a
  // second screen to its right; title bars 23 pixels high.
  static constexpr WorkArea SCREENS[] = {{0, 0, 1280, 984}, {1280, 0, 2560, 1024}};
  static constexpr std::int32_t TITLE = 23;
  struct Case {
    const char* what;
    Placement stored;
    std::size_t screens;
    Placement want;
  };
  static constexpr Case CASES[] = {
      {"inside",                         {700, 52, 200, 598},     1, {700, 52, 200, 598}},
      {"4 pixels off the left edge",     {-4, 30, 240, 360},      1, {-4, 30, 240, 360}},
      {"15 pixels off the left edge",    {-15, 40, 250, 300},     1, {-15, 40, 250, 300}},
      {"whole title bar at the bottom",  {100, 961, 250, 300},    1, {100, 961, 250, 300}},
      {"a wrapped height",               {65, 33, 200, -350287150}, 1, {65, 33, 200, -350287150}},
      {"32 pixels left on the right",    {1248, 100, 300, 400},   1, {1248, 100, 300, 400}},
      {"on the second screen",           {2000, 500, 300, 400},   2, {2000, 500, 300, 400}},
      {"across both screens",            {1200, 500, 300, 400},   2, {1200, 500, 300, 400}},
      // Nothing of the title bar shows: into the nearest area, the least distance.
      {"far off, as after unplugging",   {5000, 4000, 300, 500},  1, {980, 484, 300, 500}},
      {"far off, two screens",           {5000, 4000, 300, 500},  2, {2260, 524, 300, 500}},
      {"left of everything",             {-900, 200, 300, 500},   2, {0, 200, 300, 500}},
      {"title bar 8 pixels high above",  {100, -15, 250, 300},    1, {100, 0, 250, 300}},
      {"title bar 4 pixels high above",  {100, -19, 250, 300},    1, {100, 0, 250, 300}},
      {"4 pixels of title bar at the bottom", {100, 980, 250, 300}, 1, {100, 684, 250, 300}},
      {"title bar 3 pixels high above",  {100, -20, 250, 300},    1, {100, 0, 250, 300}},
      {"title bar under the task bar",   {100, 982, 250, 300},    1, {100, 684, 250, 300}},
      {"title bar under the task bar, second screen there", {1300, 1022, 250, 300}, 2,
       {1300, 724, 250, 300}},
      {"31 pixels left on the right",    {1249, 100, 300, 400},   1, {980, 100, 300, 400}},
      {"larger than the screen",         {5000, 4000, 2000, 1500}, 1, {0, 0, 1280, 984}},
      {"no width, far off",              {5000, 100, 0, 0},       1, {1248, 100, 0, 0}},
      {"at the far end of the numbers",  {INT32_MAX, INT32_MIN, 300, 500}, 1, {980, 0, 300, 500}},
  };
  for (const Case& c : CASES) {
    const Placement got = VisiblePlacement(c.stored, SCREENS, c.screens, TITLE);
    EXPECT_EQ(got.x, c.want.x) << c.what;
    EXPECT_EQ(got.y, c.want.y) << c.what;
    EXPECT_EQ(got.w, c.want.w) << c.what;
    EXPECT_EQ(got.h, c.want.h) << c.what;
  }
  // Nothing known about the screens: nothing to move into.
  const Placement kept = VisiblePlacement({5000, 4000, 300, 500}, SCREENS, 0, TITLE);
  EXPECT_EQ(kept.x, 5000);
  EXPECT_EQ(kept.y, 4000);
}

}  // namespace
}  // namespace vx
