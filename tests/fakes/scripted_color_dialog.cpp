// The scripted dialog's implementation of ShowSystemColorDialog.
#include "tests/fakes/scripted_color_dialog.h"

#include <deque>
#include <utility>

namespace vx {
namespace {

struct Answer {
  bool accept;
  ColorRef chosen;
};

std::deque<Answer>& Script() {
  static std::deque<Answer> script;
  return script;
}

std::function<void()>& Meanwhile() {
  static std::function<void()> action;
  return action;
}

std::vector<fakes::ColorDialogOpening>& Openings() {
  static std::vector<fakes::ColorDialogOpening> openings;
  return openings;
}

}  // namespace

bool ShowSystemColorDialog(ColorRef* color, ColorRef* customColors) {
  Openings().push_back({*color, !IsColorDialogOpen(), customColors});
  if (Meanwhile()) {
    const std::function<void()> action = std::move(Meanwhile());
    Meanwhile() = nullptr;
    action();
  }
  if (Script().empty()) return false;
  const Answer answer = Script().front();
  Script().pop_front();
  if (!answer.accept) return false;
  *color = answer.chosen;
  return true;
}

namespace fakes {

void ScriptColorDialogAccept(ColorRef chosen) { Script().push_back({true, chosen}); }
void ScriptColorDialogCancel() { Script().push_back({false, 0}); }

void ScriptColorDialogMeanwhile(std::function<void()> action) { Meanwhile() = std::move(action); }

void ResetScriptedColorDialog() {
  Script().clear();
  Meanwhile() = nullptr;
  Openings().clear();
}

const std::vector<ColorDialogOpening>& ColorDialogOpenings() { return Openings(); }

}  // namespace fakes
}  // namespace vx
