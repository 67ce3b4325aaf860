#include "palette/palette_frame_win32.h"

#include <commctrl.h>


#include "hostkit/definition_file_dialog_win32.h"
#include "hostkit/paths_win32.h"
#include "palette/insert/foreground_win32.h"
#include "palette/palette_texts_win32.h"
#include "palette/request_window_win32.h"

namespace vxpalette {
namespace {

constexpr UINT_PTR TRACK_TIMER = 1;
constexpr UINT HOTKEY_ID = 1;
constexpr DWORD RETURN_BOUND_MS = 2000;

// The hotkeys the menu offers; --hotkey and the settings take any other.
static constexpr Hotkey HOTKEY_CHOICES[] = {
    {HOTKEY_CONTROL | HOTKEY_ALT,   'H'},
    {HOTKEY_CONTROL | HOTKEY_ALT,   'T'},
    {HOTKEY_CONTROL | HOTKEY_SHIFT, 0x20},
    {HOTKEY_WIN | HOTKEY_ALT,       'H'},
};
constexpr UINT HOTKEY_CHOICE_COUNT = sizeof HOTKEY_CHOICES / sizeof HOTKEY_CHOICES[0];

struct OutcomeNotice {
  InsertOutcome outcome;
  const wchar_t* text;
};

static constexpr OutcomeNotice OUTCOME_NOTICES[] = {
    {InsertOutcome::NoTarget,      NO_TARGET},
    {InsertOutcome::TargetHung,    TARGET_HUNG},
    {InsertOutcome::NotReachable,  TARGET_NOT_REACHABLE},
    {InsertOutcome::CouldNotFocus, TARGET_NOT_IN_FRONT},
    {InsertOutcome::KeysHeld,      KEYS_HELD},
};

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

// No printf: its %s means a narrow or a wide text depending on the C runtime.
std::wstring TPaletteFrame::Formatted(const wchar_t* format, const std::wstring& argument) {
  std::wstring text(format);
  const std::size_t at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, argument);
  return text;
}

TPaletteFrame::TPaletteFrame(const char* definitionPath, const PaletteSettings& settings)
    : TFrameWindow(nullptr, FRAME_TITLE), definitionPath_(definitionPath ? definitionPath : ""), settings_(settings) {
  attr.style = WS_OVERLAPPED;  // never shown
  attr.exStyle = WS_EX_TOOLWINDOW;
}

TPaletteFrame::~TPaletteFrame() {
  tracker_.Stop();
  trayIcon_.Remove();
  if (requests_) DestroyWindow(requests_);
}

void TPaletteFrame::SetupWindow() {
  TFrameWindow::SetupWindow();
  requests_ = CreateRequestWindow(GetApplication() ? GetApplication()->GetInstance() : GetModuleHandleW(nullptr),
                                  &collector_);
  tracker_.Start(GetHandle(), TRACK_TIMER);
}

const TResponseTable& TPaletteFrame::ResponseTable() {
  static constexpr TResponseEntry ROWS[] = {
      {WM_ACTIVATE,       Respond<&TPaletteFrame::EvActivate>},
      {WM_TIMER,          Respond<&TPaletteFrame::EvTimer>},
      {WM_HOTKEY,         Respond<&TPaletteFrame::EvHotkey>},
      {WM_COMMAND,        Respond<&TPaletteFrame::EvCommand>},
      {WM_DESTROY,        Respond<&TPaletteFrame::EvDestroy>},
      {DELIVER_INSERTION, Respond<&TPaletteFrame::EvDeliverInsertion>},
      {REOPEN_TAG_WINDOW, Respond<&TPaletteFrame::EvReopenTagWindow>},
      {TRAY_CALLBACK,     Respond<&TPaletteFrame::EvTrayCallback>},
      {BRING_FORWARD,     Respond<&TPaletteFrame::EvBringForward>},
  };
  static constexpr TResponseTable TABLE = MakeResponseTable(ROWS, &TFrameWindow::ResponseTable);
  return TABLE;
}

const TResponseTable& TPaletteFrame::Responses() const { return ResponseTable(); }

bool TPaletteFrame::LoadAddIn(const wchar_t* libraryPath) { return addIn_.Load(libraryPath); }

bool TPaletteFrame::OpenTagWindow() {
  if (!requests_ || !addIn_.IsLoaded()) return false;
  addIn_.Open(*this, requests_, definitionPath_.c_str());
  tagWindowOpened_ = FindTagWindow() != nullptr;
  ApplyAlwaysOnTop();
  return tagWindowOpened_;
}

HWND TPaletteFrame::FindTagWindow() const { return vxhost::TagWindowLink::FindTagWindow(GetHandle()); }
HWND TPaletteFrame::RequestWindow() const { return requests_; }
HWND TPaletteFrame::Target() const { return tracker_.Target(); }
TargetTracker& TPaletteFrame::Tracker() { return tracker_; }
InsertOutcome TPaletteFrame::LastOutcome() const { return lastOutcome_; }
void TPaletteFrame::SetMethod(InsertMethod method) { settings_.method = method; }

bool TPaletteFrame::IsTagTree(HWND window) const {
  HWND tagWindow = FindTagWindow();
  return window && tagWindow && GetParent(window) == tagWindow;
}

// The add-in's hand-back ends an activation. The insertion waits for the
// target, so it runs from the loop, after the tree's key handling returned.
LRESULT TPaletteFrame::EvActivate(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == WA_CLICKACTIVE && HIWORD(wParam) == 0 && IsTagTree(reinterpret_cast<HWND>(lParam))) {
    PostMessageW(GetHandle(), DELIVER_INSERTION, 0, 0);
    return 0;
  }
  return DispatchFrom(TFrameWindow::ResponseTable(), WM_ACTIVATE, wParam, lParam);
}

