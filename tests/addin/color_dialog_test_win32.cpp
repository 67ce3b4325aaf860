// The real colour dialog against what the host may do while it is up: close
// the tag window, destroy its own frame, or let a second activation reach a
// tree that an owner-less dialog left enabled.
// Texts of this file are code page 932 in the binary.
#include <functional>
#include <string>
#include <vector>

#include "protocol/host_protocol.h"
#include "protocol/messages.h"
#include "tests/addin/addin_host_win32.h"

namespace vx::test {
namespace {

const char TABLE_BACKGROUND[] = "表の背景色　<TABLE BGCOLOR=\"#\">";
const char CELL_BACKGROUND[] = "ﾃﾞｰﾀｾﾙの背景色　<TD BGCOLOR=\"#\" SIZE=\"\">";
const char PARAGRAPH[] = "段落　<P>";


// An edit window that outlives the host frame and records what reaches it.
std::vector<std::string> LoneEditInserts;
WNDPROC LoneEditProcedure = nullptr;
LRESULT CALLBACK LoneEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOST_INSERT) {
    const char* text = reinterpret_cast<const char*>(lParam);
    LoneEditInserts.push_back(text ? text : "");
    return 0;
  }
  return CallWindowProcA(LoneEditProcedure, window, message, wParam, lParam);
}

class ColourDialogWhileHostActs : public AddinHost {
 protected:
  void SetUp() override {
    AddinHost::SetUp();
    Messages().Watch({WM_HOST_INSERT, WM_ACTIVATE});
  }
  // Focus hand-backs the host frame received: WM_ACTIVATE with WA_CLICKACTIVE.
  int HandBacks() {
    int count = 0;
    for (const test_support::Msg& m : Messages().Recorded())
      count += m.role == test_support::Role::Host && m.message == WM_ACTIVATE && m.wParam == WA_CLICKACTIVE;
    return count;
  }
  // The insert requests the edit window received.
  std::vector<test_support::Msg> Inserts() {
    std::vector<test_support::Msg> inserts;
    for (const test_support::Msg& m : Messages().Recorded())
      if (m.role == test_support::Role::Edit && m.message == WM_HOST_INSERT) inserts.push_back(m);
    return inserts;
  }
  // Enter on a colour tag, with the focus where the host left it.
  void ActivateWithFocusOn(HWND focus, const char* caption) {
    const HTREEITEM item = FindItem(caption);
    ASSERT_NE(item, nullptr) << caption;
    SetFocus(focus);
    PressEnterOn(item);
  }
};

// The tag window closed by the host while the dialog is up: owned by the tree,
// the dialog dies with it; owned by another window, it may still be accepted.
// Either way nothing is inserted and no hand-back names the dead tree.
TEST_F(ColourDialogWhileHostActs, AClosedTagWindowGetsNothingAfterTheDialog) {
  for (bool ownedByTree : {true, false}) {
    SCOPED_TRACE(ownedByTree);
    ASSERT_TRUE(Open());
    Pump();
    Messages().Clear();
    const HWND tree = Tree();
    ColourDialogScript script([&] { CloseRequest(); }, IDOK);
    ActivateWithFocusOn(ownedByTree ? tree : edit, TABLE_BACKGROUND);
    EXPECT_TRUE(script.ran) << "the colour dialog did not come up";
    EXPECT_FALSE(script.TimedOut());
    EXPECT_FALSE(IsWindow(tree));
    const std::vector<test_support::Msg> inserts = Inserts();
    EXPECT_TRUE(inserts.empty()) << inserts.size() << " inserts, the first " << (inserts.empty() ? "" : inserts[0].text);
    EXPECT_EQ(HandBacks(), 0);
    Pump();
  }

  // The next tag window inserts as before.
  ASSERT_TRUE(Open());
  Pump();
  Messages().Clear();
  ColourDialogScript script([] {}, IDCANCEL);
  ActivateWithFocusOn(Tree(), TABLE_BACKGROUND);
  const std::vector<test_support::Msg> inserts = Inserts();
  ASSERT_FALSE(inserts.empty());
  EXPECT_EQ(inserts[0].text, "<TABLE BGCOLOR=\"#\">");
  EXPECT_EQ(HandBacks(), 1);
}

// The host frame destroyed while the dialog is up takes the tag window with
// it. An edit window that survives it receives nothing, whether the dialog
// died with the tree or, owner-less, was accepted afterwards.
TEST_F(ColourDialogWhileHostActs, ADestroyedHostFrameGetsNothingAfterTheDialog) {
  for (bool ownerless : {false, true}) {
    SCOPED_TRACE(ownerless);
    if (ownerless) {
      // A new host frame for the second round.
      TearDown();
      SetUp();
    }
    HWND loneEdit = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    LoneEditProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(loneEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LoneEdit)));
    LoneEditInserts.clear();
    ASSERT_TRUE(OpenWith(loneEdit, ""));
    Pump();
    const HWND tree = Tree();
    const HWND host = HostHandle();
    ColourDialogScript script([&] { DestroyWindow(host); }, IDOK);
    ActivateWithFocusOn(ownerless ? nullptr : tree, TABLE_BACKGROUND);
    EXPECT_TRUE(script.ran) << "the colour dialog did not come up";
    EXPECT_FALSE(script.TimedOut());
    EXPECT_FALSE(IsWindow(host));
    EXPECT_FALSE(IsWindow(tree));
    EXPECT_TRUE(LoneEditInserts.empty()) << LoneEditInserts.size() << " inserts";
    DestroyWindow(loneEdit);
  }
}

// With no focus at the activation the dialog has no owner and the tree stays
// enabled: Enter on it meanwhile opens no second dialog and inserts nothing;
// the first dialog's answer is inserted once, with one hand-back.
TEST_F(ColourDialogWhileHostActs, AnActivationDuringTheDialogDoesNothing) {
  ASSERT_TRUE(Open());
  Pump();
  Messages().Clear();
  const HWND tree = Tree();
  bool treeEnabled = false;
  ColourDialogScript script(
      [&] {
        treeEnabled = IsWindowEnabled(tree) != FALSE;
        PressEnterOn(FindItem(CELL_BACKGROUND));
        PressEnterOn(FindItem(PARAGRAPH));
      },
      IDOK);
  ActivateWithFocusOn(nullptr, TABLE_BACKGROUND);
  EXPECT_TRUE(script.ran) << "the colour dialog did not come up";
  EXPECT_FALSE(script.TimedOut());
  EXPECT_TRUE(treeEnabled) << "the case needs a tree the dialog left enabled";
  EXPECT_EQ(script.dialogs, 1) << "a second dialog opened inside the first";
  const std::vector<test_support::Msg> inserts = Inserts();
  ASSERT_FALSE(inserts.empty());
  EXPECT_EQ(static_cast<InsertCode>(inserts[0].wParam), InsertLead);
  EXPECT_EQ(inserts[0].text.rfind("<TABLE BGCOLOR=\"#", 0), 0u) << inserts[0].text;
  for (const test_support::Msg& insert : inserts) {
    EXPECT_EQ(insert.text.find("<TD"), std::string::npos);
    EXPECT_EQ(insert.text.find("<P>"), std::string::npos);
  }
  EXPECT_EQ(HandBacks(), 1);
}

}  // namespace
}  // namespace vx::test
