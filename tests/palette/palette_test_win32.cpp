// The palette with the real add-in, in this process, and real programs the
// team did not write as targets: Wine's own notepad (64-bit and, where 32-bit
// code runs, the 32-bit one) and wordpad. Each program starts once and serves
// a whole table. The tag window is driven as a user drives it: the target is
// in front, the palette comes forward, Enter (or a double-click) on an entry.
// Texts of this file are code page 932 in the binary.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/host/find_item_win32.h"
#include "hostkit/paths_win32.h"
#include "palette/palette_application_win32.h"
#include "palette/palette_frame_win32.h"
#include "palette/palette_texts_win32.h"
#include "tests/palette/target_program_win32.h"
#include "tests/win32/dialog_hooks_win32.h"

namespace {

using vxpalette::InsertMethod;
using vxpalette::InsertOutcome;
using vxpalette::test_support::NativeNotepad;
using vxpalette::test_support::START_BOUND_MS;
using vxpalette::test_support::TargetProgram;
using vxpalette::test_support::WindowsFile;
using vxpalette::test_support::WordPadPath;

constexpr DWORD STEP_BOUND_MS = 8000;
constexpr ULONGLONG RECALL_MS = 500;  // how long a call-up may take before the user calls again

const char BOLD[] = "太い文字　<B>";
const char PARAGRAPH[] = "段落　<P>";
const char PAGE_TOP[] = "ページの先頭へ";
const char HTML_TEMPLATE[] = "基本構成　<HTML>";
const char TABLE_BACKGROUND[] = "表の背景色　<TABLE BGCOLOR=\"#\">";

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::u16string ClipboardText() {
  std::u16string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* characters = static_cast<const char16_t*>(GlobalLock(data))) {
      text = characters;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void PutClipboardText(const std::u16string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  std::char_traits<char16_t>::copy(static_cast<char16_t*>(GlobalLock(data)), text.c_str(), text.size() + 1);
  GlobalUnlock(data);
  SetClipboardData(CF_UNICODETEXT, data);
  CloseClipboard();
}

class PaletteTest : public ::testing::Test {
 public:
  void SetUp() override {
    vxpalette::PaletteSettings settings;
    settings.hotkey.key = 0;  // no system-wide hotkey from a test
    frame = new vxpalette::TPaletteFrame(vxhost::BesideProgram(vxhost::DEFAULT_DEFINITION_FILE).c_str(), settings);
    frame->SetNoticeSink([this](const std::wstring& text) { notices.push_back(text); });
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->LoadAddIn(vxhost::BesideProgram(L"vxhtml.dll").c_str()));
    ASSERT_TRUE(frame->Create());
    ASSERT_TRUE(frame->OpenTagWindow());
    app.PumpWaitingMessages();
    tree = vxhost::FindTagTree(frame->FindTagWindow());
    ASSERT_NE(tree, nullptr);
  }

  template <typename Condition>
  bool PumpUntil(Condition condition, DWORD boundMs = STEP_BOUND_MS) {
    const ULONGLONG deadline = GetTickCount64() + boundMs;
    for (;;) {
      app.PumpWaitingMessages();
      if (condition()) return true;
      if (GetTickCount64() >= deadline) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }

  InsertOutcome LastOutcome() const { return frame->LastOutcome(); }

  // Whether the tag window came in front after the palette was called up.
  // Wine may give the foreground back to the target once the target's own
  // late focus event arrives (seen on a loaded machine, and on the emulated
  // 32-bit CPU): the user then calls the palette again.
  bool CameForward(HWND target) {
    ULONGLONG calledAt = GetTickCount64();
    return PumpUntil([&] {
      if (GetForegroundWindow() == frame->FindTagWindow()) return true;
      if (GetForegroundWindow() == target || GetTickCount64() - calledAt > RECALL_MS) {
        frame->ComeForward();
        calledAt = GetTickCount64();
      }
      return false;
    });
  }

  // The user works in the target, then calls the palette up.
  void WorkIn(HWND target) {
    SetForegroundWindow(target);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == target; })) << "the target never came in front";
    ASSERT_TRUE(PumpUntil([&] { return frame->Target() == target; })) << "the palette did not take the target";
    frame->ComeForward();
    ASSERT_TRUE(CameForward(target)) << "the tag window did not come in front";
    EXPECT_EQ(frame->Target(), target) << "the palette coming forward changed the target";
  }

  // Enter on an entry, then the loop until the palette has delivered.
  void Activate(const char* caption) {
    HTREEITEM item = vx::test_support::FindItemByCaption(tree, caption);
    ASSERT_NE(item, nullptr) << caption;
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SetFocus(tree);
    SendMessageW(tree, WM_KEYDOWN, VK_RETURN, 1);
    Settle();
  }
  // The delivery is posted at the hand-back; once the loop ran it, the
  // target (or nobody) is in front again.
  void Settle() {
    PumpUntil([&] { return GetForegroundWindow() != frame->FindTagWindow(); });
    app.PumpWaitingMessages();
  }

  vxpalette::TPaletteApplication app{GetModuleHandleW(nullptr)};
  vxpalette::TPaletteFrame* frame = nullptr;
  HWND tree = nullptr;
  std::vector<std::wstring> notices;
};

