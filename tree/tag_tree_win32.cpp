#include "tree/tag_tree_win32.h"

#include <commctrl.h>

#include <cstddef>

#include "catalogue/catalogue.h"
#include "protocol/messages_win32.h"
#include "tree/activation.h"
#include "tree/cp932_text_win32.h"
#include "tree/tree_images_win32.h"
#include "tree/tree_port_win32.h"

static_assert(sizeof(HTREEITEM) == sizeof(vx::TreeItem));
// The shipped 32-bit layouts: a catalogue record is 120 caption bytes, the
// image index and two item handles of 32 bits, as the host build expects.
static_assert(sizeof(void*) != 4 ||
              (sizeof(vx::TagEntry) == 132 && sizeof(vx::TreeItem) == 4 &&
               offsetof(vx::TagEntry, parentItem) == 124 && offsetof(vx::TagEntry, treeItem) == 128));

namespace vx {
namespace {

constexpr int IMAGES_REQUIRED = 3;
constexpr int TREE_HEIGHT_MARGIN = 15;
constexpr UINT TREE_ITEM_MASK = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
// What the 32-bit tree-view control reads from us, pinned in the shipped build.
static_assert(sizeof(void*) != 4 ||
              (sizeof(TVITEMW) == 40 && offsetof(TVITEMW, pszText) == 16 &&
               offsetof(TVITEMW, lParam) == 36 && sizeof(TVINSERTSTRUCTW) == 68 &&
               offsetof(TVINSERTSTRUCTW, hInsertAfter) == 4 && offsetof(TVINSERTSTRUCTW, item) == 8));

// The control's own window procedure, which NewHTProc passes messages on to.
WNDPROC PreviousTreeProc = nullptr;

// The tree keeps a pointer to its tag window's context in its user data (the
// control keeps its own state elsewhere), so that an item inserted by image
// alone gets its selected image by that tree's own rule. Not a window
// property: asking one is a round trip to the window server under Wine, once
// per item of a fill of thousands.
void KeepImageRule(HWND tree, const TagTreeContext& ctx) {
  SetWindowLongPtrA(tree, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&ctx));
}

std::int32_t SelectedImageOf(HWND tree, std::int32_t image) {
  const auto* ctx = reinterpret_cast<const TagTreeContext*>(GetWindowLongPtrA(tree, GWLP_USERDATA));
  return ctx ? SelectedImageFor(*ctx, image) : image;
}

void LoadCategoryCaption(int category, char* buffer60, void* context) {
  HINSTANCE resourceInstance = static_cast<HINSTANCE>(context);
  const UINT id = CATEGORY_CAPTION_FIRST_ID + category;
  int length = resourceInstance ? LoadCp932String(resourceInstance, id, buffer60, CAPTION_BUFFER_SIZE)
                                : 0;
  HMODULE own = TreeModule();
  if (length <= 0 && own && own != resourceInstance) {
    length = LoadCp932String(own, id, buffer60, CAPTION_BUFFER_SIZE);
  }
  if (length <= 0) buffer60[0] = '\0';
}

int ImageCount(HIMAGELIST images) { return images ? ImageList_GetImageCount(images) : 0; }

// The tree does not own its normal image list; it goes with the tree.
LRESULT DestroyTreeWithImages(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
      SendMessageA(window, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  Win32TreePort port(window, PreviousTreeProc);
  const LRESULT result = HandleTreeMessage(port, message, wParam, lParam);
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
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

  // Before any item exists, so every later message passes NewHTProc. It goes
  // in as an ANSI procedure, as it always has: hosts may compare
  // GetWindowLongA's answer with the export, and NewHTProc and anyone who
  // calls it read the messages in their ANSI form. Captions are untouched by
  // that choice, since they travel in TVM_INSERTITEMW, which no procedure
  // thunk translates. What it does cost on a system whose code page is not
  // 932: characters typed for the control's incremental search reach it
  // through that code page, so Japanese ones find nothing there.
  PreviousTreeProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(tree, GWLP_WNDPROC));
  SetWindowLongPtrA(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NewHTProc));

