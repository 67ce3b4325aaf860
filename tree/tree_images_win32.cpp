#include "tree/tree_images_win32.h"

namespace vx {
namespace {

constexpr int IMAGE_SIZE = 16;  // at 96 DPI
constexpr int IMAGE_LIST_INITIAL = 3;
constexpr UINT DEFAULT_DPI = USER_DEFAULT_SCREEN_DPI;

// Resources come from the host's application first, so a host that carries
// its own pictures and captions keeps them. A host that carries none still
// gets a working tree from the add-in's own copies.
HBITMAP LoadTreeBitmap(HINSTANCE resourceInstance, const char* name) {
  HBITMAP bitmap = resourceInstance ? LoadBitmapA(resourceInstance, name) : nullptr;
  HMODULE own = TreeModule();
  if (!bitmap && own && own != resourceInstance) bitmap = LoadBitmapA(own, name);
  return bitmap;
}

// A copy of bitmap at dpi / 96 of its size; the copy keeps the same pictures
// per image, since every picture scales by the same factor as the image size.
// Null when the copy could not be drawn: without a device context to draw in,
// a new bitmap stays blank.
HBITMAP ScaledBitmap(HBITMAP bitmap, UINT dpi) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info)) return nullptr;
  const int width = MulDiv(info.bmWidth, static_cast<int>(dpi), DEFAULT_DPI);
  const int height = MulDiv(info.bmHeight, static_cast<int>(dpi), DEFAULT_DPI);
  HDC screen = GetDC(nullptr);
  HDC from = screen ? CreateCompatibleDC(screen) : nullptr;
  HDC to = screen ? CreateCompatibleDC(screen) : nullptr;
  HBITMAP scaled = from && to ? CreateCompatibleBitmap(screen, width, height) : nullptr;
  bool drawn = false;
  if (scaled) {
    HGDIOBJ oldFrom = SelectObject(from, bitmap);
    HGDIOBJ oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, COLORONCOLOR);
    drawn = StretchBlt(to, 0, 0, width, height, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY) != FALSE;
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
  }
  if (to) DeleteDC(to);
  if (from) DeleteDC(from);
  if (screen) ReleaseDC(nullptr, screen);
  if (scaled && !drawn) {
    DeleteObject(scaled);
    scaled = nullptr;
  }
  return scaled;
}

struct AddedImage {
  std::int32_t index;  // -1 when not added
  bool unscalable;     // the bitmap loaded, but no copy at the DPI could be drawn
};

AddedImage AddTreeImage(HIMAGELIST images, HINSTANCE resourceInstance, const char* name, UINT dpi) {
  HBITMAP bitmap = LoadTreeBitmap(resourceInstance, name);
  if (!bitmap) return {-1, false};
  AddedImage added{-1, false};
  if (dpi == DEFAULT_DPI) {
    added.index = ImageList_Add(images, bitmap, nullptr);
  } else if (HBITMAP scaled = ScaledBitmap(bitmap, dpi)) {
    added.index = ImageList_Add(images, scaled, nullptr);
    DeleteObject(scaled);
  } else {
    added.unscalable = true;
  }
  DeleteObject(bitmap);
  return added;
}

// The list at one DPI; false when a bitmap could not be scaled to it.
bool MakeImageList(TagTreeContext& ctx, HINSTANCE resourceInstance, UINT dpi, HIMAGELIST& images) {
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
  const int size = MulDiv(IMAGE_SIZE, static_cast<int>(dpi), DEFAULT_DPI);
  images = ImageList_Create(size, size, ILC_COLOR, IMAGE_LIST_INITIAL, 0);
  bool scaled = true;
  for (const Slot& slot : SLOTS) {
    const AddedImage added = images ? AddTreeImage(images, resourceInstance, slot.name, dpi) : AddedImage{-1, false};
    ctx.*slot.index = added.index;
    scaled = scaled && !added.unscalable;
  }
  return scaled;
}

}  // namespace

HMODULE TreeModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&TreeModule), &module);
  return module;
}

// Asked through GetProcAddress: systems before Windows 10 have no per-window
// DPI, and there the screen's DPI is the window's. Looked up on every call,
// which is rare: a cached local static would bring the C++ runtime's
// thread-safe initialisation, and with it threads and exceptions, into the DLL.
UINT WindowDpi(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
  if (dpi == 0) {
    HDC dc = GetDC(window);
    dpi = dc ? static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY)) : 0;
    if (dc) ReleaseDC(window, dc);
  }
  return dpi >= MIN_TREE_DPI && dpi <= MAX_TREE_DPI ? dpi : DEFAULT_DPI;
}

HIMAGELIST MakeTreeImages(TagTreeContext& ctx, HINSTANCE resourceInstance, UINT dpi) {
  HIMAGELIST images = nullptr;
  if (MakeImageList(ctx, resourceInstance, dpi, images) || dpi == DEFAULT_DPI) return images;
  // Pictures at their 96 DPI size beat blank ones of the right size.
  if (images) ImageList_Destroy(images);
  MakeImageList(ctx, resourceInstance, DEFAULT_DPI, images);
  return images;
}

}  // namespace vx
