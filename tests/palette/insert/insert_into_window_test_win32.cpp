// Inserting into real programs the team did not write: Wine's own notepad
// (an Edit; the 64-bit one and, where 32-bit code runs, the 32-bit one) and
// wordpad (a RichEdit20W), each started once and reused across the table of
// texts and methods; then a plain window that takes only keys, and targets
// that hang or are gone.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "palette/insert/insert_into_window_win32.h"
#include "tests/palette/target_program_win32.h"

namespace vxpalette {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Pumps this thread's messages until `condition` holds or `boundMs` passed.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD boundMs) {
  ULONGLONG deadline = GetTickCount64() + boundMs;
  while (!condition()) {
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

// The test's own window stands for the palette: it is in front when an
// insertion starts, as the palette is at the hand-back.
class StandInPalette {
 public:
  StandInPalette() {
    window_ = CreateWindowExW(0, L"STATIC", L"stand-in palette", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
  }
  ~StandInPalette() { DestroyWindow(window_); }
  void ComeToFront() {
    SetForegroundWindow(window_);
    EXPECT_TRUE(PumpUntil([this] { return GetForegroundWindow() == window_; }, 5000));
  }

 private:
  HWND window_;
};

using test_support::NativeNotepad;
using test_support::TargetProgram;
using test_support::WindowsFile;
using test_support::WordPadPath;

// The clipboard as the user left it: a text and a private-data format.
const std::u16string PREVIOUS_TEXT = u"the user's own clipboard";
const std::string PREVIOUS_BYTES("\x01\x02\x00\xFF\x7F", 5);
constexpr char16_t TARGETS_OWN[] = u"set by the target";

UINT TestFormat() { return RegisterClipboardFormatW(L"VxPaletteTestData"); }

void PutGlobal(UINT format, const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  memcpy(GlobalLock(block), data, size);
  GlobalUnlock(block);
  SetClipboardData(format, block);
}

std::string ReadGlobal(UINT format) {
  HANDLE block = GetClipboardData(format);
  if (!block) return "<none>";
  std::string bytes(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
  GlobalUnlock(block);
  return bytes;
}

constexpr DWORD PREVIOUS_PIXELS[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456};

// A 2 x 2 top-down 32-bit picture.
BITMAPINFO SmallPicture() {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = -2;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::vector<DWORD> PixelsOf(HBITMAP bitmap) {
  std::vector<DWORD> pixels(4);
  BITMAPINFO info = SmallPicture();
  HDC dc = GetDC(nullptr);
  if (!bitmap || !GetDIBits(dc, bitmap, 0, 2, pixels.data(), &info, DIB_RGB_COLORS)) pixels.clear();
  ReleaseDC(nullptr, dc);
  return pixels;
}

void SetUsersClipboard(HWND owner) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  PutGlobal(CF_UNICODETEXT, PREVIOUS_TEXT.c_str(), (PREVIOUS_TEXT.size() + 1) * sizeof(char16_t));
  PutGlobal(TestFormat(), PREVIOUS_BYTES.data(), PREVIOUS_BYTES.size());
  BITMAPINFO info = SmallPicture();
  HDC dc = GetDC(nullptr);
  SetClipboardData(CF_BITMAP, CreateDIBitmap(dc, &info.bmiHeader, CBM_INIT, PREVIOUS_PIXELS, &info, DIB_RGB_COLORS));
  ReleaseDC(nullptr, dc);
  CloseClipboard();
}

void ExpectUsersClipboard() {
  ASSERT_TRUE(PumpUntil([] { return OpenClipboard(nullptr) != 0; }, 2000));
  std::string text = ReadGlobal(CF_UNICODETEXT);
  std::string expectedText(reinterpret_cast<const char*>(PREVIOUS_TEXT.c_str()),
                           (PREVIOUS_TEXT.size() + 1) * sizeof(char16_t));
  EXPECT_EQ(text, expectedText);
  EXPECT_EQ(ReadGlobal(TestFormat()).substr(0, PREVIOUS_BYTES.size()), PREVIOUS_BYTES);
  EXPECT_EQ(PixelsOf(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))),
            std::vector<DWORD>(PREVIOUS_PIXELS, PREVIOUS_PIXELS + 4));
  EXPECT_EQ(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")), FALSE);
  CloseClipboard();
}

struct InsertCase {
  const char* name;
  const char16_t* before;
  const char16_t* after;
  DWORD selectionStart;  // in "hello world"
  DWORD selectionEnd;
  const char16_t* expected;
  DWORD editCaret;  // where the caret ends: an Edit counts CR LF as two,
  DWORD richCaret;  // a RichEdit a paragraph end as one
};

constexpr InsertCase INSERT_CASES[] = {
    {"wrap",      u"<B>",            u"</B>",                6,  11, u"hello <B>world</B>",                  14, 14},
    {"lines",     u"<P>\r\n",        u"\r\n</P>",            6,  11, u"hello <P>\r\nworld\r\n</P>",          16, 15},
    {"japanese",  u"ページの先頭へ", u"",                    11, 11, u"hello worldページの先頭へ",           18, 18},
    {"surrogate", u"<B>",            u"\U00020BB7</B>",      0,  5,  u"<B>hello\U00020BB7</B> world",        8,  8},
};

struct MethodRow {
  const char* name;
  InsertMethod method;
};

constexpr MethodRow METHODS[] = {
    {"message",   InsertMethod::Message},
    {"keys",      InsertMethod::Keys},
    {"clipboard", InsertMethod::Clipboard},
};

void RunInsertTable(const TargetProgram& target, bool richEdit) {
  StandInPalette palette;
  HWND clipboardOwner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  for (const MethodRow& method : METHODS) {
    for (const InsertCase& c : INSERT_CASES) {
      SCOPED_TRACE(testing::Message() << method.name << " / " << c.name);
      ASSERT_TRUE(target.Reset(u"hello world", c.selectionStart, c.selectionEnd));
      if (method.method == InsertMethod::Clipboard) SetUsersClipboard(clipboardOwner);
      palette.ComeToFront();
      InsertReport report = InsertIntoWindow(target.Top(), {c.before, c.after}, method.method);
      EXPECT_EQ(report.outcome, InsertOutcome::Inserted);
      EXPECT_EQ(report.used, method.method);
      EXPECT_EQ(target.Text(), std::u16string(c.expected));
      DWORD caret = richEdit ? c.richCaret : c.editCaret;
      EXPECT_EQ(target.Selection(), std::make_pair(caret, caret));
      if (method.method == InsertMethod::Message) {
        target.Undo();
        EXPECT_EQ(target.Text(), u"hello world") << "one undo takes the whole insertion back";
      }
      if (method.method == InsertMethod::Clipboard) ExpectUsersClipboard();
    }
  }
  DestroyWindow(clipboardOwner);
}

// Times one entry by each method on a fresh line, and the keys' rate.
void MeasureMethods(const TargetProgram& target) {
  StandInPalette palette;
  const std::u16string entry = u"<A href=\"\">";
  const std::u16string trail = u"</A>";
  std::u16string longText(200, u'x');
  struct Timed {
    const char* what;
    std::u16string text;
    InsertMethod method;
    bool fromPalette = true;  // otherwise the target is in front already: the message part alone
  };
  const Timed timed[] = {
      {"message, one entry", entry, InsertMethod::Message},
      {"message, already in front", entry, InsertMethod::Message, false},
      {"keys, one entry", entry, InsertMethod::Keys},
      {"clipboard, one entry", entry, InsertMethod::Clipboard},
      {"message, 200 characters", longText, InsertMethod::Message},
      {"keys, 200 characters", longText, InsertMethod::Keys},
      {"clipboard, 200 characters", longText, InsertMethod::Clipboard},
  };
  for (const Timed& t : timed) {
    ASSERT_TRUE(target.Reset(u"", 0, 0));
    if (t.fromPalette) palette.ComeToFront();
    Clock::time_point start = Clock::now();
    InsertReport report = InsertIntoWindow(target.Top(), {t.text, trail}, t.method);
    double ms = MillisecondsSince(start);
    EXPECT_EQ(report.outcome, InsertOutcome::Inserted) << t.what;
    std::printf("[measure] %-26s %8.1f ms (%zu characters)\n", t.what, ms, t.text.size() + trail.size());
  }
}

// A window of a thread of its own that takes only keys, as any control that
// is no Edit: it records a character as itself, a Left press as U+2190 and
// Ctrl+V as the clipboard's text in brackets, with "|private" when the
// formats that keep it out of clipboard history came with it. It can be told
// to stop pumping, as a hung program does, to set the clipboard itself after
// a paste, as another program may, or to hold a focused Edit of a style.
class PlainTarget {
 public:
  explicit PlainTarget(DWORD editStyle = 0) : editStyle_(editStyle) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    hung_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    resume_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] { Run(); });
    WaitForSingleObject(ready_, 10000);
  }
  ~PlainTarget() {
    SetEvent(resume_);
    PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
    CloseHandle(ready_);
    CloseHandle(hung_);
    CloseHandle(resume_);
  }
  HWND Window() const { return window_; }
  HWND Edit() const { return edit_; }
  void TakeClipboardAfterPaste(bool takes) { takesClipboard_ = takes; }
  std::u16string Record() {
    std::lock_guard<std::mutex> lock(mutex_);
    return record_;
  }
  void Forget() {
    std::lock_guard<std::mutex> lock(mutex_);
    record_.clear();
  }
  void Hang() {
    PostMessageW(window_, WM_APP, 0, 0);
    WaitForSingleObject(hung_, 10000);
  }
  void Resume() { SetEvent(resume_); }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PlainTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
      case WM_CHAR: self->OnChar(static_cast<char16_t>(wParam)); return 0;
      case WM_KEYDOWN: self->OnKeyDown(static_cast<UINT>(wParam)); return 0;
      case WM_APP: self->OnHang(); return 0;
      case WM_SETFOCUS: self->OnSetFocus(); return 0;
      case WM_DESTROY: PostQuitMessage(0); return 0;
      default: return DefWindowProcW(window, message, wParam, lParam);
    }
  }
  void Append(const std::u16string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    record_ += text;
  }
  // Control characters but Enter's CR come from chords (Ctrl+V gives 0x16).
  void OnChar(char16_t unit) {
    if (unit >= 0x20 || unit == u'\r') Append(std::u16string(1, unit));
  }
  void OnKeyDown(UINT key) {
    if (key == VK_LEFT) Append(u"\u2190");
    if (key == 'V' && GetKeyState(VK_CONTROL) < 0 && OpenClipboard(window_)) {
      HANDLE block = GetClipboardData(CF_UNICODETEXT);
      const char16_t* text = block ? static_cast<const char16_t*>(GlobalLock(block)) : nullptr;
      Append(u"[" + std::u16string(text ? text : u"<none>") + (HasPrivacyFormats() ? u"|private]" : u"]"));
      if (text) GlobalUnlock(block);
      if (takesClipboard_) TakeOpenClipboard();
      CloseClipboard();
    }
  }
  static bool HasPrivacyFormats() {
    for (const wchar_t* name : {L"ExcludeClipboardContentFromMonitorProcessing", L"CanIncludeInClipboardHistory",
                                L"CanUploadToCloudClipboard"}) {
      if (!IsClipboardFormatAvailable(RegisterClipboardFormatW(name))) return false;
    }
    return true;
  }
  // Before the paste is over, as another program's copy may come at any time.
  static void TakeOpenClipboard() {
    EmptyClipboard();
    PutGlobal(CF_UNICODETEXT, TARGETS_OWN, sizeof(TARGETS_OWN));
  }
  void OnSetFocus() {
    if (edit_) SetFocus(edit_);
  }
  void OnHang() {
    SetEvent(hung_);
    WaitForSingleObject(resume_, 30000);
  }
  void Run() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VxTestPlainTarget";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, L"VxTestPlainTarget", L"plain target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 0,
                              200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (editStyle_) {
      edit_ = CreateWindowExW(0, L"EDIT", L"hello", WS_CHILD | WS_VISIBLE | editStyle_, 0, 0, 100, 20, window_,
                              nullptr, nullptr, nullptr);
    }
    SetEvent(ready_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  DWORD editStyle_;
  HWND edit_ = nullptr;
  bool takesClipboard_ = false;
  HANDLE ready_;
  HANDLE hung_;
  HANDLE resume_;
  HWND window_ = nullptr;
  std::mutex mutex_;
  std::u16string record_;
  std::thread thread_;
};

