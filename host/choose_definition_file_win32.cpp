// The editor's choice of definition file: the Tools menu command, its open
// dialog, and the tag window reopened on the chosen file.
// Texts of this file are code page 932 in the binary (vx_cp932_sources).
#include "host/editor_frame_win32.h"

#include <commdlg.h>

namespace vxhost {
namespace {

const char DEFINITION_FILTER[] = "定義ファイル (*.def)\0*.def\0すべてのファイル (*.*)\0*.*\0";
const char DEFINITION_DIALOG_TITLE[] = "定義ファイルを開く";

}  // namespace

void TEditorFrame::ChooseDefinitionFile() {
  if (!interactive_) return;
  char path[MAX_PATH] = {};
  const std::string folder = FolderOf(definitionPath_);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetHandle();
  ofn.lpstrFilter = DEFINITION_FILTER;
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = DEFINITION_DIALOG_TITLE;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (GetOpenFileNameA(&ofn)) UseDefinitionFile(path);
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
