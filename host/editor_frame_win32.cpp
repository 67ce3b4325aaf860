// Texts of this file are code page 932 in the binary (vx_cp932_sources).
#include "host/editor_frame_win32.h"

#include <commdlg.h>

#include "host/document_file_win32.h"

namespace vxhost {
namespace {

const char PROGRAM_NAME[] = "VX サンプルエディタ";
const char UNTITLED[] = "無題";
const char FILE_FILTER[] = "HTML 文書 (*.htm;*.html)\0*.htm;*.html\0テキスト (*.txt)\0*.txt\0すべてのファイル (*.*)\0*.*\0";

struct MenuRow {
  UINT command;  // 0: separator
  const char* caption;
};

static constexpr MenuRow FILE_MENU[] = {
    {CmdNew,    "新規作成(&N)\tCtrl+N"},
    {CmdOpen,   "開く(&O)...\tCtrl+O"},
    {CmdSave,   "上書き保存(&S)\tCtrl+S"},
    {CmdSaveAs, "名前を付けて保存(&A)..."},
    {0,         nullptr},
    {CmdExit,   "終了(&X)"},
};

static constexpr MenuRow TOOLS_MENU[] = {
    {CmdTagWindow,      "タグウィンドウ(&T)\tCtrl+T / F8"},
    {CmdDefinitionFile, "定義ファイルを開く(&D)..."},
    {CmdCheckDefinitionFile, "定義ファイルを確認(&C)"},
};

static constexpr ACCEL ACCELERATORS[] = {
    {FCONTROL | FVIRTKEY, 'N',   CmdNew},
    {FCONTROL | FVIRTKEY, 'O',   CmdOpen},
    {FCONTROL | FVIRTKEY, 'S',   CmdSave},
    {FCONTROL | FVIRTKEY, 'T',   CmdTagWindow},
    {FVIRTKEY,            VK_F8, CmdTagWindow},
};

template <std::size_t N>
HMENU BuildPopup(const MenuRow (&rows)[N]) {
  HMENU popup = CreatePopupMenu();
  for (const MenuRow& row : rows) {
    if (row.command == 0) {
      AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(popup, MF_STRING, row.command, row.caption);
    }
  }
  return popup;
}

HMENU BuildMenuBar() {
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopup(FILE_MENU)), "ファイル(&F)");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopup(TOOLS_MENU)), "ツール(&T)");
  return bar;
}

// The fields the open and save dialogs share; path is MAX_PATH bytes and
// receives the chosen file.
OPENFILENAMEA FileDialog(HWND owner, char* path, DWORD flags) {
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = FILE_FILTER;
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = flags;
  return ofn;
}

std::string NameOf(const std::string& path) { return path.substr(FolderOf(path).size()); }

}  // namespace

TEditorFrame::TEditorFrame(const char* definitionPath)
    : TFrameWindow(nullptr, PROGRAM_NAME), definitionPath_(definitionPath ? definitionPath : "") {
  attr.menu = BuildMenuBar();
  attr.x = 40;
  attr.y = 40;
  attr.w = 900;
  attr.h = 640;
}

TEditorFrame::~TEditorFrame() {
  protocol_.Uninstall();
  if (acceleratorTable_) DestroyAcceleratorTable(acceleratorTable_);
  if (font_) DeleteObject(font_);
  // A menu that never reached a window is ours to free; one that did went
  // with its window.
  if (!HadWindow() && attr.menu) DestroyMenu(attr.menu);
}

void TEditorFrame::SetupWindow() {
  TFrameWindow::SetupWindow();
  RECT area;
  GetClientRect(GetHandle(), &area);
  // A Unicode control: it holds whatever is pasted, and a save can tell what
  // code page 932 lacks instead of finding "?" already in place.
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                         WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                             ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                         0, 0, area.right, area.bottom, GetHandle(),
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(EDIT_CONTROL_ID)),
                         GetModuleHandleA(nullptr), nullptr);
  protocol_.Install(edit_);
  // No face is named: asking for a fixed-pitch shift-JIS font lets the font
  // mapper pick whichever installed face has the Japanese glyphs.
  font_ = CreateFontA(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "");
  if (edit_ && font_) SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  acceleratorTable_ = CreateAcceleratorTableA(const_cast<ACCEL*>(ACCELERATORS),
                                             static_cast<int>(sizeof ACCELERATORS / sizeof ACCELERATORS[0]));
  UpdateTitle();
}

const TResponseTable& TEditorFrame::ResponseTable() {
  static constexpr TResponseEntry ROWS[] = {
      {WM_SIZE,            Respond<&TEditorFrame::EvSize>},
      {WM_ACTIVATE,        Respond<&TEditorFrame::EvActivate>},
      {WM_SETFOCUS,        Respond<&TEditorFrame::EvSetFocus>},
      {WM_COMMAND,         Respond<&TEditorFrame::EvCommand>},
      {WM_QUERYENDSESSION, Respond<&TEditorFrame::EvQueryEndSession>},
      {REOPEN_TAG_WINDOW,  Respond<&TEditorFrame::EvReopenTagWindow>},
  };
  static constexpr TResponseTable TABLE = MakeResponseTable(ROWS, &TFrameWindow::ResponseTable);
  return TABLE;
}

const TResponseTable& TEditorFrame::Responses() const { return ResponseTable(); }

