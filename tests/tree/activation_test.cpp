// What NewHTProc does with each message and item: the recipe calls and
// hand-backs that reach the host, and what is passed to the control.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "catalogue/recipes.h"
#include "deffile/definition_text_table.h"
#include "protocol/messages.h"
#include "tests/fakes/recording_host.h"
#include "tests/fakes/scripted_color_dialog.h"
#include "tests/fakes/scripted_tree.h"
#include "tests/tree/model_fill.h"
#include "tree/activation.h"

namespace vx {
namespace {

using fakes::HandBack;
using fakes::HostEvent;
using fakes::Insert;
using fakes::ScriptedTree;
using Events = std::vector<HostEvent>;

constexpr std::intptr_t PREVIOUS = 0x5EED;

// Messages and keys that the tree passes on untouched; the core names none of them.
constexpr unsigned MSG_KEYUP = 0x0101;        // WM_KEYUP
constexpr unsigned MSG_LBUTTONDOWN = 0x0201;  // WM_LBUTTONDOWN
constexpr unsigned MSG_PAINT = 0x000F;        // WM_PAINT
constexpr unsigned KEY_UP = 0x26;             // VK_UP
constexpr std::intptr_t RETURN_KEY_LPARAM = 0x001C0001;  // scan code 0x1C, one press

Events Recorded() { return fakes::RecordedHostEvents(); }

HostEvent HandBack(ScriptedTree& tree) { return HandBack(tree.WindowId()); }

// The recipe's own requests for tagId, as RunInsertionRecipe sends them.
Events RecipeOf(std::int32_t tagId) {
  fakes::ClearRecordedHost();
  RunInsertionRecipe(tagId, nullptr);
  Events events = Recorded();
  fakes::ClearRecordedHost();
  return events;
}

std::intptr_t DoubleClickLParam(int x, int y) {
  return static_cast<std::intptr_t>(static_cast<std::int32_t>(
      static_cast<std::uint32_t>(x) | (static_cast<std::uint32_t>(y) << 16)));
}

class Activation : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::ResetScriptedColorDialog();
    test_support::FillModel(ctx_, tree_, file_.path());
    fakes::ClearRecordedHost();
    tree_.previousResult = PREVIOUS;
  }

  TreeItem Catalogue(std::int32_t id) { return CatalogueEntry(id)->treeItem; }
  TreeItem TopLevel(std::size_t index) { return tree_.Children(0).at(index); }

  std::intptr_t Enter(TreeItem caret) {
    tree_.caret = caret;
    return HandleTreeMessage(tree_, MSG_KEYDOWN, KEY_RETURN, RETURN_KEY_LPARAM);
  }
  std::intptr_t DoubleClick(TreeItem hit, int x = 30, int y = 40) {
    tree_.hitItem = hit;
    return HandleTreeMessage(tree_, MSG_LBUTTONDBLCLK, 1, DoubleClickLParam(x, y));
  }

  test_support::DefinitionFile file_{
      ".User folder\n"
      "zero\n<z0>\n" "one\n<z1>\n" "two\n<z2>\n" "three\n<z3>\n"
      "four\n<B>user four</B>\n"
      "empty\n\n"};
  TagTreeContext ctx_ = test_support::ContextWithImages();
  ScriptedTree tree_;
};

TEST_F(Activation, EnterOnParagraphSendsItsPairThenHandsBackAndSwallowsTheReturn) {
  EXPECT_EQ(Enter(Catalogue(19)), 1);
  EXPECT_EQ(Recorded(), (Events{Insert(InsertLead, "<P>"), Insert(InsertTrail, "</P>"), HandBack(tree_)}));
  EXPECT_EQ(HandleTreeMessage(tree_, MSG_CHAR, CHAR_CARRIAGE_RETURN, RETURN_KEY_LPARAM), 1);
  EXPECT_EQ(Recorded().size(), 3u);
  EXPECT_TRUE(tree_.previousCalls.empty());
}

