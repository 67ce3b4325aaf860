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

// Six uppercase hex digits, red first, and the terminating zero.
inline constexpr int COLOR_TEXT_SIZE = 7;

extern ColorRef LastColor;
extern ColorRef CustomColors[CUSTOM_COLOR_COUNT];

enum class ColorOutcome {
  Accepted,   // text holds the colour, now also LastColor
  Cancelled,  // by the user, or the dialog failed to open; text is empty
  Abandoned,  // the window that asked went away while the dialog was up; text is empty
};

struct ColorChoice {
  ColorOutcome outcome;
  char text[COLOR_TEXT_SIZE];
};

// Whether a choice's dialog is up. Its modal loop still delivers messages to
// the tree and the tag window, which must then neither start a second choice
// nor pull the focus away from the dialog. Only ChooseHtmlColor changes it.
bool IsColorDialogOpen();

// Runs the dialog on LastColor and CustomColors. Only an accepted colour
// changes LastColor; an abandoned choice leaves it even when the dialog
// then reports a colour.
ColorChoice ChooseHtmlColor();

// The window that asked for the colour is going: the open dialog's choice
// ends as Abandoned whatever the dialog returns. Does nothing when no dialog
// is open.
void AbandonColorChoice();

// RRGGBB of a COLORREF into COLOR_TEXT_SIZE bytes.
void FormatColorText(ColorRef color, char* colorText);

}  // namespace vx
