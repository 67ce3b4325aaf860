#include "host/editor_frame_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include "host/document_file_win32.h"
#include "host/editor_texts_win32.h"
#include "host/recovery_win32.h"
#include "hostkit/dpi_awareness_win32.h"

namespace vxhost {
namespace {

struct MenuRow {
  UINT command;  // 0: separator
  const wchar_t* caption;
};

static constexpr MenuRow FILE_MENU[] = {
    {CmdNew,            L"新規作成(&N)\tCtrl+N"},
    {CmdOpen,           L"開く(&O)...\tCtrl+O"},
    {CmdReopenShiftJis, L"Shift_JIS で開き直す(&J)"},
    {CmdReopenUtf8,     L"UTF-8 で開き直す(&U)"},
    {CmdSave,           L"上書き保存(&S)\tCtrl+S"},
    {CmdSaveAs,         L"名前を付けて保存(&A)..."},
    {0,                 nullptr},
    {CmdExit,           L"終了(&X)"},
};

static constexpr MenuRow TOOLS_MENU[] = {
    {CmdTagWindow,           L"タグウィンドウ(&T)\tCtrl+T / F8"},
    {CmdDefinitionFile,      L"定義ファイルを開く(&D)..."},
    {CmdCheckDefinitionFile, L"定義ファイルを確認(&C)"},
};

static constexpr ACCEL ACCELERATORS[] = {
    {FCONTROL | FVIRTKEY, 'N',   CmdNew},
    {FCONTROL | FVIRTKEY, 'O',   CmdOpen},
    {FCONTROL | FVIRTKEY, 'S',   CmdSave},
    {FCONTROL | FVIRTKEY, 'T',   CmdTagWindow},
    {FVIRTKEY,            VK_F8, CmdTagWindow},
};

// The file types of the open and save dialogs are also their choice of
// encoding; the open dialog's may leave it to the file's bytes.
enum class TypeEncoding { Guess, ShiftJis, Utf8 };

struct FileType {
  const wchar_t* caption;
  const wchar_t* pattern;
  TypeEncoding encoding;
};

static constexpr FileType SAVE_TYPES[] = {
    {L"HTML 文書 - UTF-8 (*.htm;*.html)",     L"*.htm;*.html", TypeEncoding::Utf8},
    {L"HTML 文書 - Shift_JIS (*.htm;*.html)", L"*.htm;*.html", TypeEncoding::ShiftJis},
    {L"すべてのファイル - UTF-8 (*.*)",       L"*.*",          TypeEncoding::Utf8},
    {L"すべてのファイル - Shift_JIS (*.*)",   L"*.*",          TypeEncoding::ShiftJis},
};

static constexpr FileType OPEN_TYPES[] = {
    {L"HTML 文書 - 自動判別 (*.htm;*.html)",      L"*.htm;*.html", TypeEncoding::Guess},
    {L"HTML 文書 - Shift_JIS (*.htm;*.html)",     L"*.htm;*.html", TypeEncoding::ShiftJis},
    {L"HTML 文書 - UTF-8 (*.htm;*.html)",         L"*.htm;*.html", TypeEncoding::Utf8},
    {L"テキスト - 自動判別 (*.txt)",              L"*.txt",        TypeEncoding::Guess},
    {L"すべてのファイル - 自動判別 (*.*)",        L"*.*",          TypeEncoding::Guess},
    {L"すべてのファイル - Shift_JIS (*.*)",       L"*.*",          TypeEncoding::ShiftJis},
    {L"すべてのファイル - UTF-8 (*.*)",           L"*.*",          TypeEncoding::Utf8},
};


template <std::size_t N>
HMENU BuildPopup(const MenuRow (&rows)[N]) {
  HMENU popup = CreatePopupMenu();
  for (const MenuRow& row : rows) {
    if (row.command == 0) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(popup, MF_STRING, row.command, row.caption);
    }
  }
  return popup;
}

HMENU BuildMenuBar() {
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopup(FILE_MENU)), L"ファイル(&F)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopup(TOOLS_MENU)), L"ツール(&T)");
  return bar;
}

Encoding EncodingOf(TypeEncoding encoding) {
  return encoding == TypeEncoding::ShiftJis ? Encoding::ShiftJis : Encoding::Utf8;
}

