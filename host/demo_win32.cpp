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
  Step Kind;
  const char* Text;  // the tree label to activate, or the text to type
};

// The labels are what a user sees in the tag tree; the last one is an entry of
// the sample definition file.
static constexpr DemoAction kScript[] = {
    {Step::OpenTagWindow,     nullptr},
    {Step::Activate,          "段落　<P>"},
    {Step::Type,              "Tags typed by keyboard"},
    {Step::Activate,          "改行　<BR>"},
    {Step::Type,              "from the tag window. "},
    {Step::Activate,          "ページの先頭へ"},
    {Step::Save,              nullptr},
    {Step::WaitForScreenshot, nullptr},
    {Step::Finish,            nullptr},
};

constexpr UINT kNextStep = WM_APP + 10;
constexpr UINT_PTR kPollTimer = 1;
constexpr int kMaxKeysPerActivation = 400;
constexpr int kMaxPolls = 600;  // 200 ms each
constexpr int kMaxTreeItems = 5000;

int ExitCode = 1;
// Where "vxhost-messagebox" goes when a dialog stops the script.
std::string MessageBoxReport;

// The id of a message box's text, in Wine as in Windows.
constexpr int kMessageBoxTextId = 0xFFFF;

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Pre-order position of the caret and of the item labelled label, so that the
// script knows whether the target lies above or below the caret.
struct CaretAndTarget {
  HTREEITEM Caret;
  HTREEITEM Target = nullptr;
  int CaretIndex = -1;
  int TargetIndex = -1;
};