struct PlainCase {
  const char* name;
  InsertMethod method;
  std::u16string before;
  const char16_t* after;
  InsertMethod used;
  std::u16string record;
  bool targetTakesClipboard = false;  // the previous content must then stay away
};

TEST(InsertIntoWindow, PlainWindowKeysClipboardAndNoTarget) {
  const std::u16string longText(150, u'x');
  const PlainCase cases[] = {
      {"keys",           InsertMethod::Keys,      u"<B>",          u"</B>",        InsertMethod::Keys,
       u"<B></B>\u2190\u2190\u2190\u2190"},
      {"keys, lines",    InsertMethod::Keys,      u"<P>\r\n",      u"\r\n</P>",    InsertMethod::Keys,
       u"<P>\r\r</P>\u2190\u2190\u2190\u2190\u2190"},
      {"keys, pair",     InsertMethod::Keys,      u"\U00020BB7",   u"\U00020BB7",  InsertMethod::Keys,
       u"\U00020BB7\U00020BB7\u2190"},
      {"clipboard",      InsertMethod::Clipboard, u"<B>",          u"</B>",        InsertMethod::Clipboard,
       u"[<B></B>|private]\u2190\u2190\u2190\u2190"},
      {"message, short", InsertMethod::Message,   u"ペ",           u"",            InsertMethod::Keys,     u"ペ"},
      {"auto, long",     InsertMethod::Auto,      longText,        u"",            InsertMethod::Clipboard,
       u"[" + longText + u"|private]"},
      {"clipboard taken", InsertMethod::Clipboard, u"<I>",         u"",            InsertMethod::Clipboard,
       u"[<I>|private]", true},
  };
  StandInPalette palette;
  PlainTarget target;
  HWND clipboardOwner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  for (const PlainCase& c : cases) {
    SCOPED_TRACE(c.name);
    target.Forget();
    target.TakeClipboardAfterPaste(c.targetTakesClipboard);
    SetUsersClipboard(clipboardOwner);
    palette.ComeToFront();
    InsertReport report = InsertIntoWindow(target.Window(), {c.before, c.after}, c.method);
    EXPECT_EQ(report.outcome, InsertOutcome::Inserted);
    EXPECT_EQ(report.used, c.used);
    PumpUntil([&] { return target.Record().size() >= c.record.size(); }, 10000);
    EXPECT_EQ(target.Record(), c.record);
    if (c.targetTakesClipboard) {
      ASSERT_TRUE(OpenClipboard(nullptr));
      EXPECT_EQ(ReadGlobal(CF_UNICODETEXT), std::string(reinterpret_cast<const char*>(TARGETS_OWN), sizeof(TARGETS_OWN)));
      CloseClipboard();
    } else {
      ExpectUsersClipboard();
    }
  }

  // With no target, the text waits on the clipboard for the user, with or
  // without an owner window of the caller's.
  for (HWND owner : {clipboardOwner, HWND{}}) {
    const std::u16string text = u"ページの先頭へ\r\n</A>";
    ASSERT_TRUE(PutTextOnClipboard(owner, text));
    ASSERT_TRUE(OpenClipboard(nullptr));
    std::string bytes = ReadGlobal(CF_UNICODETEXT);
    CloseClipboard();
    std::string expected(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(char16_t));
    EXPECT_EQ(bytes.substr(0, expected.size()), expected);
  }
  DestroyWindow(clipboardOwner);
}