struct InsertCase {
  const char* caption;
  InsertMethod method;
  std::u16string before;   // the target's text, "[" and "]" around the selection
  std::u16string after;    // with "|" for the caret
};

const InsertCase INSERT_CASES[] = {
    {BOLD,          InsertMethod::Message,   u"hello [world]", u"hello <B>world|</B>"},
    {BOLD,          InsertMethod::Keys,      u"hello [world]", u"hello <B>world|</B>"},
    {BOLD,          InsertMethod::Clipboard, u"hello [world]", u"hello <B>world|</B>"},
    {BOLD,          InsertMethod::Auto,      u"[]",            u"<B>|</B>"},
    {PAGE_TOP,      InsertMethod::Message,   u"x[]",           u"x<a href=\"#top\">ページの先頭へ</a>|"},
    {HTML_TEMPLATE, InsertMethod::Message,   u"[]",
     u"<HTML>\r\n  <HEAD>\r\n  <TITLE></TITLE>\r\n\r\n  </HEAD>\r\n  <BODY>\r\n\r\n  </BODY>\r\n</HTML>\r\n|"},
};

void RunInsertTable(PaletteTest& test, TargetProgram& target, bool richEdit) {
  for (const InsertCase& c : INSERT_CASES) {
    // A RichEdit keeps a line end as one character: the template is for the Edit.
    if (richEdit && c.caption == HTML_TEMPLATE) continue;
    SCOPED_TRACE(std::string(c.caption) + " " + Narrow(vxpalette::MethodName(c.method)) + " " + Narrow(c.before));
    std::u16string text = c.before;
    const std::size_t open = text.find(u'[');
    text.erase(open, 1);
    const std::size_t close = text.find(u']');
    text.erase(close, 1);
    target.Reset(text, static_cast<DWORD>(open), static_cast<DWORD>(close));
    PutClipboardText(u"the user's own");
    test.frame->SetMethod(c.method);
    ASSERT_NO_FATAL_FAILURE(test.WorkIn(target.Top()));
    ASSERT_NO_FATAL_FAILURE(test.Activate(c.caption));
    EXPECT_EQ(test.LastOutcome(), InsertOutcome::Inserted);
    EXPECT_EQ(GetForegroundWindow(), target.Top());
    EXPECT_EQ(target.WithCaret(), c.after);
    EXPECT_EQ(ClipboardText(), u"the user's own");
    if (c.method == InsertMethod::Message) {
      target.Undo();
      EXPECT_EQ(target.Text(), text) << "one undo takes the whole insertion back";
    }
  }
}

