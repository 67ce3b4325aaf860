// The colour choice of the colour-bearing tags: the remembered colour, the
// custom colours offered in the dialog, and the colour text they insert.
#include "catalogue/color_choice.h"

#include "catalogue/platform_seams.h"

namespace vx {

// Module state lives as long as the add-in is loaded; reopening the tag
// window keeps the user's last colour and custom colours.
ColorRef LastColor = MakeColorRef(0xFF, 0x80, 0x80);

ColorRef CustomColors[CUSTOM_COLOR_COUNT] = {
    //           red   green blue
    MakeColorRef(0x80, 0xFF, 0x80),  //  0
    MakeColorRef(0xC0, 0xFF, 0xC0),  //  1
    MakeColorRef(0xE0, 0xFF, 0xE0),  //  2
    MakeColorRef(0xFF, 0x80, 0x80),  //  3
    MakeColorRef(0xFF, 0xC0, 0xC0),  //  4
    MakeColorRef(0xFF, 0xE0, 0xE0),  //  5
    MakeColorRef(0x80, 0x80, 0xFF),  //  6
    MakeColorRef(0xC0, 0xC0, 0xFF),  //  7
    MakeColorRef(0xE0, 0xE0, 0xFF),  //  8
    MakeColorRef(0xFF, 0x80, 0xFF),  //  9
    MakeColorRef(0xFF, 0xC0, 0xFF),  // 10
    MakeColorRef(0xFF, 0xE0, 0xFF),  // 11
    MakeColorRef(0xFF, 0xFF, 0xA0),  // 12
    MakeColorRef(0xFF, 0xFF, 0xC0),  // 13
    MakeColorRef(0xC0, 0xDC, 0xC0),  // 14
    MakeColorRef(0xA6, 0xCA, 0xF0),  // 15
};

namespace {
// True only while ShowSystemColorDialog runs.
bool DialogOpen = false;
// Set from inside the dialog's message loop, and folded into the outcome of
// the choice that is open; nothing reads it afterwards.
bool AbandonedMeanwhile = false;
}  // namespace

bool IsColorDialogOpen() { return DialogOpen; }

void AbandonColorChoice() {
  if (DialogOpen) AbandonedMeanwhile = true;
}

void FormatColorText(ColorRef color, char* colorText) {
  static constexpr char HEX_DIGITS[] = "0123456789ABCDEF";
  // HTML wants red first; a COLORREF holds red in its low byte. The top byte
  // is not part of the colour and never reaches the text.
  const unsigned channels[3] = {color & 0xFFu, (color >> 8) & 0xFFu, (color >> 16) & 0xFFu};
  for (int i = 0; i < 3; ++i) {
    colorText[2 * i] = HEX_DIGITS[channels[i] >> 4];
    colorText[2 * i + 1] = HEX_DIGITS[channels[i] & 0xFu];
  }
  colorText[6] = '\0';
}

ColorChoice ChooseHtmlColor() {
  ColorChoice choice{ColorOutcome::Cancelled, {}};
  ColorRef chosen = LastColor;
  AbandonedMeanwhile = false;
  DialogOpen = true;
  const bool accepted = ShowSystemColorDialog(&chosen, CustomColors);
  DialogOpen = false;
  if (AbandonedMeanwhile) {
    choice.outcome = ColorOutcome::Abandoned;
  } else if (accepted) {
    LastColor = chosen;
    FormatColorText(LastColor, choice.text);
    choice.outcome = ColorOutcome::Accepted;
  }
  return choice;
}

}  // namespace vx
