// vxtags recipes [--color RRGGBB | --cancel]: every insert request of tag
// ids 0 to 176, in order, as the edit window would receive them.
#include <cstring>

#include "catalogue/catalogue.h"
#include "catalogue/color_choice.h"
#include "catalogue/recipes.h"
#include "vxtags/commands.h"
#include "vxtags/recording_seams.h"

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// RRGGBB, red first as in HTML; false unless exactly six hex digits.
bool ParseHtmlColor(const char* text, vx::ColorRef* color) {
  if (std::strlen(text) != 6) return false;
  int channels[3];
  for (int i = 0; i < 3; ++i) {
    const int high = HexDigitValue(text[2 * i]);
    const int low = HexDigitValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    channels[i] = high * 16 + low;
  }
  *color = vx::MakeColorRef(static_cast<std::uint8_t>(channels[0]),
                            static_cast<std::uint8_t>(channels[1]),
                            static_cast<std::uint8_t>(channels[2]));
  return true;
}

}  // namespace

int vxtags::RunRecipesCommand(int argc, char** argv) {
  vx::ColorRef fixed = 0;
  if (argc == 0) {
    SetColorDialogMode(ColorDialogMode::AcceptInitial, 0);
  } else if (argc == 1 && std::strcmp(argv[0], "--cancel") == 0) {
    SetColorDialogMode(ColorDialogMode::Cancel, 0);
  } else if (argc == 2 && std::strcmp(argv[0], "--color") == 0 && ParseHtmlColor(argv[1], &fixed)) {
    SetColorDialogMode(ColorDialogMode::AcceptFixed, fixed);
  } else {
    return Usage();
  }
  for (std::int32_t tagId = 0; tagId < vx::TAG_COUNT; ++tagId) {
    CurrentTagId = tagId;
    vx::RunInsertionRecipe(tagId, nullptr);
  }
  return 0;
}