LRESULT TPaletteFrame::EvDeliverInsertion(WPARAM, LPARAM) {
  Deliver(collector_.Take());
  return 0;
}

// Notices come after the insertion, so that a message box never stands
// between the user's Enter and the target.
void TPaletteFrame::Deliver(const InsertionText& text) {
  HWND target = tracker_.Target();
  if (text.before.empty() && text.after.empty()) {
    // Nothing to insert (Ctrl+Down, a cancelled colour dialog): back to work.
    if (target) BringToFront(target, RETURN_BOUND_MS);
    return;
  }
  lastOutcome_ = target ? InsertIntoWindow(target, text, settings_.method).outcome : InsertOutcome::NoTarget;
  if (lastOutcome_ != InsertOutcome::Inserted) {
    // Nothing was typed: the text waits on the clipboard, so that it is not lost.
    PutTextOnClipboard(GetHandle(), text.before + text.after);
    for (const OutcomeNotice& row : OUTCOME_NOTICES) {
      if (row.outcome == lastOutcome_) Notify(row.text);
    }
  }
  if (text.hadInvalidBytes) Notify(INVALID_BYTES);
}

void TPaletteFrame::ReturnToTarget() {
  collector_.Take();
  if (HWND target = tracker_.Target()) BringToFront(target, RETURN_BOUND_MS);
}

void TPaletteFrame::ComeForward() {
  tracker_.Poll();
  if (!FindTagWindow()) OpenTagWindow();
  HWND tagWindow = FindTagWindow();
  if (!tagWindow) return;
  if (IsIconic(tagWindow)) ShowWindow(tagWindow, SW_RESTORE);
  SetForegroundWindow(tagWindow);
  if (HWND tree = FindWindowExW(tagWindow, nullptr, WC_TREEVIEWW, nullptr)) SetFocus(tree);
}

void TPaletteFrame::Toggle() {
  DWORD process = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &process);
  if (process == GetCurrentProcessId() && FindTagWindow()) {
    ReturnToTarget();
  } else {
    ComeForward();
  }
}

bool TPaletteFrame::UseHotkey(const Hotkey& hotkey) {
  if (hotkeyRegistered_) UnregisterHotKey(GetHandle(), HOTKEY_ID);
  hotkeyRegistered_ = false;
  settings_.hotkey = hotkey;
  if (hotkey.key == 0) return true;
  hotkeyRegistered_ = RegisterHotKey(GetHandle(), HOTKEY_ID, hotkey.modifiers | MOD_NOREPEAT, hotkey.key) != FALSE;
  if (!hotkeyRegistered_) Notify(Formatted(HOTKEY_TAKEN, Wide(HotkeyText(hotkey))));
  return hotkeyRegistered_;
}

void TPaletteFrame::SetNoticeSink(std::function<void(const std::wstring&)> sink) { noticeSink_ = std::move(sink); }

void TPaletteFrame::ShowTrayIcon() { trayIcon_.Add(GetHandle(), TRAY_CALLBACK, PROGRAM_NAME); }

void TPaletteFrame::Notify(const std::wstring& text) {
  if (noticeSink_) {
    noticeSink_(text);
  } else if (!trayIcon_.Balloon(PROGRAM_NAME, text)) {
    MessageBoxW(FindTagWindow(), text.c_str(), PROGRAM_NAME, MB_OK | MB_ICONINFORMATION);
  }
}

LRESULT TPaletteFrame::EvTimer(WPARAM id, LPARAM) {
  if (id != TRACK_TIMER) return 0;
  tracker_.Poll();
  EndWhenTagWindowClosed();
  return 0;
}

// The tag window closes itself (its close box, Alt+F4) without telling its
// host; the palette has nothing to show without it.
void TPaletteFrame::EndWhenTagWindowClosed() {
  if (tagWindowOpened_ && !reopening_ && !FindTagWindow()) {
    tagWindowOpened_ = false;
    PostMessageW(GetHandle(), WM_CLOSE, 0, 0);
  }
}

