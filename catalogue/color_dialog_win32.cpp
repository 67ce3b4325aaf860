// The system colour dialog behind ShowSystemColorDialog.
#include <windows.h>

#include <commdlg.h>

#include <cstddef>

#include "catalogue/platform_seams.h"

namespace vx {

static_assert(sizeof(COLORREF) == sizeof(ColorRef), "COLORREF and ColorRef must have one layout");
// The dialog checks lStructSize against its own 32-bit layout.
static_assert(sizeof(void*) != 4 ||
              (sizeof(CHOOSECOLORA) == 36 && offsetof(CHOOSECOLORA, rgbResult) == 12 &&
               offsetof(CHOOSECOLORA, lpCustColors) == 16 && offsetof(CHOOSECOLORA, Flags) == 20));

bool ShowSystemColorDialog(ColorRef* color, ColorRef* customColors) {
  // COLORREF is unsigned long, ColorRef a fixed-width integer: copy rather
  // than pun the custom colours through a pointer cast.
  COLORREF dialogCustomColors[CUSTOM_COLOR_COUNT];
  for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) dialogCustomColors[i] = customColors[i];

  CHOOSECOLORA dialog = {};
  dialog.lStructSize = sizeof(CHOOSECOLORA);
  // Owned by the focused window (the tag tree when a recipe runs), so the
  // dialog stays above it and the tree is disabled while the dialog is up.
  dialog.hwndOwner = GetFocus();
  dialog.rgbResult = *color;
  dialog.lpCustColors = dialogCustomColors;
  dialog.Flags = CC_RGBINIT;
  const BOOL accepted = ChooseColorA(&dialog);

  // The user may have edited the custom colours even when cancelling.
  for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) customColors[i] = static_cast<ColorRef>(dialogCustomColors[i]);
  if (!accepted) return false;
  *color = static_cast<ColorRef>(dialog.rgbResult);
  return true;
}

}  // namespace vx
