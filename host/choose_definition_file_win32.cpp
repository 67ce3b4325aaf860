// The editor's choice of definition file: the Tools menu command, its open
// dialog, and the tag window reopened on the chosen file.
#include "host/editor_frame_win32.h"

#include "host/editor_texts_win32.h"

namespace vxhost {

void TEditorFrame::ChooseDefinitionFile() {
  const std::wstring chosen = prompt_.ChooseDefinitionFile(GetHandle(), definitionPath_);
  if (!chosen.empty()) UseDefinitionFile(chosen);
}

bool TEditorFrame::UseDefinitionFile(const std::wstring& path) {
  std::string narrow;
  if (!AddInPath(path, narrow)) {
    Report(DescribeDefinitionPathUnusable(path, GetACP(), WidePath(definitionPath_)));
    return false;
  }
  UseDefinitionFile(narrow.c_str());
  return true;
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
