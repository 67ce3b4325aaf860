// Insert requests as lines: tag id TAB code TAB text as sent, escaped.
#include "vxtags/recording_seams.h"

#include <cstdio>
#include <string>

#include "catalogue/platform_seams.h"
#include "vxtags/text_output.h"
#include "tree/platform_seams.h"

namespace vxtags {

std::int32_t CurrentTagId = 0;

namespace {
ColorDialogMode dialogMode = ColorDialogMode::AcceptInitial;
vx::ColorRef dialogFixedColor = 0;
}  // namespace

void SetColorDialogMode(ColorDialogMode mode, vx::ColorRef fixedColor) {
  dialogMode = mode;
  dialogFixedColor = fixedColor;
}

}  // namespace vxtags

namespace vx {

void SendInsertRequest(InsertCode code, const char* text) {
  const std::string field = vxtags::EscapeField(text != nullptr ? text : "");
  std::printf("%d\t%d\t%s\n", static_cast<int>(vxtags::CurrentTagId), static_cast<int>(code),
              field.c_str());
}

// No subcommand prints hand-backs: every activation ends with exactly one.
void SendFocusHandBack(std::uintptr_t) {}

bool ShowSystemColorDialog(ColorRef* color, ColorRef*) {
  switch (vxtags::dialogMode) {
    case vxtags::ColorDialogMode::AcceptInitial:
      return true;
    case vxtags::ColorDialogMode::AcceptFixed:
      *color = vxtags::dialogFixedColor;
      return true;
    case vxtags::ColorDialogMode::Cancel:
      return false;
  }
  return false;
}

}  // namespace vx
