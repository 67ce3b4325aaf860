// The tag tree on a real SysTreeView32: the control, its images, its items
// walked back out of the control, and where its resources come from.
// Compiled with code page 932 literals.
#include "tests/tree/tree_fixture_win32.h"
#include "tests/tree/model_fill.h"

#include "catalogue/catalogue.h"
#include "tree/model_tree.h"
#include "tree/tree_images_win32.h"
#include "tests/win32/import_patch_win32.h"

namespace vx {
namespace {

using test_support::RealItem;
using test_support::Win32TreeTest;

HIMAGELIST ImagesOf(HWND tree) {
  return reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
}

// The image lists this program releases, seen through its own import of
// ImageList_Destroy: a released list can no longer be asked anything.
std::vector<HIMAGELIST> Released;
FARPROC OriginalDestroy = nullptr;
BOOL WINAPI RecordRelease(HIMAGELIST list) {
  Released.push_back(list);
  return reinterpret_cast<BOOL(WINAPI*)(HIMAGELIST)>(reinterpret_cast<void (*)()>(OriginalDestroy))(list);
}
class ReleaseWatch {
 public:
  ReleaseWatch() {
    Released.clear();
    const auto record = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&RecordRelease));
    OriginalDestroy = test_support::PatchImport(GetModuleHandleA(nullptr), "comctl32.dll", "ImageList_Destroy", record);
  }
  ~ReleaseWatch() {
    if (!OriginalDestroy) return;
    test_support::PatchImport(GetModuleHandleA(nullptr), "comctl32.dll", "ImageList_Destroy", OriginalDestroy);
  }
  bool Installed() const { return OriginalDestroy != nullptr; }
};

TEST(ResourceStrings, LoadUnderCodePage932AsTheCatalogueBytes) {
  ASSERT_EQ(GetACP(), 932u);
  struct Row {
    UINT id;
    const char* text;
  };
  static constexpr Row ROWS[] = {
      {5001, "HTML ﾀｸﾞﾒﾆｭｰ"},     {5013, "ユーザー定義のタグ"}, {6001, "マクロ ﾀｸﾞﾒﾆｭｰ"},
      {6002, "マクロ  1 - 10"},   {6003, "マクロ 11 - 20"},     {6004, "マクロ 21 - 30"},
      {6005, "マクロ 31 - 40"},   {6006, "マクロ 41 - 50"},     {6007, "マクロ 51 - 60"},
      {6008, "マクロ 61 - 70"},   {6009, "マクロ 71 - 80"},
  };
  HINSTANCE self = GetModuleHandleA(nullptr);
  char buffer[256];
  for (int k = 0; k < CATEGORY_COUNT; ++k) {
    ASSERT_GT(LoadStringA(self, CATEGORY_CAPTION_FIRST_ID + k, buffer, sizeof buffer), 0) << k;
    EXPECT_STREQ(buffer, CATEGORY_CAPTIONS[k]) << k;
  }
  for (const Row& row : ROWS) {
    ASSERT_GT(LoadStringA(self, row.id, buffer, sizeof buffer), 0) << row.id;
    EXPECT_STREQ(buffer, row.text) << row.id;
  }
}