template <std::size_t N>
std::wstring Filter(const FileType (&rows)[N]) {
  std::wstring filter;
  for (const FileType& row : rows) {
    filter += row.caption;
    filter += L'\0';
    filter += row.pattern;
    filter += L'\0';
  }
  return filter;
}

// A dialog's filter index (from 1) as a row of its table; the first row for any other.
template <std::size_t N>
const FileType& ChosenType(const FileType (&rows)[N], DWORD index) {
  return index >= 1 && index <= N ? rows[index - 1] : rows[0];
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// A declared label as the user reads it: its ASCII as it is, anything else as "?".
std::wstring LabelText(const std::string& label) {
  std::wstring text;
  for (unsigned char c : label) text += c < 0x80 ? static_cast<wchar_t>(c) : L'?';
  return text;
}

std::wstring NameOf(const std::wstring& path) { return path.substr(FolderOf(path).size()); }

// The document font's height in pixels at 96 DPI.
constexpr int FONT_HEIGHT = 14;

}  // namespace

bool OpenRecoveryInNewEditor(const std::wstring& recoveryFile) {
  const std::wstring program = ProgramPath();
  std::wstring command = L"\"" + program + L"\" --recover \"" + recoveryFile + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

TEditorFrame::TEditorFrame(const char* definitionPath, EditorPrompt& prompt)
    : TFrameWindow(nullptr, nullptr), definitionPath_(definitionPath ? definitionPath : ""), prompt_(prompt) {
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
  // A Unicode control: it holds whatever is typed or pasted, and a save can
  // tell what the document's encoding lacks instead of finding "?" in place.
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                         WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                             ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                         0, 0, area.right, area.bottom, GetHandle(),
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(EDIT_CONTROL_ID)),
                         GetModuleHandleW(nullptr), nullptr);
  protocol_.Install(edit_);
  UpdateFont(WindowDpi(GetHandle()));
  acceleratorTable_ = CreateAcceleratorTableW(const_cast<ACCEL*>(ACCELERATORS),
                                             static_cast<int>(sizeof ACCELERATORS / sizeof ACCELERATORS[0]));
  DragAcceptFiles(GetHandle(), TRUE);
  UpdateTitle();
}

