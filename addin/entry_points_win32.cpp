#include "addin/entry_points_win32.h"

#include "addin/host_connection_win32.h"
#include "addin/tag_window_win32.h"

namespace vx {

constexpr DWORD TAG_WINDOW_EX_STYLE = WS_EX_CLIENTEDGE;

const char TAG_WINDOW_TITLE[] = "VX HTML文書作成 v5.60";

bool TagWindowOpen = false;
TMFrameWindow* CurrentTagWindow = nullptr;
char DefinitionPath[DEFINITION_PATH_SIZE] = "";

namespace {

// Set while a window is being created and set up: the set-up's message box
// runs the host's messages, and an opening from there would make a second
// tag window while the flag above is still false.
bool OpeningInProgress = false;

HWND CurrentFrame() {
  if (!TagWindowOpen || CurrentTagWindow == nullptr) return nullptr;
  const HWND frame = CurrentTagWindow->GetHandle();
  return frame != nullptr && IsWindow(frame) ? frame : nullptr;
}

void OpenTagWindow(TWindow* hostWindow, HWND editWindow, const char* definitionPath) {
  HostFrameHandle = hostWindow->GetHandle();
  EditWindowHandle = editWindow;
  StoreDefinitionPath(DefinitionPath, definitionPath);

  auto* window = new TMFrameWindow(hostWindow, TAG_WINDOW_TITLE);
  CurrentTagWindow = window;
  window->attr.exStyle = TAG_WINDOW_EX_STYLE;
  OpeningInProgress = true;
  const bool created = window->Create();
  OpeningInProgress = false;
  if (created) {
    TagWindowOpen = true;
    return;
  }
  // Nothing will ever close a window that does not exist, so the framework
  // would never condemn this object; the next call tries afresh.
  delete window;
}

}  // namespace
}  // namespace vx

extern "C" bool __cdecl CreateHtmlWindow(TWindow* hostWindow, HWND editWindow,
                                         const char* definitionPath) {
  using namespace vx;
  const HWND frame = CurrentFrame();
  const OpeningAction action = DecideOpening(OpeningState{
      hostWindow != nullptr, TagWindowOpen, OpeningInProgress, frame != nullptr,
      frame != nullptr && GetFocus() == frame});
  switch (action) {
    case OpeningAction::Close: SendMessageA(frame, WM_CLOSE, 0, 0); break;
    case OpeningAction::Beep: MessageBeep(MB_OK); break;
    case OpeningAction::FocusFrame: SetFocus(frame); break;
    case OpeningAction::Open: OpenTagWindow(hostWindow, editWindow, definitionPath); break;
    case OpeningAction::NothingToDo:
    case OpeningAction::NoFrameLeft:
    case OpeningAction::RefuseNested: break;
  }
  return OpeningResult(action);
}