// Clicks as the user clicks: through the window system, on an item's caption.
void ClickOn(HWND tree, HTREEITEM item, int clicks) {
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  RECT rect{};
  std::memcpy(&rect, &item, sizeof item);  // the item goes in where the rectangle comes out
  SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
  POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(tree, &point);
  SetCursorPos(point.x, point.y);
  std::vector<INPUT> inputs;
  for (int i = 0; i < clicks; ++i) {
    for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
      INPUT input{};
      input.type = INPUT_MOUSE;
      input.mi.dwFlags = flag;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST_F(PaletteTest, NotepadTakesEveryEntryByEveryMethodAndClicksKeepTheTarget) {
  TargetProgram notepad(NativeNotepad(), L"Notepad", L"Edit");
  ASSERT_TRUE(notepad.Started());
  RunInsertTable(*this, notepad, false);

  // The colour the dialog gives (it opens on its first colour) is what arrives.
  frame->SetMethod(InsertMethod::Auto);
  notepad.Reset(u"", 0, 0);
  ASSERT_NO_FATAL_FAILURE(WorkIn(notepad.Top()));
  {
    vx::test_support::ColourDialogScript script(nullptr, IDOK);
    ASSERT_NO_FATAL_FAILURE(Activate(TABLE_BACKGROUND));
    EXPECT_TRUE(script.ran) << "the colour dialog did not come up";
    EXPECT_FALSE(script.TimedOut());
  }
  Settle();
  EXPECT_EQ(notepad.WithCaret(), u"<TABLE BGCOLOR=\"#FF8080\">|");
  EXPECT_EQ(frame->Target(), notepad.Top()) << "the palette's own colour dialog became the target";

  // A click in the tag window brings the palette in front and leaves the
  // target; a double-click activates the entry into it.
  notepad.Reset(u"", 0, 0);
  ASSERT_NO_FATAL_FAILURE(WorkIn(notepad.Top()));
  const HTREEITEM paragraph = vx::test_support::FindItemByCaption(tree, PARAGRAPH);
  ASSERT_NE(paragraph, nullptr);
  ClickOn(tree, paragraph, 1);
  EXPECT_TRUE(PumpUntil([&] { return TreeView_GetSelection(tree) == paragraph; })) << "the click did not arrive";
  for (int i = 0; i < 5; ++i) PumpUntil([] { return false; }, vxpalette::TARGET_POLL_MS);
  EXPECT_EQ(frame->Target(), notepad.Top());
  ClickOn(tree, paragraph, 2);
  EXPECT_TRUE(PumpUntil([&] { return notepad.Text() == u"<P></P>"; })) << Narrow(notepad.Text());
  EXPECT_EQ(notepad.WithCaret(), u"<P>|</P>");

  // Esc in the tree, seen by the palette's loop, and the hotkey pressed in
  // the palette go back without inserting; the hotkey in the target calls the
  // palette up.
  ASSERT_NO_FATAL_FAILURE(WorkIn(notepad.Top()));
  PostMessageW(tree, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == notepad.Top(); })) << "Esc did not go back";
  ASSERT_NO_FATAL_FAILURE(WorkIn(notepad.Top()));
  frame->Toggle();
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == notepad.Top(); })) << "the hotkey did not go back";
  frame->Toggle();
  EXPECT_TRUE(CameForward(notepad.Top())) << "the hotkey did not come";
  EXPECT_EQ(GetFocus(), tree);
  EXPECT_EQ(notepad.Text(), u"<P></P>");
  EXPECT_TRUE(notices.empty());
}

// A hotkey another program holds is refused with a notice that names it.
TEST_F(PaletteTest, AHotkeyHeldElsewhereIsReported) {
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT, 'Q'));
  EXPECT_FALSE(frame->UseHotkey({vxpalette::HOTKEY_CONTROL | vxpalette::HOTKEY_ALT, 'Q'}));
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find(L"Ctrl+Alt+Q"), std::wstring::npos);
  EXPECT_TRUE(frame->UseHotkey({vxpalette::HOTKEY_CONTROL | vxpalette::HOTKEY_ALT, 'W'}));
  EXPECT_EQ(notices.size(), 1u);
  UnregisterHotKey(other, 1);
  DestroyWindow(other);
}

TEST_F(PaletteTest, Notepad32TakesEveryEntryByEveryMethod) {
  if (sizeof(void*) == 8) GTEST_SKIP() << "the 64-bit palette's target is the 64-bit notepad";
  TargetProgram notepad(WindowsFile(L"system32", L"notepad.exe"), L"Notepad", L"Edit");
  ASSERT_TRUE(notepad.Started());
  RunInsertTable(*this, notepad, false);
  EXPECT_TRUE(notices.empty());
}

TEST_F(PaletteTest, WordPadTakesEveryEntryByEveryMethod) {
  TargetProgram wordpad(WordPadPath(), L"WORDPADTOP", L"RichEdit20W");
  ASSERT_TRUE(wordpad.Started());
  wordpad.SetRichEdit();
  RunInsertTable(*this, wordpad, true);
  EXPECT_TRUE(notices.empty());
}

// Nothing is typed anywhere: the text waits on the clipboard and a notice
// says so, whether no target was ever seen or the target has closed.
TEST_F(PaletteTest, WithoutATargetTheTextGoesToTheClipboard) {
  PutClipboardText(u"the user's own");
  if (frame->Target() == nullptr) {
    ASSERT_NO_FATAL_FAILURE(Activate(PARAGRAPH));
    EXPECT_EQ(LastOutcome(), InsertOutcome::NoTarget);
    EXPECT_EQ(ClipboardText(), u"<P></P>");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], vxpalette::NO_TARGET);
  }
  notices.clear();
  TargetProgram notepad(NativeNotepad(), L"Notepad", L"Edit");
  ASSERT_TRUE(notepad.Started());
  ASSERT_NO_FATAL_FAILURE(WorkIn(notepad.Top()));
  notepad.End();
  ASSERT_NO_FATAL_FAILURE(Activate(BOLD));
  EXPECT_EQ(frame->Target(), nullptr);
  EXPECT_EQ(LastOutcome(), InsertOutcome::NoTarget);
  EXPECT_EQ(ClipboardText(), u"<B></B>");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], vxpalette::NO_TARGET);
}