TEST(InsertIntoWindow, HungGoneOrReadOnlyTargetGetsNothing) {
  StandInPalette palette;
  HWND gone = CreateWindowExW(0, L"STATIC", L"gone", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(InsertIntoWindow(nullptr, {u"<B>", u"</B>"}, InsertMethod::Auto).outcome, InsertOutcome::NoTarget);
  EXPECT_EQ(InsertIntoWindow(gone, {u"<B>", u"</B>"}, InsertMethod::Keys).outcome, InsertOutcome::NoTarget);

  PlainTarget target;
  palette.ComeToFront();
  target.Hang();
  for (InsertMethod method : {InsertMethod::Keys, InsertMethod::Clipboard}) {
    Clock::time_point start = Clock::now();
    EXPECT_EQ(InsertIntoWindow(target.Window(), {u"<B>", u"</B>"}, method).outcome, InsertOutcome::TargetHung);
    EXPECT_LT(MillisecondsSince(start), 4000.0) << "the bound is two seconds";
  }
  target.Resume();
  DWORD_PTR ignored;
  SendMessageTimeoutW(target.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  EXPECT_EQ(target.Record(), u"") << "nothing was typed into the hung target";

  // A message would go past the read-only style that typing respects.
  PlainTarget readOnly(ES_READONLY | ES_AUTOHSCROLL);
  palette.ComeToFront();
  for (InsertMethod method : {InsertMethod::Auto, InsertMethod::Message, InsertMethod::Clipboard}) {
    EXPECT_EQ(InsertIntoWindow(readOnly.Window(), {u"<B>", u"</B>"}, method).outcome, InsertOutcome::NotReachable);
  }
  wchar_t text[16] = {};
  GetWindowTextW(readOnly.Edit(), text, 16);
  EXPECT_STREQ(text, L"hello");
}

TEST(InsertIntoWindow, NotepadEveryMethod) {
  // The code page 1252 run says which page it expects, so that it cannot pass on 932 unnoticed.
  const char* page = std::getenv("VX_EXPECT_CODE_PAGE");
  EXPECT_EQ(GetACP(), page ? std::strtoul(page, nullptr, 10) : 932ul);
  TargetProgram notepad(NativeNotepad(), L"Notepad", L"Edit");
  ASSERT_TRUE(notepad.Started());
  EXPECT_FALSE(notepad.Is32BitOn64());
  RunInsertTable(notepad, false);
  MeasureMethods(notepad);
}

TEST(InsertIntoWindow, Notepad32EveryMethod) {
  TargetProgram notepad(WindowsFile(L"syswow64", L"notepad.exe"), L"Notepad", L"Edit");
  if (!notepad.Started()) GTEST_SKIP() << "the 32-bit notepad does not run here";
  EXPECT_TRUE(notepad.Is32BitOn64());
  RunInsertTable(notepad, false);
}

TEST(InsertIntoWindow, WordPadEveryMethod) {
  TargetProgram wordpad(WordPadPath(), L"WORDPADTOP", L"RichEdit20W");
  ASSERT_TRUE(wordpad.Started());
  RunInsertTable(wordpad, true);
}

}  // namespace
}  // namespace vxpalette
