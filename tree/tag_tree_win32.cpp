#include "tree/tag_tree_win32.h"

#include <commctrl.h>

#include <cstddef>

#include "catalogue/catalogue.h"
#include "protocol/messages_win32.h"
#include "tree/activation.h"
#include "tree/tree_port_win32.h"

static_assert(sizeof(HTREEITEM) == sizeof(vx::TreeItem));
// The shipped 32-bit layouts: a catalogue record is 120 caption bytes, the
// image index and two item handles of 32 bits, as the host build expects.
static_assert(sizeof(void*) != 4 ||
              (sizeof(vx::TagEntry) == 132 && sizeof(vx::TreeItem) == 4 &&
               offsetof(vx::TagEntry, parentItem) == 124 && offsetof(vx::TagEntry, treeItem) == 128));

namespace vx {
namespace {

constexpr int IMAGE_SIZE = 16;
constexpr int IMAGE_LIST_INITIAL = 3;
constexpr int IMAGES_REQUIRED = 3;
constexpr int TREE_HEIGHT_MARGIN = 15;

// The control's own window procedure, which NewHTProc passes messages on to.
WNDPROC PreviousTreeProc = nullptr;

// The image indices of the latest tree, for callers of InsertTreeItem that
// name only an item's image and expect the matching selected image.
TagTreeContext ImageRule{};

void KeepImageRule(const TagTreeContext& ctx) {
  ImageRule.imageHome = ctx.imageHome;
  ImageRule.imageFolder = ctx.imageFolder;
  ImageRule.imageTag = ctx.imageTag;
  ImageRule.imageFolderSelected = ctx.imageFolderSelected;
  ImageRule.imageTagSelected = ctx.imageTagSelected;
}

// The module this code is linked into: the add-in DLL, or a test program.
HMODULE OwnModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&OwnModule), &module);
  return module;
}

// Resources come from the host's application first, so a host that carries
// its own pictures and captions keeps them. A host that carries none still
// gets a working tree from the add-in's own copies.
HBITMAP LoadTreeBitmap(HINSTANCE resourceInstance, const char* name) {
  HBITMAP bitmap = resourceInstance ? LoadBitmapA(resourceInstance, name) : nullptr;
  HMODULE own = OwnModule();
  if (!bitmap && own && own != resourceInstance) bitmap = LoadBitmapA(own, name);
  return bitmap;
}

void LoadCategoryCaption(int category, char* buffer60, void* context) {
  HINSTANCE resourceInstance = static_cast<HINSTANCE>(context);
  const UINT id = CATEGORY_CAPTION_FIRST_ID + category;
  int length = resourceInstance ? LoadStringA(resourceInstance, id, buffer60, CAPTION_BUFFER_SIZE)
                                : 0;
  HMODULE own = OwnModule();
  if (length <= 0 && own && own != resourceInstance) {
    length = LoadStringA(own, id, buffer60, CAPTION_BUFFER_SIZE);
  }
  if (length <= 0) buffer60[0] = '\0';
}

// Adds the five bitmaps in their fixed order; each index is that of the
// bitmap's first image. Returns the number of images in the list.
int AddTreeImages(TagTreeContext& ctx, HIMAGELIST images, HINSTANCE resourceInstance) {
  struct Slot {
    const char* name;
    std::int32_t TagTreeContext::*index;
  };
  static constexpr Slot SLOTS[] = {
      {"HTML0",  &TagTreeContext::imageHome},
      {"HTMLP",  &TagTreeContext::imageFolder},
      {"HTMLSP", &TagTreeContext::imageFolderSelected},
      {"HTMLC",  &TagTreeContext::imageTag},
      {"HTMLSC", &TagTreeContext::imageTagSelected},
  };
  for (const Slot& slot : SLOTS) {
    HBITMAP bitmap = LoadTreeBitmap(resourceInstance, slot.name);
    ctx.*slot.index = images && bitmap ? ImageList_Add(images, bitmap, nullptr) : -1;
    if (bitmap) DeleteObject(bitmap);
  }
  return images ? ImageList_GetImageCount(images) : 0;
}

// The tree does not own its normal image list; it goes with the tree.
LRESULT DestroyTreeWithImages(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
      SendMessageA(window, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  Win32TreePort port(window, PreviousTreeProc);
  const LRESULT result = HandleTreeMessage(port, message, wParam, lParam);
  if (images) ImageList_Destroy(images);
  return result;
}

}  // namespace

HWND CreateTagTree(TagTreeContext& ctx, HWND tagWindow, HINSTANCE resourceInstance) {
  InitCommonControls();
  RECT client{};
  GetClientRect(tagWindow, &client);
  const int height = client.bottom - TREE_HEIGHT_MARGIN;
  HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", TREE_STYLE, 0, 0, client.right,
                              height > 0 ? height : 0, tagWindow,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(TREE_CONTROL_ID)),
                              resourceInstance, nullptr);
  if (!tree) return nullptr;

  // Before any item exists, so every later message passes NewHTProc.
  PreviousTreeProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(tree, GWLP_WNDPROC));
  SetWindowLongPtrA(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NewHTProc));

  HIMAGELIST images = ImageList_Create(IMAGE_SIZE, IMAGE_SIZE, ILC_COLOR, IMAGE_LIST_INITIAL, 0);
  if (AddTreeImages(ctx, images, resourceInstance) < IMAGES_REQUIRED) {
    // The tag window keeps no handle of this tree, so nobody could release it later.
    if (images) ImageList_Destroy(images);
    return nullptr;
  }
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  KeepImageRule(ctx);
  return tree;
}

void FillTagTree(TagTreeContext& ctx, HWND tree, HINSTANCE resourceInstance,
                 const char* definitionPath) {
  KeepImageRule(ctx);
  Win32TreePort port(tree, PreviousTreeProc);
  // With redraw on, the control repaints for every visible row it gains,
  // which makes a long definition file take seconds to open.
  SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
  FillTagTreeItems(ctx, port, LoadCategoryCaption, resourceInstance, definitionPath);
  SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tree, nullptr, TRUE);
}

HTREEITEM InsertTreeItem(HTREEITEM parent, const char* caption, HTREEITEM insertAfter,
                         int image, HWND tree, LPARAM value) {
  return SendInsertItem(tree, parent, caption, insertAfter, image,
                        SelectedImageFor(ImageRule, image), value);
}

}  // namespace vx

LRESULT CALLBACK NewHTProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) return vx::DestroyTreeWithImages(window, message, wParam, lParam);
  vx::Win32TreePort port(window, vx::PreviousTreeProc);
  return vx::HandleTreeMessage(port, message, wParam, lParam);
}