TEST_F(Win32TreeTest, CreatesTheSubclassedControlWithNineImages) {
  TagTreeContext ctx{};
  HWND tree = CreateTagTree(ctx, parent_, GetModuleHandleA(nullptr));
  ASSERT_NE(tree, nullptr);

  char className[32] = {};
  GetClassNameA(tree, className, sizeof className);
  EXPECT_STREQ(className, "SysTreeView32");
  EXPECT_EQ(GetParent(tree), parent_);
  EXPECT_EQ(GetDlgCtrlID(tree), 1000);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(tree, GWL_STYLE)), 0x50000007u);
  EXPECT_EQ(GetWindowLongPtrA(tree, GWL_EXSTYLE), 0);
  EXPECT_EQ(GetWindowTextLengthA(tree), 0);
  EXPECT_EQ(GetWindowLongPtrA(tree, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&NewHTProc));

  RECT rect{};
  GetWindowRect(tree, &rect);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, CLIENT_WIDTH);
  EXPECT_EQ(rect.bottom, CLIENT_HEIGHT - 15);

  EXPECT_EQ(ctx.imageHome, 0);
  EXPECT_EQ(ctx.imageFolder, 1);
  EXPECT_EQ(ctx.imageFolderSelected, 3);
  EXPECT_EQ(ctx.imageTag, 5);
  EXPECT_EQ(ctx.imageTagSelected, 7);
  HIMAGELIST images = ImagesOf(tree);
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 9);
  int cx = 0;
  int cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);

  // Items inserted by image alone get their selected image by the tree's rule.
  const struct {
    int image, selected;
  } RULE[] = {{5, 7}, {1, 3}, {0, 0}, {7, 7}};
  for (const auto& row : RULE) {
    const HTREEITEM item = InsertTreeItem(nullptr, "項目", TVI_LAST, row.image, tree, 42);
    ASSERT_NE(item, nullptr);
    const RealItem read = test_support::QueryRealItem(tree, item, 0);
    EXPECT_EQ(read.caption, "項目");
    EXPECT_EQ(read.image, row.image);
    EXPECT_EQ(read.selectedImage, row.selected) << row.image;
    EXPECT_EQ(read.value, 42);
  }

  // The image list goes with the tree, once.
  ReleaseWatch releases;
  ASSERT_TRUE(releases.Installed()) << "this program does not import ImageList_Destroy";
  DestroyWindow(tree);
  EXPECT_EQ(Released, std::vector<HIMAGELIST>{images});
}

TEST_F(Win32TreeTest, EveryItemReadBackMatchesTheCatalogueAndTheDefinitionFile) {
  const test_support::DefinitionFile file(
      "トップ\n<top>\n"
      ".フォルダ\n"
      "中の項目\n<inner>表</inner>\n"
      "..下位\n"
      "深い項目\n\n");
  TagTreeContext modelCtx = test_support::ContextWithImages();
  ModelTree model;
  test_support::FillModel(modelCtx, model, file.path());
  const std::vector<ModelItemAtDepth> expected = model.PreOrder();

  TagTreeContext ctx{};
  HWND tree = CreateTagTree(ctx, parent_, GetModuleHandleA(nullptr));
  ASSERT_NE(tree, nullptr);
  FillTagTree(ctx, tree, GetModuleHandleA(nullptr), file.path());
  const std::vector<RealItem> real = test_support::WalkRealTree(tree);

  ASSERT_EQ(real.size(), 188u + 5u);
  ASSERT_EQ(real.size(), expected.size());
  std::vector<HTREEITEM> parents;  // the real item at each depth of the walk
  for (std::size_t i = 0; i < real.size(); ++i) {
    SCOPED_TRACE(i);
    const ModelItem& want = *expected[i].item;
    EXPECT_EQ(real[i].depth, expected[i].depth);
    EXPECT_EQ(real[i].caption, want.caption);
    EXPECT_EQ(real[i].image, want.image);
    EXPECT_EQ(real[i].selectedImage, want.selectedImage);
    EXPECT_EQ(static_cast<std::int32_t>(real[i].value), want.value);
    parents.resize(real[i].depth);
    EXPECT_EQ(real[i].parent, parents.empty() ? nullptr : parents.back());
    parents.push_back(real[i].handle);
  }

  // The catalogue now names the real items, and its captions came from the resources.
  for (int k = 0; k < CATEGORY_COUNT; ++k) {
    const RealItem node = test_support::QueryRealItem(tree, reinterpret_cast<HTREEITEM>(ctx.categoryItems[k]), 0);
    EXPECT_EQ(node.caption, CATEGORY_CAPTIONS[k]) << k;
  }
  for (std::int32_t id = 0; id < TAG_COUNT; ++id) {
    const TagEntry& entry = *CatalogueEntry(id);
    const RealItem item = test_support::QueryRealItem(tree, reinterpret_cast<HTREEITEM>(entry.treeItem), 0);
    EXPECT_EQ(item.caption, entry.label) << id;
    EXPECT_EQ(item.parent, reinterpret_cast<HTREEITEM>(entry.parentItem)) << id;
  }
  EXPECT_EQ(real[188].caption, "トップ");
  EXPECT_EQ(real[188].value, 0);
  EXPECT_EQ(real[189].caption, "フォルダ");
  EXPECT_EQ(real[189].value, FOLDER_VALUE);
}