  HIMAGELIST images = MakeTreeImages(ctx, resourceInstance, WindowDpi(tagWindow));
  if (ImageCount(images) < IMAGES_REQUIRED) {
    // The tag window keeps no handle of this tree, so nobody could release it later.
    if (images) ImageList_Destroy(images);
    return nullptr;
  }
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  KeepImageRule(tree, ctx);
  return tree;
}

void RescaleTagTree(const TagTreeContext& ctx, HWND tree, HINSTANCE resourceInstance, UINT dpi) {
  if (dpi < MIN_TREE_DPI || dpi > MAX_TREE_DPI) return;
  TagTreeContext scaled = ctx;
  HIMAGELIST images = MakeTreeImages(scaled, resourceInstance, dpi);
  // The items name their images by index: a list whose indices differ from
  // the old one's (a bitmap that no longer loads) would show other pictures.
  const bool sameIndices = scaled.imageHome == ctx.imageHome && scaled.imageFolder == ctx.imageFolder &&
                           scaled.imageTag == ctx.imageTag &&
                           scaled.imageFolderSelected == ctx.imageFolderSelected &&
                           scaled.imageTagSelected == ctx.imageTagSelected;
  if (!sameIndices || ImageCount(images) < IMAGES_REQUIRED) {
    if (images) ImageList_Destroy(images);
    return;
  }
  // The control measures its rows again from the new images.
  HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
      SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images)));
  if (old) ImageList_Destroy(old);
}

void FillTagTree(TagTreeContext& ctx, HWND tree, HINSTANCE resourceInstance,
                 const char* definitionPath) {
  KeepImageRule(tree, ctx);
  Win32TreePort port(tree, PreviousTreeProc);
  // With redraw on, the control repaints for every visible row it gains,
  // which makes a long definition file take seconds to open.
  SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
  FillTagTreeItems(ctx, port, LoadCategoryCaption, resourceInstance, definitionPath);
  SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tree, nullptr, TRUE);
}

// Captions are kept as code page 932 bytes everywhere (catalogue, definition
// texts, insert requests); only here, where the control is given one to show,
// are they converted, with 932 named rather than the system's code page, so
// that the tree reads the same on any system. The control keeps item texts as
// UTF-16 either way, so on a 932 system TVM_GETITEMA gives back exactly the
// bytes that TVM_INSERTITEMA would have stored.
HTREEITEM InsertTreeItem(HTREEITEM parent, const char* caption, HTREEITEM insertAfter,
                         int image, HWND tree, LPARAM value) {
  return InsertTreeItem(parent, caption, insertAfter, image, SelectedImageOf(tree, image), tree, value);
}

HTREEITEM InsertTreeItem(HTREEITEM parent, const char* caption, HTREEITEM insertAfter,
                         int image, int selectedImage, HWND tree, LPARAM value) {
  wchar_t wide[CAPTION_WIDE_SIZE];
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = insertAfter;
  insert.item.mask = TREE_ITEM_MASK;
  insert.item.pszText = caption ? WidenCp932(caption, wide) : nullptr;
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.lParam = value;
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

LRESULT ActivateTreeEntry(HWND tree, HTREEITEM item) {
  Win32TreePort port(tree, PreviousTreeProc);
  return ActivateTreeItem(port, reinterpret_cast<TreeItem>(item), ActivationTrigger::Enter, WM_KEYDOWN,
                          VK_RETURN, 0);
}

}  // namespace vx

LRESULT CALLBACK NewHTProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) return vx::DestroyTreeWithImages(window, message, wParam, lParam);
  vx::Win32TreePort port(window, vx::PreviousTreeProc);
  return vx::HandleTreeMessage(port, message, wParam, lParam);
}
