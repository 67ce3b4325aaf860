// Keys and double-clicks sent to a real tag tree, and what reaches the
// stand-in edit window and host frame.
#include "tests/tree/tree_fixture_win32.h"
#include "tests/tree/model_fill.h"

#include "catalogue/catalogue.h"

#include <cstring>

namespace vx {
namespace {

using test_support::HandBack;
using test_support::Insert;

class Win32Activation : public test_support::Win32TreeTest {
 protected:
  void SetUp() override {
    Win32TreeTest::SetUp();
    HINSTANCE self = GetModuleHandleA(nullptr);
    tree_ = CreateTagTree(ctx_, parent_, self);
    ASSERT_NE(tree_, nullptr);
    FillTagTree(ctx_, tree_, self, file_.path());
    recorder_->Clear();
  }

  HTREEITEM Entry(std::int32_t id) { return reinterpret_cast<HTREEITEM>(CatalogueEntry(id)->treeItem); }
  HTREEITEM Category(int k) { return reinterpret_cast<HTREEITEM>(ctx_.categoryItems[k]); }
  HTREEITEM Caret() { return test_support::NextItem(tree_, nullptr, TVGN_CARET); }
  void Select(HTREEITEM item) { SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)); }

  LRESULT KeyDown(WPARAM key) { return SendMessageA(tree_, WM_KEYDOWN, key, 0x001C0001); }

  // The centre of the item's label, made visible first.
  LPARAM PointOn(HTREEITEM item) {
    SendMessageA(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    // The item goes in the rectangle's first bytes; copied, since writing it
    // through a cast pointer is undefined and the optimised build breaks it.
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);
    EXPECT_TRUE(SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  }
  LRESULT DoubleClick(LPARAM point) { return SendMessageA(tree_, WM_LBUTTONDBLCLK, MK_LBUTTON, point); }

  bool Expanded(HTREEITEM item) {
    return (SendMessageA(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
  }

  void HoldControl(bool held) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = held ? 0x80 : 0;
    keys[VK_LCONTROL] = held ? 0x80 : 0;
    SetKeyboardState(keys);
  }

  HTREEITEM UserEntry() { return test_support::NextItem(tree_, Category(10), TVGN_NEXT); }

  TagTreeContext ctx_{};
  HWND tree_ = nullptr;
  test_support::DefinitionFile file_{"user entry\n<B>user text</B>\n"};
};

TEST_F(Win32Activation, EnterInsertsTheCaretItemAndTheReturnCharacterIsSwallowed) {
  Select(Entry(19));
  EXPECT_EQ(KeyDown(VK_RETURN), 1);
  EXPECT_EQ(SendMessageA(tree_, WM_CHAR, 13, 0x001C0001), 1);
  Select(UserEntry());
  EXPECT_EQ(KeyDown(VK_RETURN), 1);
  EXPECT_EQ(SendMessageA(tree_, WM_CHAR, 13, 0x001C0001), 1);
  // A group swallows Enter and stays closed.
  Select(Entry(5));
  EXPECT_EQ(KeyDown(VK_RETURN), 1);
  EXPECT_FALSE(Expanded(Entry(5)));

  EXPECT_TRUE(recorder_->Matches({
      Insert(InsertLead, "<P>"), Insert(InsertTrail, "</P>"), HandBack(tree_),
      Insert(InsertDefinitionText, "<B>user text</B>"), HandBack(tree_),
  }));
}

TEST_F(Win32Activation, DoubleClickInsertsTheItemAtThePointOrLeavesItToTheControl) {
  SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Category(2)));
  EXPECT_EQ(DoubleClick(PointOn(Entry(19))), 1);
  EXPECT_EQ(DoubleClick(PointOn(UserEntry())), 1);
  // A category node and the empty space below the last row insert nothing.
  DoubleClick(PointOn(Category(0)));
  SendMessageA(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(Category(0)));
  SendMessageA(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(Category(2)));
  SendMessageA(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(Category(0)));
  RECT client{};
  GetClientRect(tree_, &client);
  DoubleClick(MAKELPARAM(10, client.bottom - 4));

  EXPECT_TRUE(recorder_->Matches({
      Insert(InsertLead, "<P>"), Insert(InsertTrail, "</P>"), HandBack(tree_),
      Insert(InsertDefinitionText, "<B>user text</B>"), HandBack(tree_),
  }));
}

TEST_F(Win32Activation, DoubleClickOnAGroupOpensIt) {
  SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Category(0)));
  ASSERT_FALSE(Expanded(Entry(5)));
  DoubleClick(PointOn(Entry(5)));
  EXPECT_TRUE(Expanded(Entry(5)));
  EXPECT_TRUE(recorder_->Matches({}));
}

TEST_F(Win32Activation, ControlDownHandsBackWithoutMovingTheCaret) {
  Select(Category(0));
  HoldControl(true);
  EXPECT_EQ(KeyDown(VK_DOWN), 1);
  EXPECT_EQ(Caret(), Category(0));
  HoldControl(false);
  KeyDown(VK_DOWN);
  EXPECT_EQ(Caret(), Category(1));

  EXPECT_TRUE(recorder_->Matches({HandBack(tree_)}));
}

}  // namespace
}  // namespace vx