LRESULT TEditorFrame::EvSize(WPARAM wParam, LPARAM lParam) {
  DispatchFrom(TFrameWindow::ResponseTable(), WM_SIZE, wParam, lParam);
  if (edit_) MoveWindow(edit_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
  return 0;
}

// The add-in's focus hand-back (and a click on the frame) sends the user back
// to typing in the document.
LRESULT TEditorFrame::EvActivate(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == WA_CLICKACTIVE && HIWORD(wParam) == 0 && edit_) {
    SetFocus(edit_);
    return 0;
  }
  return DispatchFrom(TFrameWindow::ResponseTable(), WM_ACTIVATE, wParam, lParam);
}

LRESULT TEditorFrame::EvSetFocus(WPARAM, LPARAM) {
  if (edit_) SetFocus(edit_);
  return 0;
}

// Logging off ends the program as closing does: a modified document is asked
// about, and Cancel keeps the session.
LRESULT TEditorFrame::EvQueryEndSession(WPARAM, LPARAM) { return CanClose() ? TRUE : FALSE; }

LRESULT TEditorFrame::EvCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case CmdNew: NewDocument(); return 0;
    case CmdOpen: {
      if (!interactive_ || !ConfirmDiscard()) return 0;
      char path[MAX_PATH] = {};
      OPENFILENAMEA ofn = FileDialog(GetHandle(), path, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
      if (GetOpenFileNameA(&ofn)) OpenDocument(path);
      return 0;
    }
    case CmdSave: SaveDocument(); return 0;
    case CmdSaveAs: SaveDocumentAs(); return 0;
    case CmdExit: PostMessageA(GetHandle(), WM_CLOSE, 0, 0); return 0;
    case CmdTagWindow: ToggleTagWindow(); return 0;
    case CmdDefinitionFile: ChooseDefinitionFile(); return 0;
    case CmdCheckDefinitionFile: CheckDefinitionFile(); return 0;
    default: return DispatchFrom(TFrameWindow::ResponseTable(), WM_COMMAND, wParam, lParam);
  }
}

void TEditorFrame::NewDocument() {
  if (interactive_ && !ConfirmDiscard()) return;
  SetWindowTextA(edit_, "");
  SendMessageA(edit_, EM_SETMODIFY, FALSE, 0);
  path_.clear();
  UpdateTitle();
}

bool TEditorFrame::OpenDocument(const char* path) {
  return Adopt(LoadIntoEdit(edit_, path), path);
}

bool TEditorFrame::SaveDocument(const char* path) {
  std::string target = path && *path ? std::string(path) : path_;
  if (target.empty()) return SaveDocumentAs();
  UnsavableCharacter where;
  const FileResult result = SaveFromEdit(edit_, target.c_str(), where);
  if (result == FileResult::Unsavable) {
    Report(DescribeUnsavable(where));
    return false;
  }
  return Adopt(result, target.c_str());
}

bool TEditorFrame::Adopt(FileResult result, const char* path) {
  if (result != FileResult::Ok) {
    Report(DescribeFailure(result));
    return false;
  }
  path_ = path;
  UpdateTitle();
  return true;
}

bool TEditorFrame::SaveDocumentAs() {
  if (!interactive_) return false;
  char path[MAX_PATH] = {};
  if (!path_.empty() && path_.size() < MAX_PATH) path_.copy(path, path_.size());
  OPENFILENAMEA ofn = FileDialog(GetHandle(), path, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  ofn.lpstrDefExt = "html";
  if (!GetSaveFileNameA(&ofn)) return false;
  return SaveDocument(path);
}

bool TEditorFrame::EnsureAddIn() {
  if (addIn_.Load(BesideProgram("vxhtml.dll").c_str())) return true;
  if (!addInMissingReported_) Report("vxhtml.dll を読み込めません。タグウィンドウは使えません。");
  addInMissingReported_ = true;
  return false;
}

bool TEditorFrame::OpenTagWindow() {
  return EnsureAddIn() && addIn_.Open(*this, edit_, definitionPath_.c_str());
}

HWND TEditorFrame::FindTagWindow() const { return TagWindowLink::FindTagWindow(GetHandle()); }

void TEditorFrame::ToggleTagWindow() {
  if (FindTagWindow()) {
    addIn_.Close();
  } else {
    OpenTagWindow();
  }
}

bool TEditorFrame::CanClose() { return !interactive_ || ConfirmDiscard(); }

bool TEditorFrame::ConfirmDiscard() {
  if (!edit_ || !SendMessageA(edit_, EM_GETMODIFY, 0, 0)) return true;
  int answer = MessageBoxA(GetHandle(), "文書は変更されています。保存しますか？", PROGRAM_NAME,
                           MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDYES) return SaveDocument();
  return answer == IDNO;
}

void TEditorFrame::Report(const char* text) { Report(WideFromCp932(text)); }

// Wide, so that a character outside code page 932 shows as itself.
void TEditorFrame::Report(const std::wstring& text) {
  lastReport_ = text;
  if (interactive_) MessageBoxW(GetHandle(), text.c_str(), WideFromCp932(PROGRAM_NAME).c_str(), MB_OK | MB_ICONWARNING);
}

void TEditorFrame::UpdateTitle() {
  if (!GetHandle()) return;
  std::string title = (path_.empty() ? std::string(UNTITLED) : NameOf(path_)) + " - " + PROGRAM_NAME;
  SetWindowTextA(GetHandle(), title.c_str());
}

}  // namespace vxhost
