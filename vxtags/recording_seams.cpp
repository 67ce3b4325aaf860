// The seams' state is the program's: one command runs per process, and the
// seams' signatures, shared with the add-in, carry nothing else.
#include "vxtags/recording_seams.h"

#include <utility>

#include "catalogue/platform_seams.h"
#include "tree/platform_seams.h"

namespace vxtags {
namespace {

std::vector<RecordedRequest> Requests;
ColorDialogAnswer DialogAnswer = {ColorDialogMode::AcceptInitial, 0};

}  // namespace

std::vector<RecordedRequest> TakeInsertRequests() { return std::exchange(Requests, {}); }

void AnswerColorDialogs(const ColorDialogAnswer& answer) { DialogAnswer = answer; }

}  // namespace vxtags

namespace vx {

void SendInsertRequest(InsertCode code, const char* text) {
  vxtags::Requests.push_back({code, text != nullptr ? text : ""});
}

// No subcommand prints hand-backs: every activation ends with exactly one.
void SendFocusHandBack(std::uintptr_t) {}

bool ShowSystemColorDialog(ColorRef* color, ColorRef*) {
  switch (vxtags::DialogAnswer.mode) {
    case vxtags::ColorDialogMode::AcceptInitial:
      return true;
    case vxtags::ColorDialogMode::AcceptFixed:
      *color = vxtags::DialogAnswer.fixedColor;
      return true;
    case vxtags::ColorDialogMode::Cancel:
      return false;
  }
  return false;
}

}  // namespace vx
