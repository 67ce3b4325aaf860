// The sample editor with the real add-in: keys in the tag tree reach the
// document. What really arrives at the edit control and the host frame is
// recorded and compared with the expected sequence.
// Texts of this file are code page 932 in the binary.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "protocol/host_protocol.h"
#include "host/document_file_win32.h"
#include "host/editor_frame_win32.h"
#include "tests/host/test_prompt_win32.h"
#include "tests/host/find_item_win32.h"
#include "tests/win32/message_recorder_win32.h"

namespace {

using vx::test_support::HandBack;
using vx::test_support::Insert;
using vx::test_support::Msg;
using vx::test_support::Role;

struct EndToEndTest : ::testing::Test {
  vx::test_support::TestPrompt prompt;  // before the application, which deletes the frame
  TApplication app{GetModuleHandleA(nullptr)};
  vxhost::TEditorFrame* frame = nullptr;
  std::unique_ptr<vx::test_support::MessageRecorder> recorder;
  HWND tree = nullptr;

  void SetUp() override {
    frame = new vxhost::TEditorFrame(vxhost::BesideProgram(vxhost::DEFAULT_DEFINITION_FILE).c_str(), prompt);
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    ASSERT_TRUE(frame->OpenTagWindow());
    app.PumpWaitingMessages();
    HWND tagWindow = frame->FindTagWindow();
    ASSERT_NE(tagWindow, nullptr);
    tree = vxhost::FindTagTree(tagWindow);
    ASSERT_NE(tree, nullptr);
    recorder = std::make_unique<vx::test_support::MessageRecorder>(
        std::initializer_list<std::pair<HWND, Role>>{{frame->EditWindow(), Role::Edit},
                                                     {frame->GetHandle(), Role::Host},
                                                     {tagWindow, Role::Tag}},
        std::vector<UINT>{vx::WM_HOST_INSERT, WM_ACTIVATE});
  }
  void TearDown() override { recorder.reset(); }

  void PressEnterOn(const char* label) {
    HTREEITEM item = vx::test_support::FindItemByCaption(tree, label);
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
  // The window system's own activations follow the hand-back: not part of the protocol.
  EXPECT_TRUE(recorder->Matches({Insert(vx::InsertLead, "<P>"), Insert(vx::InsertTrail, "</P>"), HandBack(tree),
                                 Msg(Role::Tag, WM_ACTIVATE, WA_INACTIVE).Optional(),
                                 Msg(Role::Host, WM_ACTIVATE, WA_ACTIVE).Optional()}));
  EXPECT_EQ(GetFocus(), frame->EditWindow());
  EXPECT_EQ(WithCaret(), "<P>|</P>");
}

TEST_F(EndToEndTest, LibraryEntryInsertsItsStoredTextAndTheToggleClosesTheTagWindow) {
  PressEnterOn("ページの先頭へ");
  EXPECT_EQ(WithCaret(), "<a href=\"#top\">ページの先頭へ</a>|");

  frame->ToggleTagWindow();
  app.PumpWaitingMessages();
  EXPECT_EQ(frame->FindTagWindow(), nullptr);
  frame->ToggleTagWindow();  // the deleted object let a new one open
  app.PumpWaitingMessages();
  EXPECT_NE(frame->FindTagWindow(), nullptr);
}

}  // namespace
