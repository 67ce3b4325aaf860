// Colour choice for colour-bearing tags. The decision and the colour text are
// platform-free; the dialog itself is the seam ShowSystemColorDialog
// (catalogue/platform_seams.h).
#pragma once
#include <cstdint>

namespace vx {

using ColorRef = std::uint32_t;  // COLORREF: red in the low byte

inline constexpr int CUSTOM_COLOR_COUNT = 16;

constexpr ColorRef MakeColorRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<ColorRef>(red) | static_cast<ColorRef>(green) << 8 |
         static_cast<ColorRef>(blue) << 16;
}

extern ColorRef LastColor;
extern ColorRef CustomColors[CUSTOM_COLOR_COUNT];
extern bool ColorDialogClosed;

// Runs the dialog; on accept writes six uppercase hex digits (red first) to
// colorText and returns true, on cancel writes the empty text and returns false.
// A choice abandoned while the dialog was up counts as a cancel.
bool ChooseHtmlColor(char* colorText);

// The window that asked for the colour is going: whatever the open dialog
// returns, nothing may follow from it. Does nothing when no dialog is open.
void AbandonColorChoice();
// True when the latest colour choice was abandoned while its dialog was up.
bool ColorChoiceAbandoned();

// RRGGBB of a COLORREF into at least 7 bytes.
void FormatColorText(ColorRef color, char* colorText);

}  // namespace vx