const TResponseTable& TEditorFrame::ResponseTable() {
  static constexpr TResponseEntry ROWS[] = {
      {WM_SIZE,            Respond<&TEditorFrame::EvSize>},
      {WM_ACTIVATE,        Respond<&TEditorFrame::EvActivate>},
      {WM_SETFOCUS,        Respond<&TEditorFrame::EvSetFocus>},
      {WM_COMMAND,         Respond<&TEditorFrame::EvCommand>},
      {WM_DROPFILES,       Respond<&TEditorFrame::EvDropFiles>},
      {WM_QUERYENDSESSION, Respond<&TEditorFrame::EvQueryEndSession>},
      {WM_ENDSESSION,      Respond<&TEditorFrame::EvEndSession>},
      {REOPEN_TAG_WINDOW,  Respond<&TEditorFrame::EvReopenTagWindow>},
      {WM_DPICHANGED,      Respond<&TEditorFrame::EvDpiChanged>},
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

void TEditorFrame::UpdateFont(UINT dpi) {
  // No face is named: asking for a fixed-pitch shift-JIS font lets the font
  // mapper pick whichever installed face has the Japanese glyphs.
  HFONT font = CreateFontW(-MulDiv(FONT_HEIGHT, static_cast<int>(dpi), DEFAULT_DPI), 0, 0, 0, FW_NORMAL, FALSE,
                           FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           FIXED_PITCH | FF_MODERN, L"");
  if (!font) return;
  if (edit_) SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (font_) DeleteObject(font_);
  font_ = font;
}

// Moved to a monitor of another DPI: the system suggests the frame's new
// rectangle, and the document's text follows the scale.
LRESULT TEditorFrame::EvDpiChanged(WPARAM wParam, LPARAM lParam) {
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  UpdateFont(HIWORD(wParam));
  if (suggested) {
    SetWindowPos(GetHandle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 0;
}

LRESULT TEditorFrame::EvDropFiles(WPARAM wParam, LPARAM) {
  auto drop = reinterpret_cast<HDROP>(wParam);
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::wstring path(length + 1, L'\0');
  const UINT copied = length ? DragQueryFileW(drop, 0, &path[0], length + 1) : 0;
  DragFinish(drop);
  path.resize(copied);
  if (!path.empty()) OpenFile(path);
  return 0;
}

// Logging off ends the program as closing does: a modified document is asked
// about, and Cancel keeps the session.
LRESULT TEditorFrame::EvQueryEndSession(WPARAM, LPARAM) {
  bool discarded = false;
  const bool mayEnd = ConfirmDiscard(&discarded);
  discardedAtSessionEnd_ = mayEnd && discarded;
  return mayEnd ? TRUE : FALSE;
}

// The session ends, whatever anyone answered: unsaved work the user did not
// give up goes to a recovery file.
LRESULT TEditorFrame::EvEndSession(WPARAM ending, LPARAM) {
  if (ending && Modified() && !discardedAtSessionEnd_) KeepWorkAtSessionEnd();
  discardedAtSessionEnd_ = false;
  return 0;
}

LRESULT TEditorFrame::EvCommand(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) == edit_ && edit_) {
    if (HIWORD(wParam) == EN_CHANGE) UpdateShutdownBlock();
    return 0;
  }
  switch (LOWORD(wParam)) {
    case CmdNew: NewDocument(); return 0;
    case CmdOpen: ChooseDocumentToOpen(); return 0;
    case CmdReopenShiftJis: ReopenDocument(Encoding::ShiftJis); return 0;
    case CmdReopenUtf8: ReopenDocument(Encoding::Utf8); return 0;
    case CmdSave: SaveDocument(); return 0;
    case CmdSaveAs: SaveDocumentAs(); return 0;
    case CmdExit: PostMessageW(GetHandle(), WM_CLOSE, 0, 0); return 0;
    case CmdTagWindow: ToggleTagWindow(); return 0;
    case CmdDefinitionFile: ChooseDefinitionFile(); return 0;
    case CmdCheckDefinitionFile: CheckDefinitionFile(); return 0;
    default: return DispatchFrom(TFrameWindow::ResponseTable(), WM_COMMAND, wParam, lParam);
  }
}

void TEditorFrame::ChooseDocumentToOpen() {
  if (!ConfirmDiscard()) return;
  std::wstring path;
  const std::wstring filter = Filter(OPEN_TYPES);
  OPENFILENAMEW ofn =
      FileDialog(GetHandle(), filter.c_str(), path, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  if (!prompt_.ChooseFile(ofn, false)) return;
  const TypeEncoding type = ChosenType(OPEN_TYPES, ofn.nFilterIndex).encoding;
  const Encoding chosen = EncodingOf(type);
  OpenDocument(ChosenPath(path), type == TypeEncoding::Guess ? nullptr : &chosen);
}

void TEditorFrame::NewDocument() {
  if (!ConfirmDiscard()) return;
  Restore(L"", L"", DocumentFormat());
  SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
  UpdateShutdownBlock();
}

bool TEditorFrame::OpenDocument(const std::wstring& path, const Encoding* encoding) {
  DocumentFormat format;
  InvalidByte invalid;
  EncodingGuess guess;
  const FileResult result = LoadIntoEdit(edit_, path.c_str(), encoding, format, invalid, &guess);
  if (result == FileResult::InvalidBytes) {
    Report(DescribeInvalid(invalid, format.encoding));
    return false;
  }
  if (result == FileResult::Ok) format_ = std::move(format);
  if (!Adopt(result, path)) return false;
  if (guess.declarationOverruled) Report(DescribeCharsetOverruled(LabelText(guess.declared.label), guess.encoding));
  return true;
}

bool TEditorFrame::ReopenDocument(Encoding encoding) {
  if (path_.empty() || !ConfirmDiscard()) return false;
  const std::wstring path = path_;
  return OpenDocument(path, &encoding);
}

void TEditorFrame::OpenFile(const std::wstring& path) {
  if (IsDefinitionFileName(path)) {
    UseDefinitionFile(path);
  } else if (ConfirmDiscard()) {
    OpenDocument(FullPath(path));
  }
}

bool TEditorFrame::SaveDocument(const wchar_t* path) {
  const std::wstring target = path && *path ? std::wstring(path) : path_;
  if (target.empty()) return SaveDocumentAs();
  return SaveAs(target, format_);
}

bool TEditorFrame::SaveDocumentAs(const std::wstring& path, Encoding encoding) {
  if (encoding == format_.encoding) return SaveAs(path, format_);
  DocumentFormat format;
  format.encoding = encoding;
  return SaveAs(path, format);
}

bool TEditorFrame::SaveDocumentAs() {
  std::wstring path = path_;
  const std::wstring filter = Filter(SAVE_TYPES);
  OPENFILENAMEW ofn =
      FileDialog(GetHandle(), filter.c_str(), path, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  ofn.lpstrDefExt = L"html";
  ofn.nFilterIndex = format_.encoding == Encoding::Utf8 ? 1 : 2;
  if (!prompt_.ChooseFile(ofn, true)) return false;
  return SaveDocumentAs(ChosenPath(path), EncodingOf(ChosenType(SAVE_TYPES, ofn.nFilterIndex).encoding));
}

bool TEditorFrame::SaveAs(const std::wstring& path, DocumentFormat format) {
  if (!ConfirmCharset(format.encoding)) return false;
  UnsavableCharacter where;
  const FileResult result = SaveFromEdit(edit_, path.c_str(), format, where);
  if (result == FileResult::Unsavable) {
    Report(DescribeUnsavable(where, format.encoding));
    return false;
  }
  if (result == FileResult::Ok) format_ = std::move(format);
  return Adopt(result, path);
}

bool TEditorFrame::ConfirmCharset(Encoding encoding) {
  std::wstring text;
  if (ReadEditText(edit_, text) != FileResult::Ok) return true;  // the save itself reports it
  const DeclaredCharset declared = DeclaredIn(text, encoding);
  if (!declared.found || (declared.known && declared.encoding == encoding)) return true;
  const std::wstring warning = DescribeCharsetMismatch(LabelText(declared.label), encoding);
  const int answer = prompt_.Ask(GetHandle(), warning, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  if (answer != NOBODY_TO_ASK) return answer == IDYES;
  // Nobody to ask: the save goes ahead as asked, and the mismatch is told.
  prompt_.Tell(GetHandle(), warning);
  return true;
}

bool TEditorFrame::Adopt(FileResult result, const std::wstring& path) {
  if (result != FileResult::Ok) {
    Report(DescribeFailure(result));
    return false;
  }
  path_ = path;
  UpdateTitle();
  UpdateShutdownBlock();
  return true;
}

void TEditorFrame::Restore(const std::wstring& text, const std::wstring& path, const DocumentFormat& format) {
  SetWindowTextW(edit_, text.c_str());
  path_ = path;
  format_ = format;
  UpdateTitle();
}

bool TEditorFrame::OfferRecovery(const std::wstring& requestedDocument) {
  const std::vector<std::wstring> unkept = TakeUnkeptWork();
  if (!unkept.empty()) Report(DescribeUnkeptWork(unkept));
  bool holding = false;
  for (const std::wstring& file : PendingRecoveries()) {
    Recovery recovery;
    std::wstring raw;
    const RecoveryRead read = ReadRecovery(file, recovery, raw);
    if (read == RecoveryRead::Missing) {
      ForgetPendingRecovery(file);
      continue;
    }
    if (read == RecoveryRead::Unreadable) {
      ForgetPendingRecovery(file);
      Report(RecoveryUnreadable(file));
      continue;
    }
    const bool whole = read == RecoveryRead::Ok;
    const std::wstring question =
        whole ? RecoveryQuestion(recovery.document.empty() ? UNTITLED : recovery.document, file)
              : DamagedRecoveryQuestion(file);
    const int answer = prompt_.Ask(GetHandle(), question, MB_YESNO | MB_ICONQUESTION);
    // Nobody to ask: every work stays offered to a later start.
    if (answer == NOBODY_TO_ASK) break;
    ForgetPendingRecovery(file);
    if (answer != IDYES) {
      Report(RecoveryKept(file));
      continue;
    }
    const bool here = !holding && (requestedDocument.empty() ||
                                   (whole && !recovery.document.empty() && SamePath(recovery.document, requestedDocument)));
    if (here) {
      Recover(file, whole, recovery, raw);
      holding = true;
    } else if (!openRecovery_ || !openRecovery_(file)) {
      Report(RecoveryKept(file));
    }
  }
  return holding;
}

bool TEditorFrame::RecoverFile(const std::wstring& file) {
  Recovery recovery;
  std::wstring raw;
  const RecoveryRead read = ReadRecovery(file, recovery, raw);
  if (read == RecoveryRead::Missing || read == RecoveryRead::Unreadable) {
    Report(RecoveryUnreadable(file));
    return false;
  }
  Recover(file, read == RecoveryRead::Ok, recovery, raw);
  return true;
}

// A document whose file changed after the work was kept is never restored
// over it: Save would overwrite the newer content without a word.
void TEditorFrame::Recover(const std::wstring& file, bool whole, const Recovery& recovery, const std::wstring& raw) {
  DocumentFormat format;
  if (whole) {
    format.encoding = recovery.encoding;
    format.byteOrderMark = recovery.byteOrderMark;
    format.kept = KeptLines(SplitLines(std::wstring_view(recovery.text)), recovery.kept);
    std::wstring path = recovery.document;
    const std::optional<DiskState> now = DiskStateOf(path);
    const bool changed = recovery.diskRecorded && !path.empty() &&
                         (recovery.disk ? now && *now != *recovery.disk : now.has_value());
    if (changed) {
      Report(RecoveryChangedOnDisk(path));
      path.clear();
    }
    Restore(recovery.text, path, format);
    DeleteFileW(SystemPath(file).c_str());
  } else {
    // Never applied to any document: the user reads it and decides.
    Restore(raw, L"", format);
  }
  SendMessageW(edit_, EM_SETMODIFY, TRUE, 0);
  UpdateShutdownBlock();
}

// No box while the session ends: what could not be kept is told at the next start.
void TEditorFrame::KeepWorkAtSessionEnd() {
  Recovery recovery;
  recovery.document = path_;
  recovery.encoding = format_.encoding;
  recovery.byteOrderMark = format_.byteOrderMark;
  recovery.disk = DiskStateOf(path_);
  if (ReadEditText(edit_, recovery.text) == FileResult::Ok) {
    const std::vector<std::wstring_view> lines = SplitLines(std::wstring_view(recovery.text));
    recovery.kept = KeptLines::After(lines, format_.kept.Match(lines)).Kept();
    if (!KeepRecovery(recovery).empty()) return;
  }
  NoteUnkeptWork(path_);
}

bool TEditorFrame::EnsureAddIn() {
  if (addIn_.Load(BesideProgram(L"vxhtml.dll").c_str())) return true;
  if (!addInMissingReported_) Report(ADD_IN_MISSING);
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

bool TEditorFrame::CanClose() { return ConfirmDiscard(); }

bool TEditorFrame::Modified() const { return edit_ && SendMessageW(edit_, EM_GETMODIFY, 0, 0); }

bool TEditorFrame::ConfirmDiscard(bool* discarded) {
  if (!Modified()) return true;
  const int answer = prompt_.Ask(GetHandle(), CONFIRM_DISCARD, MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDYES) return SaveDocument();
  if (discarded) *discarded = answer == IDNO;
  return answer == IDNO || answer == NOBODY_TO_ASK;
}

void TEditorFrame::Report(const std::wstring& text) { prompt_.Tell(GetHandle(), text); }

// The frame's window is an ANSI one: its title is set as UTF-16 directly, so
// that no system code page stands between the text and the caption.
void TEditorFrame::UpdateTitle() {
  if (!GetHandle()) return;
  const std::wstring title = (path_.empty() ? std::wstring(UNTITLED) : NameOf(path_)) + L" (" +
                             EncodingName(format_.encoding) + L") - " + PROGRAM_NAME;
  DefWindowProcW(GetHandle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
}

void TEditorFrame::UpdateShutdownBlock() {
  const bool modified = Modified();
  if (modified == shutdownBlocked_ || !GetHandle()) return;
  shutdownBlocked_ = modified ? ShutdownBlockReasonCreate(GetHandle(), SHUTDOWN_BLOCK_REASON) != FALSE
                              : ShutdownBlockReasonDestroy(GetHandle()) == FALSE;
}

}  // namespace vxhost
