// A tag tree in a module that carries none of its resources, with a host
// that carries none either.
#include "tests/tree/tree_fixture_win32.h"
#include "tests/tree/model_fill.h"

#include "catalogue/catalogue.h"

namespace vx {
namespace {

using test_support::Win32TreeTest;

TEST_F(Win32TreeTest, WithoutBitmapsThereIsNoTree) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  ASSERT_EQ(LoadBitmapA(self, "HTMLP"), nullptr);
  TagTreeContext ctx{};
  EXPECT_EQ(CreateTagTree(ctx, parent_, self), nullptr);
  EXPECT_EQ(CreateTagTree(ctx, parent_, nullptr), nullptr);
  // The control itself was made and subclassed; the tag window just gets no handle.
  HWND control = GetDlgItem(parent_, 1000);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(control, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&NewHTProc));
}

TEST_F(Win32TreeTest, CaptionsThatCannotBeLoadedAreEmpty) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", TREE_STYLE, 0, 0, 300, 300, parent_, nullptr,
                              self, nullptr);
  ASSERT_NE(tree, nullptr);
  TagTreeContext ctx = test_support::ContextWithImages();
  FillTagTree(ctx, tree, self, "");
  const std::vector<test_support::RealItem> items = test_support::WalkRealTree(tree);
  ASSERT_EQ(items.size(), 188u);
  for (int k = 0; k < CATEGORY_COUNT; ++k) {
    EXPECT_EQ(test_support::QueryRealItem(tree, reinterpret_cast<HTREEITEM>(ctx.categoryItems[k]), 0).caption,
              "") << k;
  }
  EXPECT_EQ(items[1].caption, PrimaryEntries[0].label);
}

}  // namespace
}  // namespace vx
