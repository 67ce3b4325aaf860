#include "palette/palette_application_win32.h"

#include "palette/palette_frame_win32.h"

namespace vxpalette {

// The frame is asked of the application each time: its object is gone before
// the loop has seen the last queued messages.
bool TPaletteApplication::ProcessAppMsg(MSG& msg) {
  auto* frame = static_cast<TPaletteFrame*>(GetMainWindow());
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE || !frame || !frame->GetHandle() ||
      !frame->IsTagTree(msg.hwnd))
    return false;
  frame->ReturnToTarget();
  return true;
}

}  // namespace vxpalette
