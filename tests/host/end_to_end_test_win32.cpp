// The sample editor with the real add-in: keys in the tag tree reach the
// document. What really arrives at the edit control and the host frame is
// recorded and compared with the expected sequence.
// Texts of this file are code page 932 in the binary.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "protocol/host_protocol.h"
#include "host/document_file_win32.h"
#include "host/editor_frame_win32.h"
#include "host/tag_tree_reader_win32.h"
#include "tests/win32/message_recorder_win32.h"

namespace {

using vx::test::Msg;
using vx::test::Role;

struct EndToEndTest : ::testing::Test {
  TApplication App{GetModuleHandleA(nullptr)};
  vxhost::TEditorFrame* Frame = nullptr;
  std::unique_ptr<vx::test::MessageRecorder> Recorder;
  HWND Tree = nullptr;

  void SetUp() override {
    const char* root = std::getenv("VX_SOURCE_DIR");
    std::string definition = std::string(root ? root : "") + "\\host\\sample.def";
    Frame = new vxhost::TEditorFrame(definition.c_str());
    Frame->SetInteractive(false);
    App.SetMainWindow(Frame);
    ASSERT_TRUE(Frame->Create());
    ASSERT_TRUE(Frame->OpenTagWindow());
    App.PumpWaitingMessages();
    HWND tagWindow = Frame->FindTagWindow();
    ASSERT_NE(tagWindow, nullptr);
    Tree = vxhost::FindTagTree(tagWindow);
    ASSERT_NE(Tree, nullptr);
    Recorder = std::make_unique<vx::test::MessageRecorder>(
        std::initializer_list<std::pair<HWND, Role>>{{Frame->EditWindow(), Role::Edit},
                                                     {Frame->GetHandle(), Role::Host},
                                                     {tagWindow, Role::Tag}},
        std::vector<UINT>{vx::WM_HOST_INSERT, WM_ACTIVATE});
  }
  void TearDown() override { Recorder.reset(); }

  void PressEnterOn(const char* label) {
    HTREEITEM item = vxhost::FindItemByCaption(Tree, label);
    ASSERT_NE(item, nullptr) << label;
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SendMessageA(Tree, WM_KEYDOWN, VK_RETURN, 1);
    App.PumpWaitingMessages();
  }
  std::string WithCaret() {
    SendMessageA(Frame->EditWindow(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("|"));
    return vxhost::EditText(Frame->EditWindow());
  }
};

TEST_F(EndToEndTest, EnterOnParagraphLeavesThePairWithTheCaretInsideAndTheFocusInTheDocument) {
  PressEnterOn("段落　<P>");
  // The window system's own activations follow the hand-back: not part of the protocol.
  EXPECT_TRUE(Recorder->Matches({vx::test::Insert(vx::InsertLead, "<P>"),
                                 vx::test::Insert(vx::InsertTrail, "</P>"), vx::test::HandBack(Tree),
                                 Msg(Role::Tag, WM_ACTIVATE, WA_INACTIVE).Optional(),
                                 Msg(Role::Host, WM_ACTIVATE, WA_ACTIVE).Optional()}));
  EXPECT_EQ(GetFocus(), Frame->EditWindow());
  EXPECT_EQ(WithCaret(), "<P>|</P>");
}

TEST_F(EndToEndTest, SampleEntryInsertsItsStoredTextAndTheToggleClosesTheTagWindow) {
  PressEnterOn("ページの先頭へ");
  EXPECT_EQ(WithCaret(), "<A HREF=\"#top\">ページの先頭へ</A>|");

  Frame->ToggleTagWindow();
  App.PumpWaitingMessages();
  EXPECT_EQ(Frame->FindTagWindow(), nullptr);
  Frame->ToggleTagWindow();  // the deleted object let a new one open
  App.PumpWaitingMessages();
  EXPECT_NE(Frame->FindTagWindow(), nullptr);
}

}  // namespace
