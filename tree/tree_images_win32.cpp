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
HBITMAP ScaledBitmap(HBITMAP bitmap, UINT dpi) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info)) return nullptr;
  const int width = MulDiv(info.bmWidth, static_cast<int>(dpi), DEFAULT_DPI);
  const int height = MulDiv(info.bmHeight, static_cast<int>(dpi), DEFAULT_DPI);
  HDC screen = GetDC(nullptr);
  HDC from = CreateCompatibleDC(screen);
  HDC to = CreateCompatibleDC(screen);
  HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
  if (from && to && scaled) {
    HGDIOBJ oldFrom = SelectObject(from, bitmap);
    HGDIOBJ oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
  }
  if (to) DeleteDC(to);
  if (from) DeleteDC(from);
  ReleaseDC(nullptr, screen);
  return scaled;
}

std::int32_t AddTreeImage(HIMAGELIST images, HINSTANCE resourceInstance, const char* name,
                          UINT dpi) {
  HBITMAP bitmap = LoadTreeBitmap(resourceInstance, name);
  if (!bitmap) return -1;
  std::int32_t index = -1;
  if (dpi == DEFAULT_DPI) {
    index = ImageList_Add(images, bitmap, nullptr);
  } else if (HBITMAP scaled = ScaledBitmap(bitmap, dpi)) {
    index = ImageList_Add(images, scaled, nullptr);
    DeleteObject(scaled);
  }
  DeleteObject(bitmap);
  return index;
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
  HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR, IMAGE_LIST_INITIAL, 0);
  for (const Slot& slot : SLOTS) {
    ctx.*slot.index = images ? AddTreeImage(images, resourceInstance, slot.name, dpi) : -1;
  }
  return images;
}

}  // namespace vx