TEST_F(Activation, DoubleClickOnParagraphSendsTheSameAtTheClickPoint) {
  EXPECT_EQ(DoubleClick(Catalogue(19), 16, 0xFFFE), 1);
  EXPECT_EQ(Recorded(), (Events{Insert(InsertLead, "<P>"), Insert(InsertTrail, "</P>"), HandBack(tree_)}));
  // Both halves of lParam are unsigned, so a high y does not turn negative.
  ASSERT_EQ(tree_.hitTests.size(), 1u);
  EXPECT_EQ(tree_.hitTests[0], std::make_pair(16, 0xFFFE));
  EXPECT_TRUE(tree_.previousCalls.empty());
}

TEST_F(Activation, EveryCatalogueLeafRunsItsOwnRecipe) {
  for (std::int32_t id = 0; id < TAG_COUNT; ++id) {
    if (IsGroupEntry(id)) continue;
    SCOPED_TRACE(id);
    fakes::ResetScriptedColorDialog();
    Events expected = RecipeOf(id);
    expected.push_back(HandBack(tree_));
    fakes::ResetScriptedColorDialog();
    EXPECT_EQ(Enter(Catalogue(id)), 1);
    EXPECT_EQ(Recorded(), expected);
    fakes::ClearRecordedHost();
  }
  EXPECT_TRUE(tree_.previousCalls.empty());
}

TEST_F(Activation, GroupEntrySwallowsEnterAndLeavesDoubleClickToTheControl) {
  for (std::int32_t group : {5, 46, 68}) {
    SCOPED_TRACE(group);
    tree_.previousCalls.clear();
    EXPECT_EQ(Enter(Catalogue(group)), 1);
    EXPECT_TRUE(tree_.previousCalls.empty());
    EXPECT_EQ(DoubleClick(Catalogue(group)), PREVIOUS);
    ASSERT_EQ(tree_.previousCalls.size(), 1u);
    EXPECT_EQ(tree_.previousCalls[0].message, MSG_LBUTTONDBLCLK);
    EXPECT_EQ(tree_.previousCalls[0].lParam, DoubleClickLParam(30, 40));
    EXPECT_TRUE(Recorded().empty());
  }
}

TEST_F(Activation, CategoryNodesFoldersAndNoItemGoToTheControl) {
  const TreeItem folder = TopLevel(11);
  ASSERT_EQ(tree_.Find(folder)->value, FOLDER_VALUE);
  const TreeItem gone = 0xDEAD0;  // an item the control does not know
  for (TreeItem item : {ctx_.categoryItems[0], ctx_.categoryItems[10], folder, TreeItem{0}, gone}) {
    SCOPED_TRACE(item);
    tree_.previousCalls.clear();
    EXPECT_EQ(Enter(item), PREVIOUS);
    EXPECT_EQ(DoubleClick(item), PREVIOUS);
    ASSERT_EQ(tree_.previousCalls.size(), 2u);
    EXPECT_EQ(tree_.previousCalls[0].message, MSG_KEYDOWN);
    EXPECT_EQ(tree_.previousCalls[0].wParam, KEY_RETURN);
    EXPECT_EQ(tree_.previousCalls[0].lParam, RETURN_KEY_LPARAM);
    EXPECT_EQ(tree_.previousCalls[1].message, MSG_LBUTTONDBLCLK);
  }
  EXPECT_TRUE(Recorded().empty());
}

TEST_F(Activation, UserEntrySendsItsDefinitionTextAsOneRequest) {
  const std::vector<TreeItem>& entries = tree_.Find(TopLevel(11))->children;
  ASSERT_EQ(entries.size(), 6u);
  ASSERT_EQ(tree_.Find(entries[4])->value, 4);
  EXPECT_EQ(Enter(entries[4]), 1);
  EXPECT_EQ(Recorded(), (Events{Insert(InsertDefinitionText, "<B>user four</B>"), HandBack(tree_)}));

  fakes::ClearRecordedHost();
  EXPECT_EQ(DoubleClick(entries[5]), 1);
  EXPECT_EQ(Recorded(), (Events{Insert(InsertDefinitionText, ""), HandBack(tree_)}));
  EXPECT_TRUE(tree_.previousCalls.empty());
}