// The settings come back as stored; a value the palette cannot read keeps its
// default rather than stopping the start.
TEST(PaletteSettings, StoredValuesComeBackAndUnreadableOnesKeepTheirDefault) {
  RegDeleteTreeW(HKEY_CURRENT_USER, vxpalette::SETTINGS_KEY);
  vxpalette::PaletteSettings fresh = vxpalette::LoadSettings();
  EXPECT_TRUE(fresh.hotkey == vxpalette::DEFAULT_HOTKEY);
  EXPECT_EQ(fresh.method, InsertMethod::Auto);

  vxpalette::PaletteSettings stored;
  stored.definitionPath = L"C:\\定義\\mytags.def";
  stored.method = InsertMethod::Clipboard;
  stored.hotkey = {vxpalette::HOTKEY_WIN | vxpalette::HOTKEY_SHIFT, 0x7B};
  stored.alwaysOnTop = true;
  vxpalette::SaveSettings(stored);
  const vxpalette::PaletteSettings loaded = vxpalette::LoadSettings();
  EXPECT_EQ(loaded.definitionPath, stored.definitionPath);
  EXPECT_EQ(loaded.method, stored.method);
  EXPECT_TRUE(loaded.hotkey == stored.hotkey);
  EXPECT_TRUE(loaded.alwaysOnTop);

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, vxpalette::SETTINGS_KEY, 0, KEY_WRITE, &key), ERROR_SUCCESS);
  const wchar_t badHotkey[] = L"H";
  RegSetValueExW(key, L"Hotkey", 0, REG_SZ, reinterpret_cast<const BYTE*>(badHotkey), sizeof badHotkey);
  const DWORD notText = 3;
  RegSetValueExW(key, L"Method", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&notText), sizeof notText);
  RegCloseKey(key);
  const vxpalette::PaletteSettings damaged = vxpalette::LoadSettings();
  EXPECT_TRUE(damaged.hotkey == vxpalette::DEFAULT_HOTKEY);
  EXPECT_EQ(damaged.method, InsertMethod::Auto);
  RegDeleteTreeW(HKEY_CURRENT_USER, vxpalette::SETTINGS_KEY);

  ASSERT_TRUE(vxpalette::SetStartWithWindows(true));
  EXPECT_TRUE(vxpalette::StartsWithWindows());
  ASSERT_TRUE(vxpalette::SetStartWithWindows(false));
  EXPECT_FALSE(vxpalette::StartsWithWindows());
  EXPECT_TRUE(vxpalette::SetStartWithWindows(false)) << "removing what is not there is no failure";
}

// The program itself: what it says without its add-in, a second start, and
// its end with the tag window.
struct ProgramRun {
  PROCESS_INFORMATION process{};
  ProgramRun(const std::wstring& program, const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  }
  ~ProgramRun() {
    if (!process.hProcess) return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  HWND Window(const wchar_t* className) const {
    return vxpalette::test_support::WaitForTopWindow(process.hProcess, process.dwProcessId, className, START_BOUND_MS);
  }
  DWORD ExitCode(DWORD boundMs) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, boundMs) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    return code;
  }
};

std::wstring BesideTests(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

TEST(PaletteProgram, MissingAddInIsNamedAndASecondStartBringsTheFirstForward) {
  // Alone in a folder with its framework but without the add-in.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring lonely = std::wstring(temp) + L"vxpalette-alone\\";
  CreateDirectoryW(lonely.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(BesideTests(L"vxpalette.exe").c_str(), (lonely + L"vxpalette.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(BesideTests(L"vxframe.dll").c_str(), (lonely + L"vxframe.dll").c_str(), FALSE));
  {
    ProgramRun alone(lonely + L"vxpalette.exe", L"");
    const HWND box = alone.Window(L"#32770");
    ASSERT_NE(box, nullptr) << "no message";
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    EXPECT_NE(std::wstring(text).find(L"vxhtml.dll"), std::wstring::npos) << Narrow(std::u16string(text, text + 20));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(alone.ExitCode(10000), 1u);
  }

  ProgramRun first(BesideTests(L"vxpalette.exe"), L"--hotkey Ctrl+Alt+F11");
  const HWND tagWindow = first.Window(L"VxFrameWindow");
  ASSERT_NE(tagWindow, nullptr) << "the palette did not open its tag window";
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  {
    ProgramRun second(BesideTests(L"vxpalette.exe"), L"");
    EXPECT_EQ(second.ExitCode(20000), 0u);
  }
  const ULONGLONG deadline = GetTickCount64() + STEP_BOUND_MS;
  while (GetForegroundWindow() != tagWindow && GetTickCount64() < deadline) Sleep(20);
  EXPECT_EQ(GetForegroundWindow(), tagWindow) << "the running palette did not come forward";
  DestroyWindow(other);

  // Closing the tag window ends the palette.
  PostMessageW(tagWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.ExitCode(10000), 0u);
}

}  // namespace
