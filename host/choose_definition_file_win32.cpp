// The editor's choice of definition file: the Tools menu command, its open
// dialog, and the tag window reopened on the chosen file.
#include "host/editor_frame_win32.h"

namespace vxhost {
namespace {

const wchar_t DEFINITION_FILTER[] = L"定義ファイル (*.def)\0*.def\0すべてのファイル (*.*)\0*.*\0";
const wchar_t DEFINITION_DIALOG_TITLE[] = L"定義ファイルを開く";

}  // namespace

void TEditorFrame::ChooseDefinitionFile() {
  if (!interactive_) return;
  std::wstring path;
  const std::wstring folder = FolderOf(WidePath(definitionPath_));
  OPENFILENAMEW ofn =
      FileDialog(GetHandle(), DEFINITION_FILTER, path, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = DEFINITION_DIALOG_TITLE;
  // The add-in takes its file's name in the system code page.
  if (GetOpenFileNameW(&ofn)) UseDefinitionFile(NarrowPath(ChosenPath(path)).c_str());
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