TEST_F(Activation, ValueThatNamesNoStoredTextIsNotAUserEntry) {
  const TreeItem item = tree_.Find(TopLevel(11))->children[0];
  for (std::int32_t value : {MAX_DEFINITION_TEXTS, -1, -3, 0x7FFFFFFF}) {
    SCOPED_TRACE(value);
    tree_.SetValue(item, value);
    tree_.previousCalls.clear();
    EXPECT_EQ(Enter(item), PREVIOUS);
    EXPECT_EQ(DoubleClick(item), PREVIOUS);
    EXPECT_EQ(tree_.previousCalls.size(), 2u);
  }
  EXPECT_TRUE(Recorded().empty());
}

TEST_F(Activation, HeldEnterSendsOncePerRepeatedKeyDown) {
  Enter(Catalogue(19));
  // Auto-repeats: the previous-state bit set, and a repeat count of one or more.
  tree_.caret = Catalogue(19);
  EXPECT_EQ(HandleTreeMessage(tree_, MSG_KEYDOWN, KEY_RETURN, 0x401C0001), 1);
  EXPECT_EQ(HandleTreeMessage(tree_, MSG_KEYDOWN, KEY_RETURN, 0x401C0003), 1);
  EXPECT_EQ(fakes::RecordedInserts().size(), 6u);
  EXPECT_EQ(fakes::RecordedHandBackCount(), 3);
}

TEST_F(Activation, ControlDownHandsBackAloneAndPlainDownMovesTheCaret) {
  tree_.caret = Catalogue(19);
  tree_.controlHeld = true;
  EXPECT_EQ(HandleTreeMessage(tree_, MSG_KEYDOWN, KEY_DOWN, 0x01500001), 1);
  EXPECT_EQ(Recorded(), (Events{HandBack(tree_)}));
  EXPECT_EQ(tree_.caretQueries, 0);
  EXPECT_TRUE(tree_.previousCalls.empty());

  fakes::ClearRecordedHost();
  tree_.controlHeld = false;
  EXPECT_EQ(HandleTreeMessage(tree_, MSG_KEYDOWN, KEY_DOWN, 0x01500001), PREVIOUS);
  ASSERT_EQ(tree_.previousCalls.size(), 1u);
  EXPECT_EQ(tree_.previousCalls[0].wParam, KEY_DOWN);
  EXPECT_TRUE(Recorded().empty());
}

