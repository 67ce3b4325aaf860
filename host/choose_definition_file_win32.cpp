// The editor's choice of definition file: the Tools menu command, its open
// dialog, and the tag window reopened on the chosen file.
#include "host/editor_frame_win32.h"

namespace vxhost {

void TEditorFrame::ChooseDefinitionFile() {
  if (!interactive_) return;
  const std::string chosen = AskForDefinitionFile(GetHandle(), definitionPath_);
  if (!chosen.empty()) UseDefinitionFile(chosen.c_str());
}

void TEditorFrame::UseDefinitionFile(const char* path) {
  definitionPath_ = FullPath(path);
  PostMessageA(GetHandle(), REOPEN_TAG_WINDOW, 0, 0);
}

// Run from the message loop in two steps, so that the loop deletes the closed
// tag window's object between them, wherever the change was asked from.
LRESULT TEditorFrame::EvReopenTagWindow(WPARAM closed, LPARAM) {
  if (!closed && FindTagWindow()) {
    addIn_.Close();
    PostMessageA(GetHandle(), REOPEN_TAG_WINDOW, 1, 0);
  } else if (!FindTagWindow()) {
    OpenTagWindow();
  }
  return 0;
}

}  // namespace vxhost
