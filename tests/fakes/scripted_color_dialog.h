// A stand-in colour dialog for native tests: answers from a script queue and
// records what each opening saw. An opening with nothing scripted cancels.
#pragma once
#include <functional>
#include <vector>

#include "catalogue/platform_seams.h"

namespace vx::fakes {

struct ColorDialogOpening {
  ColorRef initialColor;           // the colour the dialog opened on
  bool colorDialogClosedDuringCall;
  const ColorRef* customColors;    // the array handed to the dialog
};

void ScriptColorDialogAccept(ColorRef chosen);
void ScriptColorDialogCancel();
// Runs while the next opening is up, before it answers (what the host or the
// user may do meanwhile).
void ScriptColorDialogMeanwhile(std::function<void()> action);
// Clears the script and the recorded openings.
void ResetScriptedColorDialog();
const std::vector<ColorDialogOpening>& ColorDialogOpenings();

}  // namespace vx::fakes