TEST_F(Activation, EveryOtherMessageGetsExactlyThePreviousResult) {
  tree_.caret = Catalogue(19);
  tree_.hitItem = Catalogue(19);
  tree_.controlHeld = true;
  struct Message {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  const Message others[] = {
      {MSG_CHAR, 'a', 1},
      {MSG_CHAR, 10, 1},
      {MSG_KEYDOWN, 'A', 1},
      {MSG_KEYDOWN, KEY_UP, 1},  // Ctrl held
      {MSG_KEYUP, KEY_RETURN, 1},
      {MSG_KEYUP, KEY_DOWN, 1},
      {MSG_LBUTTONDOWN, 1, DoubleClickLParam(5, 5)},
      {MSG_ACTIVATE, ACTIVATE_CLICK, 0x1234},
      {MSG_PAINT, 0, 0},
  };
  tree_.previousResult = -7;
  for (const Message& m : others) {
    SCOPED_TRACE(m.message);
    tree_.previousCalls.clear();
    EXPECT_EQ(HandleTreeMessage(tree_, m.message, m.wParam, m.lParam), -7);
    ASSERT_EQ(tree_.previousCalls.size(), 1u);
    EXPECT_EQ(tree_.previousCalls[0].message, m.message);
    EXPECT_EQ(tree_.previousCalls[0].wParam, m.wParam);
    EXPECT_EQ(tree_.previousCalls[0].lParam, m.lParam);
  }
  EXPECT_TRUE(Recorded().empty());
  EXPECT_EQ(tree_.caretQueries, 0);
  EXPECT_TRUE(tree_.hitTests.empty());
}

// The tree destroyed while the colour dialog is up (its tag window closed by
// the host, or the host frame gone): whatever the dialog then returns, the
// activation sends nothing more, and the colour is not remembered.
TEST_F(Activation, ATreeDestroyedDuringTheColourDialogGetsNothingMore) {
  const ColorRef before = LastColor;
  for (bool accept : {true, false}) {
    SCOPED_TRACE(accept);
    if (accept) {
      fakes::ScriptColorDialogAccept(MakeColorRef(1, 2, 3));
    } else {
      fakes::ScriptColorDialogCancel();
    }
    fakes::ScriptColorDialogMeanwhile([&] { HandleTreeMessage(tree_, MSG_DESTROY, 0, 0); });
    EXPECT_EQ(Enter(Catalogue(158)), 1);
    EXPECT_TRUE(Recorded().empty());
    EXPECT_FALSE(IsColorDialogOpen());
  }
  EXPECT_EQ(LastColor, before);

  // A tree destroyed with no dialog up leaves the next tree's activations whole.
  HandleTreeMessage(tree_, MSG_DESTROY, 0, 0);
  fakes::ScriptColorDialogCancel();
  Events expected = RecipeOf(158);
  ASSERT_FALSE(expected.empty());
  expected.push_back(HandBack(tree_));
  fakes::ScriptColorDialogCancel();
  EXPECT_EQ(Enter(Catalogue(158)), 1);
  EXPECT_EQ(Recorded(), expected);
}

// An owner-less colour dialog leaves the tree enabled: Enter or a
// double-click that reaches it meanwhile does nothing at all.
TEST_F(Activation, AnActivationWhileTheColourDialogIsUpDoesNothing) {
  const ColorRef chosen = MakeColorRef(0x12, 0x34, 0x56);
  fakes::ScriptColorDialogAccept(chosen);
  Events expected = RecipeOf(158);
  expected.push_back(HandBack(tree_));
  fakes::ResetScriptedColorDialog();

  fakes::ScriptColorDialogAccept(chosen);
  std::vector<std::intptr_t> nested;
  fakes::ScriptColorDialogMeanwhile([&] {
    nested.push_back(Enter(Catalogue(19)));
    nested.push_back(Enter(Catalogue(160)));
    nested.push_back(DoubleClick(TopLevel(11)));
    nested.push_back(Enter(0));
  });
  EXPECT_EQ(Enter(Catalogue(158)), 1);
  EXPECT_EQ(nested, (std::vector<std::intptr_t>{1, 1, 1, 1}));
  EXPECT_EQ(fakes::ColorDialogOpenings().size(), 1u) << "no second dialog";
  EXPECT_TRUE(tree_.previousCalls.empty());
  EXPECT_EQ(Recorded(), expected);
}

TEST(FindCatalogueEntry, FindsEveryEntryOfTheLatestFillAndNothingElse) {
  TagTreeContext ctx = test_support::ContextWithImages();
  ModelTree tree;
  test_support::FillModel(ctx, tree);
  for (std::int32_t id = 0; id < TAG_COUNT; ++id) {
    EXPECT_EQ(FindCatalogueEntry(CatalogueEntry(id)->treeItem), id);
  }
  for (TreeItem item : ctx.categoryItems) EXPECT_EQ(FindCatalogueEntry(item), CATALOGUE_NOT_FOUND);
}

}  // namespace
}  // namespace vx