// Image i of a list as drawn, pixel by pixel.
std::vector<std::uint32_t> DrawnImage(HIMAGELIST images, int i) {
  int cx = 0;
  int cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, target);
  ImageList_Draw(images, i, dc, 0, 0, ILD_NORMAL);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> drawn(pixels, pixels + cx * cy);
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  return drawn;
}

HDC WINAPI NoDeviceContext(HDC) { return nullptr; }

// A scaled picture is drawn in a device context; without one it would stay
// blank. The list then holds the pictures at their own size.
TEST_F(Win32TreeTest, ImagesKeepTheirOwnSizeWhenNoScaledCopyCanBeDrawn) {
  TagTreeContext plain{};
  HIMAGELIST expected = MakeTreeImages(plain, nullptr, USER_DEFAULT_SCREEN_DPI);
  const auto refuse = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&NoDeviceContext));
  const FARPROC original = test_support::PatchImport(GetModuleHandleA(nullptr), "gdi32.dll", "CreateCompatibleDC", refuse);
  ASSERT_NE(original, nullptr) << "this program does not import CreateCompatibleDC";
  TagTreeContext ctx{};
  HIMAGELIST images = MakeTreeImages(ctx, nullptr, 144);
  test_support::PatchImport(GetModuleHandleA(nullptr), "gdi32.dll", "CreateCompatibleDC", original);
  ASSERT_NE(images, nullptr);
  int cx = 0;
  int cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  EXPECT_EQ(ctx.imageTagSelected, plain.imageTagSelected);
  ASSERT_EQ(ImageList_GetImageCount(images), ImageList_GetImageCount(expected));
  for (int i = 0; i < ImageList_GetImageCount(images); ++i)
    EXPECT_EQ(DrawnImage(images, i), DrawnImage(expected, i)) << i;
  ImageList_Destroy(images);
  ImageList_Destroy(expected);
}

TEST_F(Win32TreeTest, HostResourcesWinAndMissingOnesComeFromTheAddIn) {
  // This module carries only a two-image HTML0 and caption 5002 of its own.
  HMODULE host = LoadLibraryA("vx_test_host_resources.dll");
  ASSERT_NE(host, nullptr);

  TagTreeContext ctx{};
  HWND tree = CreateTagTree(ctx, parent_, host);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(ctx.imageHome, 0);
  EXPECT_EQ(ctx.imageFolder, 2);
  EXPECT_EQ(ctx.imageFolderSelected, 4);
  EXPECT_EQ(ctx.imageTag, 6);
  EXPECT_EQ(ctx.imageTagSelected, 8);
  EXPECT_EQ(ImageList_GetImageCount(ImagesOf(tree)), 10);

  FillTagTree(ctx, tree, host, "");
  const std::vector<RealItem> real = test_support::WalkRealTree(tree);
  ASSERT_EQ(real.size(), 188u);
  EXPECT_EQ(test_support::QueryRealItem(tree, reinterpret_cast<HTREEITEM>(ctx.categoryItems[0]), 0).caption,
            "ホストの見出し");
  for (int k = 1; k < CATEGORY_COUNT; ++k) {
    EXPECT_EQ(test_support::QueryRealItem(tree, reinterpret_cast<HTREEITEM>(ctx.categoryItems[k]), 0).caption,
              CATEGORY_CAPTIONS[k]) << k;
  }
  EXPECT_EQ(real[0].image, 2);
  EXPECT_EQ(real[0].selectedImage, 4);
  EXPECT_EQ(real[1].image, 6);
  EXPECT_EQ(real[1].selectedImage, 8);
  DestroyWindow(tree);
  FreeLibrary(host);
}

}  // namespace
}  // namespace vx