LRESULT TPaletteFrame::EvHotkey(WPARAM, LPARAM) {
  Toggle();
  return 0;
}

LRESULT TPaletteFrame::EvBringForward(WPARAM, LPARAM) {
  ComeForward();
  return 0;
}

LRESULT TPaletteFrame::EvDestroy(WPARAM wParam, LPARAM lParam) {
  if (hotkeyRegistered_) UnregisterHotKey(GetHandle(), HOTKEY_ID);
  hotkeyRegistered_ = false;
  tracker_.Stop();
  trayIcon_.Remove();
  return DispatchFrom(TFrameWindow::ResponseTable(), WM_DESTROY, wParam, lParam);
}

LRESULT TPaletteFrame::EvTrayCallback(WPARAM, LPARAM mouseMessage) {
  if (mouseMessage == WM_RBUTTONUP || mouseMessage == WM_CONTEXTMENU) ShowMenu();
  if (mouseMessage == WM_LBUTTONUP) ComeForward();
  return 0;
}

void TPaletteFrame::ShowMenu() {
  HMENU hotkeys = CreatePopupMenu();
  for (UINT i = 0; i < HOTKEY_CHOICE_COUNT; ++i) {
    const UINT checked = HOTKEY_CHOICES[i] == settings_.hotkey ? MF_CHECKED : MF_UNCHECKED;
    AppendMenuW(hotkeys, MF_STRING | checked, CmdHotkeyFirst + i, Wide(HotkeyText(HOTKEY_CHOICES[i])).c_str());
  }
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, CmdShow, MENU_SHOW);
  AppendMenuW(menu, MF_STRING, CmdDefinitionFile, MENU_DEFINITION_FILE);
  AppendMenuW(menu, MF_STRING | (settings_.alwaysOnTop ? MF_CHECKED : MF_UNCHECKED), CmdAlwaysOnTop,
              MENU_ALWAYS_ON_TOP);
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(hotkeys), MENU_HOTKEY);
  AppendMenuW(menu, MF_STRING | (StartsWithWindows() ? MF_CHECKED : MF_UNCHECKED), CmdStartWithWindows,
              MENU_START_WITH_WINDOWS);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, CmdQuit, MENU_QUIT);
  SetMenuDefaultItem(menu, CmdShow, FALSE);
  POINT pointer{};
  GetCursorPos(&pointer);
  // The menu closes when the user clicks elsewhere only while its owner is in front.
  SetForegroundWindow(GetHandle());
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, pointer.x, pointer.y, 0, GetHandle(), nullptr);
  PostMessageW(GetHandle(), WM_NULL, 0, 0);
  DestroyMenu(menu);
}

LRESULT TPaletteFrame::EvCommand(WPARAM wParam, LPARAM lParam) {
  const UINT command = LOWORD(wParam);
  if (command >= CmdHotkeyFirst && command < CmdHotkeyFirst + HOTKEY_CHOICE_COUNT) {
    if (UseHotkey(HOTKEY_CHOICES[command - CmdHotkeyFirst])) SaveSettings(settings_);
    return 0;
  }
  switch (command) {
    case CmdShow: ComeForward(); return 0;
    case CmdDefinitionFile: ChooseDefinitionFile(); return 0;
    case CmdAlwaysOnTop: settings_.alwaysOnTop = !settings_.alwaysOnTop; ApplyAlwaysOnTop(); SaveSettings(settings_); return 0;
    case CmdStartWithWindows: SetStartWithWindows(!StartsWithWindows()); return 0;
    case CmdQuit: PostMessageW(GetHandle(), WM_CLOSE, 0, 0); return 0;
    default: return DispatchFrom(TFrameWindow::ResponseTable(), WM_COMMAND, wParam, lParam);
  }
}

void TPaletteFrame::ApplyAlwaysOnTop() {
  if (HWND tagWindow = FindTagWindow()) {
    SetWindowPos(tagWindow, settings_.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TPaletteFrame::ChooseDefinitionFile() {
  const std::string chosen = vxhost::AskForDefinitionFile(FindTagWindow(), definitionPath_);
  if (chosen.empty()) return;
  definitionPath_ = vxhost::FullPath(chosen.c_str());
  settings_.definitionPath = vxhost::WidePath(definitionPath_);
  SaveSettings(settings_);
  reopening_ = true;
  PostMessageW(GetHandle(), REOPEN_TAG_WINDOW, 0, 0);
}

// In two steps, as in the sample editor: the loop deletes the closed tag
// window's object between them, and only then can the add-in open a new one.
LRESULT TPaletteFrame::EvReopenTagWindow(WPARAM closed, LPARAM) {
  if (!closed && FindTagWindow()) {
    addIn_.Close();
    PostMessageW(GetHandle(), REOPEN_TAG_WINDOW, 1, 0);
    return 0;
  }
  reopening_ = false;
  OpenTagWindow();
  ComeForward();
  return 0;
}

}  // namespace vxpalette
