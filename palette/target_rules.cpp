#include "palette/target_rules.h"

namespace vxpalette {
namespace {

// The taskbars and the desktop's own windows, which come to the foreground
// when the user clicks them on the way to the palette.
static constexpr const char16_t* SHELL_CLASSES[] = {
    u"Shell_TrayWnd",
    u"Shell_SecondaryTrayWnd",
    u"Progman",
    u"WorkerW",
    u"#32769",
    u"NotifyIconOverflowWindow",
};

}  // namespace

bool MayBeTarget(const WindowFacts& window) {
  if (!window.exists || window.ownProcess || window.desktop) return false;
  for (const char16_t* name : SHELL_CLASSES) {
    if (window.className == name) return false;
  }
  return true;
}

}  // namespace vxpalette
