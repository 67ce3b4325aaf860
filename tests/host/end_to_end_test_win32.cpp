// The sample editor with the real add-in: keys in the tag tree reach the
// document. A thread hook records what really arrives at the edit control and
// the host frame, and the record is compared with the expected sequence.
// Texts of this file are code page 932 in the binary.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "protocol/host_protocol.h"
#include "host/document_file_win32.h"
#include "host/editor_frame_win32.h"
#include "host/tag_tree_reader_win32.h"

namespace {

struct Arrival {
  std::string target;  // "edit" or "frame"
  UINT message;
  long long code;
  std::string text;
  bool operator==(const Arrival& o) const {
    return target == o.target && message == o.message && code == o.code && text == o.text;
  }
};

std::ostream& operator<<(std::ostream& out, const Arrival& a) {
  return out << a.target << " " << a.message << " " << a.code << " \"" << a.text << "\"";
}

std::vector<Arrival> Arrivals;
HWND RecordedEdit = nullptr;
HWND RecordedFrame = nullptr;
HWND RecordedTree = nullptr;

LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
  auto* m = reinterpret_cast<CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && m->hwnd == RecordedEdit && m->message == vx::WM_HOST_INSERT) {
    Arrivals.push_back({"edit", m->message, static_cast<std::int32_t>(m->wParam),
                        m->lParam ? reinterpret_cast<const char*>(m->lParam) : ""});
  } else if (code == HC_ACTION && m->hwnd == RecordedFrame && m->message == WM_ACTIVATE &&
             reinterpret_cast<HWND>(m->lParam) == RecordedTree) {
    // Only the add-in's hand-back names the tree; the window system's own
    // activations of the frame are not part of the protocol.
    Arrivals.push_back({"frame", m->message, static_cast<long long>(m->wParam), ""});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct EndToEndTest : ::testing::Test {
  TApplication app{GetModuleHandleA(nullptr)};
  vxhost::TEditorFrame* frame = nullptr;
  HHOOK hook = nullptr;
  HWND tree = nullptr;

  void SetUp() override {
    const char* root = std::getenv("VX_SOURCE_DIR");
    std::string definition = std::string(root ? root : "") + "\\host\\sample.def";
    frame = new vxhost::TEditorFrame(definition.c_str());
    frame->SetInteractive(false);
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    ASSERT_TRUE(frame->OpenTagWindow());
    app.PumpWaitingMessages();
    HWND tagWindow = frame->FindTagWindow();
    ASSERT_NE(tagWindow, nullptr);
    tree = vxhost::FindTagTree(tagWindow);
    ASSERT_NE(tree, nullptr);
    RecordedEdit = frame->EditWindow();
    RecordedFrame = frame->GetHandle();
    RecordedTree = tree;
    hook = SetWindowsHookExA(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    if (hook) UnhookWindowsHookEx(hook);
  }

  void PressEnterOn(const char* label) {
    HTREEITEM item = vxhost::FindItemByCaption(tree, label);
    ASSERT_NE(item, nullptr) << label;
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SendMessageA(tree, WM_KEYDOWN, VK_RETURN, 1);
    app.PumpWaitingMessages();
  }
  std::string WithCaret() {
    SendMessageA(frame->EditWindow(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("|"));
    return vxhost::EditText(frame->EditWindow());
  }
};

TEST_F(EndToEndTest, EnterOnParagraphLeavesThePairWithTheCaretInsideAndTheFocusInTheDocument) {
  PressEnterOn("段落　<P>");
  const long long handBack = WA_CLICKACTIVE;
  EXPECT_EQ(Arrivals, (std::vector<Arrival>{{"edit", vx::WM_HOST_INSERT, 0, "<P>"},
                                            {"edit", vx::WM_HOST_INSERT, 1, "</P>"},
                                            {"frame", WM_ACTIVATE, handBack, ""}}));
  EXPECT_EQ(GetFocus(), frame->EditWindow());
  EXPECT_EQ(WithCaret(), "<P>|</P>");
}

TEST_F(EndToEndTest, SampleEntryInsertsItsStoredTextAndTheToggleClosesTheTagWindow) {
  PressEnterOn("ページの先頭へ");
  EXPECT_EQ(WithCaret(), "<A HREF=\"#top\">ページの先頭へ</A>|");

  frame->ToggleTagWindow();
  app.PumpWaitingMessages();
  EXPECT_EQ(frame->FindTagWindow(), nullptr);
  frame->ToggleTagWindow();  // the deleted object let a new one open
  app.PumpWaitingMessages();
  EXPECT_NE(frame->FindTagWindow(), nullptr);
}

}  // namespace