CaretAndTarget Locate(HWND tree, const char* label) {
  CaretAndTarget at{NextItem(tree, nullptr, TVGN_CARET)};
  int count = 0;
  FindInPreOrder(tree, [&](HTREEITEM item) {
    const int index = count++;
    if (item == at.Caret) at.CaretIndex = index;
    if (!at.Target && ItemCaption(tree, item) == label) {
      at.Target = item;
      at.TargetIndex = index;
    }
    return count >= kMaxTreeItems;
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
      : TWindow(&frame), Frame(frame), DocumentPath(std::move(documentPath)), OutDir(std::move(outDir)) {
    Attr.Style = WS_CHILD;  // invisible; a child so that it is never taken for the tag window
  }

  void Post() { PostMessageA(GetHandle(), kNextStep, 0, 0); }

  static const TResponseTable& ResponseTable() {
    static constexpr TResponseEntry rows[] = {
        {kNextStep, Respond<&TDemoDriver::EvNextStep>},
        {WM_TIMER,  Respond<&TDemoDriver::EvTimer>},
    };
    static constexpr TResponseTable table{rows, sizeof rows / sizeof rows[0], &TWindow::ResponseTable};
    return table;
  }

 protected:
  const TResponseTable& Responses() const override { return ResponseTable(); }

 private:
  LRESULT EvNextStep(WPARAM, LPARAM) {
    Run();
    return 0;
  }

  LRESULT EvTimer(WPARAM, LPARAM) {
    if (FileExists(OutDir + "\\vxhost-done") || ++Polls >= kMaxPolls) {
      KillTimer(GetHandle(), kPollTimer);
      Advance();
    }
    return 0;
  }

  void Advance() {
    ++Index;
    Keys = 0;
    Post();
  }

  void Fail(const char* what) {
    std::fprintf(stderr, "vxhost demo: %s\n", what);
    Failed = true;
    // The screenshot still shows how far it got.
    Index = sizeof kScript / sizeof kScript[0] - 2;
    static_assert(kScript[sizeof kScript / sizeof kScript[0] - 2].Kind == Step::WaitForScreenshot);
    Post();
  }

  void Run() {
    if (Index >= sizeof kScript / sizeof kScript[0]) return;
    const DemoAction& action = kScript[Index];
    switch (action.Kind) {
      case Step::OpenTagWindow:
        if (!Frame.OpenTagWindow()) return Fail("the tag window did not open (is vxhtml.dll beside vxhost.exe?)");
        return Advance();
      case Step::Activate:
        return PressTowards(action.Text);
      case Step::Type:
        for (const char* c = action.Text; *c; ++c) {
          PostMessageA(Frame.EditWindow(), WM_CHAR, static_cast<unsigned char>(*c), 1);
        }
        return Advance();
      case Step::Save:
        if (!Frame.SaveDocument(DocumentPath.c_str())) return Fail("the document could not be saved");
        Saved = true;
        return Advance();
      case Step::WaitForScreenshot: {
        ShowBothWindows();
        if (!ReportReady()) return Fail("vxhost-ready could not be written");
        SetTimer(GetHandle(), kPollTimer, 200, nullptr);
        return;
      }
      case Step::Finish:
        ExitCode = Saved && !Failed ? 0 : 1;
        Frame.Link().Close();
        PostMessageA(Frame.GetHandle(), WM_CLOSE, 0, 0);
        ++Index;
        return;
    }
  }

  // The tag window docks inside the editor's right quarter; without a window
  // manager the editor's activation can stack it below the editor. Raised
  // without activation, the document keeps its caret, and both are painted
  // before the screenshot is called for.
  void ShowBothWindows() {
    const UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    RedrawWindow(Frame.GetHandle(), nullptr, nullptr, redraw);
    if (HWND tagWindow = Frame.FindTagWindow()) {
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
    GetWindowRect(Frame.GetHandle(), &both);
    RECT tag;
    if (HWND tagWindow = Frame.FindTagWindow(); tagWindow && GetWindowRect(tagWindow, &tag)) {
      UnionRect(&both, &both, &tag);
    }
    const std::string ready = OutDir + "\\vxhost-ready";
    FILE* file = std::fopen((ready + ".part").c_str(), "wb");
    if (!file) return false;
    const bool written = std::fprintf(file, "%ld %ld %ld %ld\n", both.left, both.top, both.right, both.bottom) > 0;
    return std::fclose(file) == 0 && written && MoveFileA((ready + ".part").c_str(), ready.c_str());
  }

  // One key per step, each step queued behind the key it sent, so that the
  // tree has moved before the next decision.
  void PressTowards(const char* label) {
    HWND tree = FindTagTree(Frame.FindTagWindow());
    if (!tree) return Fail("no tag tree");
    if (Keys == 0) Frame.OpenTagWindow();  // brings the tag window forward, as a user would
    const CaretAndTarget walk = Locate(tree, label);
    if (!walk.Target) return Fail("an entry of the script is missing from the tag tree");
    if (++Keys > kMaxKeysPerActivation) return Fail("the caret never reached its entry");

    if (walk.Caret == walk.Target) {
      PressKey(tree, VK_RETURN);
      std::fprintf(stderr, "vxhost demo: Enter on an entry after %d keys\n", Keys - 1);
      return Advance();
    }
    bool expanded = SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(walk.Caret), TVIS_EXPANDED) &
                    TVIS_EXPANDED;
    if (walk.Caret && IsAncestor(tree, walk.Caret, walk.Target) && !expanded) {
      PressKey(tree, VK_RIGHT);
    } else if (walk.CaretIndex < walk.TargetIndex) {
      PressKey(tree, VK_DOWN);
    } else {
      PressKey(tree, VK_UP);
    }
    Post();
  }

  TEditorFrame& Frame;
  std::string DocumentPath;
  std::string OutDir;
  std::size_t Index = 0;
  int Keys = 0;
  int Polls = 0;
  bool Saved = false;
  bool Failed = false;
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
      GetDlgItemTextA(window, kMessageBoxTextId, text, sizeof text);
      if (FILE* report = std::fopen(MessageBoxReport.c_str(), "wb")) {
        std::fprintf(report, "%s: %s\n", caption, text);
        std::fclose(report);
      }
      std::fprintf(stderr, "vxhost demo: a dialog came up and stopped the script: %s: %s\n", caption, text);
      std::fflush(stderr);
      ExitProcess(kDialogExitCode);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool StartDemo(TEditorFrame& frame, const std::string& documentPath, const std::string& outDir) {
  auto* driver = new TDemoDriver(frame, documentPath, outDir);  // a child object: the frame deletes it
  if (!driver->Create()) return false;
  frame.SetInteractive(false);
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
