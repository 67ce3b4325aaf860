// Texts of this file are code page 932 in the binary (vx_cp932_sources).
#include "host/demo_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "host/tag_tree_reader_win32.h"

namespace vxhost {
namespace {

enum class Step { OpenTagWindow, Activate, Type, Save, WaitForScreenshot, Finish };

struct DemoAction {
  Step kind;
  const char* text;  // the tree label to activate, or the text to type
};

// The labels are what a user sees in the tag tree: built-in entries between
// two of the shipped HTML5 library's, so that the picture shows both.
static constexpr DemoAction SCRIPT[] = {
    {Step::OpenTagWindow,     nullptr},
    {Step::Activate,          "文書型宣言　<!DOCTYPE html>"},
    {Step::Type,              "\r"},
    {Step::Activate,          "段落　<P>"},
    {Step::Type,              "Tags typed by keyboard"},
    {Step::Activate,          "改行　<BR>"},
    {Step::Type,              "from the tag window. "},
    {Step::Activate,          "ページの先頭へ"},
    {Step::Save,              nullptr},
    {Step::WaitForScreenshot, nullptr},
    {Step::Finish,            nullptr},
};

constexpr UINT NEXT_STEP = WM_APP + 10;
constexpr UINT_PTR POLL_TIMER = 1;
constexpr int MAX_KEYS_PER_ACTIVATION = 400;
constexpr int MAX_POLLS = 600;  // 200 ms each
constexpr int MAX_TREE_ITEMS = 5000;

int ExitCode = 1;
// Where "vxhost-messagebox" goes when a dialog stops the script.
std::string MessageBoxReport;

// The id of a message box's text, in Wine as in Windows.
constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Pre-order position of the caret and of the item labelled label, so that the
// script knows whether the target lies above or below the caret.
struct CaretAndTarget {
  HTREEITEM caret;
  HTREEITEM target = nullptr;
  int caretIndex = -1;
  int targetIndex = -1;
};

CaretAndTarget Locate(HWND tree, const char* label) {
  CaretAndTarget at{NextItem(tree, nullptr, TVGN_CARET)};
  int count = 0;
  FindInPreOrder(tree, [&](HTREEITEM item) {
    const int index = count++;
    if (item == at.caret) at.caretIndex = index;
    if (!at.target && ItemCaption(tree, item) == label) {
      at.target = item;
      at.targetIndex = index;
    }
    return count >= MAX_TREE_ITEMS;
  });
  return at;
}

bool IsAncestor(HWND tree, HTREEITEM candidate, HTREEITEM item) {
  for (HTREEITEM p = NextItem(tree, item, TVGN_PARENT); p; p = NextItem(tree, p, TVGN_PARENT)) {
    if (p == candidate) return true;
  }
  return false;
}

void PressKey(HWND target, WPARAM key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

class TDemoDriver : public TWindow {
 public:
  TDemoDriver(TEditorFrame& frame, std::string documentPath, std::string outDir)
      : TWindow(&frame), frame_(frame), documentPath_(std::move(documentPath)), outDir_(std::move(outDir)) {
    attr.style = WS_CHILD;  // invisible; a child so that it is never taken for the tag window
  }

  void Post() { PostMessageA(GetHandle(), NEXT_STEP, 0, 0); }

  static const TResponseTable& ResponseTable() {
    static constexpr TResponseEntry ROWS[] = {
        {NEXT_STEP, Respond<&TDemoDriver::EvNextStep>},
        {WM_TIMER,  Respond<&TDemoDriver::EvTimer>},
    };
    static constexpr TResponseTable TABLE = MakeResponseTable(ROWS, &TWindow::ResponseTable);
    return TABLE;
  }

 protected:
  const TResponseTable& Responses() const override { return ResponseTable(); }

 private:
  LRESULT EvNextStep(WPARAM, LPARAM) {
    Run();
    return 0;
  }

  LRESULT EvTimer(WPARAM, LPARAM) {
    if (FileExists(outDir_ + "\\vxhost-done") || ++polls_ >= MAX_POLLS) {
      KillTimer(GetHandle(), POLL_TIMER);
      Advance();
    }
    return 0;
  }

  void Advance() {
    ++index_;
    keys_ = 0;
    Post();
  }

  void Fail(const char* what) {
    std::fprintf(stderr, "vxhost demo: %s\n", what);
    failed_ = true;
    // The screenshot still shows how far it got.
    index_ = sizeof SCRIPT / sizeof SCRIPT[0] - 2;
    static_assert(SCRIPT[sizeof SCRIPT / sizeof SCRIPT[0] - 2].kind == Step::WaitForScreenshot);
    Post();
  }

  void Run() {
    if (index_ >= sizeof SCRIPT / sizeof SCRIPT[0]) return;
    const DemoAction& action = SCRIPT[index_];
    switch (action.kind) {
      case Step::OpenTagWindow:
        if (!frame_.OpenTagWindow()) return Fail("the tag window did not open (is vxhtml.dll beside vxhost.exe?)");
        return Advance();
      case Step::Activate:
        return PressTowards(action.text);
      case Step::Type:
        for (const char* c = action.text; *c; ++c) {
          PostMessageA(frame_.EditWindow(), WM_CHAR, static_cast<unsigned char>(*c), 1);
        }
        return Advance();
      case Step::Save:
        if (!frame_.SaveDocument(WidePath(documentPath_).c_str())) return Fail("the document could not be saved");
        saved_ = true;
        return Advance();
      case Step::WaitForScreenshot: {
        ShowBothWindows();
        if (!ReportReady()) return Fail("vxhost-ready could not be written");
        SetTimer(GetHandle(), POLL_TIMER, 200, nullptr);
        return;
      }
      case Step::Finish:
        ExitCode = saved_ && !failed_ ? 0 : 1;
        frame_.Link().Close();
        PostMessageA(frame_.GetHandle(), WM_CLOSE, 0, 0);
        ++index_;
        return;
    }
  }

  // The tag window docks inside the editor's right quarter; without a window
  // manager the editor's activation can stack it below the editor. Raised
  // without activation, the document keeps its caret, and both are painted
  // before the screenshot is called for.
  void ShowBothWindows() {
    const UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    RedrawWindow(frame_.GetHandle(), nullptr, nullptr, redraw);
    if (HWND tagWindow = frame_.FindTagWindow()) {
      SetWindowPos(tagWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      RedrawWindow(tagWindow, nullptr, nullptr, redraw);
    }
    GdiFlush();
  }

  // "vxhost-ready" holds the screen rectangle around the editor and the tag
  // window (left top right bottom), for the screenshot to be cut to; it is
  // written aside and renamed, so that it is never seen half written.
  bool ReportReady() {
    RECT both = {};
    GetWindowRect(frame_.GetHandle(), &both);
    RECT tag;
    if (HWND tagWindow = frame_.FindTagWindow(); tagWindow && GetWindowRect(tagWindow, &tag)) {
      UnionRect(&both, &both, &tag);
    }
    const std::string ready = outDir_ + "\\vxhost-ready";
    FILE* file = std::fopen((ready + ".part").c_str(), "wb");
    if (!file) return false;
    const bool written = std::fprintf(file, "%ld %ld %ld %ld\n", both.left, both.top, both.right, both.bottom) > 0;
    return std::fclose(file) == 0 && written && MoveFileA((ready + ".part").c_str(), ready.c_str());
  }

  // One key per step, each step queued behind the key it sent, so that the
  // tree has moved before the next decision.
  void PressTowards(const char* label) {
    HWND tree = FindTagTree(frame_.FindTagWindow());
    if (!tree) return Fail("no tag tree");
    if (keys_ == 0) frame_.OpenTagWindow();  // brings the tag window forward, as a user would
    const CaretAndTarget walk = Locate(tree, label);
    if (!walk.target) return Fail("an entry of the script is missing from the tag tree");
    if (++keys_ > MAX_KEYS_PER_ACTIVATION) return Fail("the caret never reached its entry");

    if (walk.caret == walk.target) {
      PressKey(tree, VK_RETURN);
      std::fprintf(stderr, "vxhost demo: Enter on an entry after %d keys\n", keys_ - 1);
      return Advance();
    }
    bool expanded = SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(walk.caret), TVIS_EXPANDED) &
                    TVIS_EXPANDED;
    if (walk.caret && IsAncestor(tree, walk.caret, walk.target) && !expanded) {
      PressKey(tree, VK_RIGHT);
    } else if (walk.caretIndex < walk.targetIndex) {
      PressKey(tree, VK_DOWN);
    } else {
      PressKey(tree, VK_UP);
    }
    Post();
  }

  TEditorFrame& frame_;
  std::string documentPath_;
  std::string outDir_;
  std::size_t index_ = 0;
  int keys_ = 0;
  int polls_ = 0;
  bool saved_ = false;
  bool failed_ = false;
};

// The script shows no dialog of its own, so any dialog that comes up (such as
// a message box of the add-in) would wait for a click that never comes: it is
// reported, caption and text, and the editor ends at once.
LRESULT CALLBACK StopAtDialog(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) {
      char caption[256] = "";
      char text[1024] = "";
      GetWindowTextA(window, caption, sizeof caption);
      GetDlgItemTextA(window, MESSAGE_BOX_TEXT_ID, text, sizeof text);
      if (FILE* report = std::fopen(MessageBoxReport.c_str(), "wb")) {
        std::fprintf(report, "%s: %s\n", caption, text);
        std::fclose(report);
      }
      std::fprintf(stderr, "vxhost demo: a dialog came up and stopped the script: %s: %s\n", caption, text);
      std::fflush(stderr);
      ExitProcess(DIALOG_EXIT_CODE);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool StartDemo(TEditorFrame& frame, const std::string& documentPath, const std::string& outDir) {
  auto* driver = new TDemoDriver(frame, documentPath, outDir);  // a child object: the frame deletes it
  if (!driver->Create()) return false;
  if (!StopAtDialogs(outDir + "\\vxhost-messagebox")) return false;
  driver->Post();
  return true;
}

bool StopAtDialogs(const std::string& reportPath) {
  MessageBoxReport = reportPath;
  return SetWindowsHookExA(WH_CBT, StopAtDialog, nullptr, GetCurrentThreadId()) != nullptr;
}

int DemoExitCode() { return ExitCode; }

}  // namespace vxhost
