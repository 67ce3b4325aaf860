// Which foreground window may become the palette's target: the window the
// user was working in, never the palette itself, the desktop or the taskbar,
// where a text would be lost.
#pragma once
#include <string>

namespace vxpalette {

struct WindowFacts {
  bool exists = false;
  bool ownProcess = false;  // a window of the palette's process: the tag window, its dialogs
  bool desktop = false;     // the system's desktop or shell window
  std::u16string className;
};

bool MayBeTarget(const WindowFacts& window);

}  // namespace vxpalette
