// The colour choice over the scripted dialog: the remembered colour, the
// dialog flag and the colour text.
#include <gtest/gtest.h>

#include "catalogue/color_choice.h"
#include "tests/catalogue/color_state_guard.h"

namespace {

using vx::ColorOutcome;
using vx::MakeColorRef;
using vx::fakes::ColorDialogOpenings;

std::string Format(vx::ColorRef color) {
  char text[8] = "???????";
  vx::FormatColorText(color, text);
  return text;
}

class ColorChoice : public vx::test_support::ColorStateGuard {};

TEST_F(ColorChoice, StateAtLoad) {
  EXPECT_EQ(vx::LastColor, 0x008080FFu);
  EXPECT_FALSE(vx::IsColorDialogOpen());
  const vx::ColorRef expected[vx::CUSTOM_COLOR_COUNT] = {
      0x80FF80, 0xC0FFC0, 0xE0FFE0, 0x8080FF, 0xC0C0FF, 0xE0E0FF, 0xFF8080, 0xFFC0C0,
      0xFFE0E0, 0xFF80FF, 0xFFC0FF, 0xFFE0FF, 0xA0FFFF, 0xC0FFFF, 0xC0DCC0, 0xF0CAA6};
  for (int i = 0; i < vx::CUSTOM_COLOR_COUNT; ++i) EXPECT_EQ(vx::CustomColors[i], expected[i]) << i;
}

TEST_F(ColorChoice, ColourTextIsRedGreenBlueInSixUppercaseDigits) {
  EXPECT_EQ(Format(MakeColorRef(0xFF, 0x00, 0x00)), "FF0000");
  EXPECT_EQ(Format(MakeColorRef(0x0C, 0x0B, 0x0A)), "0C0B0A");
  EXPECT_EQ(Format(MakeColorRef(0x12, 0xAB, 0xEF)), "12ABEF");
  EXPECT_EQ(Format(0), "000000");
  // A value with its top byte set (a palette reference) must not widen the text.
  EXPECT_EQ(Format(0x01FFFFFF), "FFFFFF");
}

TEST_F(ColorChoice, AcceptedColourIsRememberedAndReopened) {
  vx::fakes::ScriptColorDialogAccept(MakeColorRef(0x12, 0xAB, 0xEF));
  vx::fakes::ScriptColorDialogAccept(MakeColorRef(0xFF, 0x00, 0x00));
  vx::ColorChoice choice = vx::ChooseHtmlColor();
  EXPECT_EQ(choice.outcome, ColorOutcome::Accepted);
  EXPECT_STREQ(choice.text, "12ABEF");
  choice = vx::ChooseHtmlColor();
  EXPECT_EQ(choice.outcome, ColorOutcome::Accepted);
  EXPECT_STREQ(choice.text, "FF0000");
  EXPECT_EQ(vx::LastColor, MakeColorRef(0xFF, 0x00, 0x00));

  ASSERT_EQ(ColorDialogOpenings().size(), 2u);
  EXPECT_EQ(ColorDialogOpenings()[0].initialColor, MakeColorRef(0xFF, 0x80, 0x80));
  EXPECT_EQ(ColorDialogOpenings()[1].initialColor, MakeColorRef(0x12, 0xAB, 0xEF));
  EXPECT_EQ(ColorDialogOpenings()[0].customColors, vx::CustomColors);
}

TEST_F(ColorChoice, CancelGivesEmptyTextAndKeepsTheLastColour) {
  vx::fakes::ScriptColorDialogAccept(MakeColorRef(0x0C, 0x0B, 0x0A));
  vx::fakes::ScriptColorDialogCancel();
  vx::fakes::ScriptColorDialogCancel();
  EXPECT_EQ(vx::ChooseHtmlColor().outcome, ColorOutcome::Accepted);
  const vx::ColorChoice choice = vx::ChooseHtmlColor();
  EXPECT_EQ(choice.outcome, ColorOutcome::Cancelled);
  EXPECT_STREQ(choice.text, "");
  EXPECT_FALSE(vx::IsColorDialogOpen());
  EXPECT_EQ(vx::ChooseHtmlColor().outcome, ColorOutcome::Cancelled);

  EXPECT_EQ(vx::LastColor, MakeColorRef(0x0C, 0x0B, 0x0A));
  ASSERT_EQ(ColorDialogOpenings().size(), 3u);
  EXPECT_EQ(ColorDialogOpenings()[2].initialColor, MakeColorRef(0x0C, 0x0B, 0x0A));
}

// The window that asked going away while the dialog is up ends that choice
// alone, whatever the dialog answers; an abandon with no dialog up is no-op.
TEST_F(ColorChoice, AbandonedChoiceKeepsNothingAndEndsOnlyTheOpenDialog) {
  vx::fakes::ScriptColorDialogAccept(MakeColorRef(1, 2, 3));
  vx::fakes::ScriptColorDialogMeanwhile([] { vx::AbandonColorChoice(); });
  const vx::ColorChoice choice = vx::ChooseHtmlColor();
  EXPECT_EQ(choice.outcome, ColorOutcome::Abandoned);
  EXPECT_STREQ(choice.text, "");
  EXPECT_EQ(vx::LastColor, MakeColorRef(0xFF, 0x80, 0x80));
  EXPECT_FALSE(vx::IsColorDialogOpen());

  vx::AbandonColorChoice();
  vx::fakes::ScriptColorDialogAccept(MakeColorRef(1, 2, 3));
  EXPECT_EQ(vx::ChooseHtmlColor().outcome, ColorOutcome::Accepted);
}

TEST_F(ColorChoice, DialogFlagIsFalseOnlyWhileTheDialogRuns) {
  vx::fakes::ScriptColorDialogAccept(MakeColorRef(1, 2, 3));
  vx::fakes::ScriptColorDialogCancel();
  vx::ChooseHtmlColor();
  EXPECT_FALSE(vx::IsColorDialogOpen());
  vx::ChooseHtmlColor();
  EXPECT_FALSE(vx::IsColorDialogOpen());
  ASSERT_EQ(ColorDialogOpenings().size(), 2u);
  EXPECT_FALSE(ColorDialogOpenings()[0].colorDialogClosedDuringCall);
  EXPECT_FALSE(ColorDialogOpenings()[1].colorDialogClosedDuringCall);
}

}  // namespace
