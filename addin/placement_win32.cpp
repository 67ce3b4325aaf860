#include "addin/placement_win32.h"

namespace vx {
namespace {

// An edit window that is gone has no rectangle to dock against; docking against
// the work area instead keeps the window visible and of a usable size.
RECT DockingRectangle(HWND editWindow) {
  RECT rect{};
  if (GetWindowRect(editWindow, &rect)) return rect;
  if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0)) return rect;
  return RECT{0, 0, 800, 600};
}

// The attribute of each value, in the order of PLACEMENT_VALUE_NAMES.
constexpr std::int32_t Placement::*FIELDS[] = {&Placement::x, &Placement::y, &Placement::w,
                                                &Placement::h};

HKEY OpenPlacementKey() {
  HKEY key = nullptr;
  DWORD disposition = 0;
  const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, PLACEMENT_KEY, 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, &key, &disposition);
  return status == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

Placement LoadPlacement(HWND editWindow) {
  const RECT dock = DockingRectangle(editWindow);
  Placement placement = DefaultPlacement(dock.left, dock.top, dock.right, dock.bottom);
  HKEY key = OpenPlacementKey();
  if (key == nullptr) return placement;
  for (int i = 0; i < 4; ++i) {
    char buffer[PLACEMENT_BUFFER_SIZE] = {};
    DWORD size = sizeof buffer;  // afresh: the query overwrites it
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key, PLACEMENT_VALUE_NAMES[i], nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    if (status == ERROR_SUCCESS) {
      placement.*FIELDS[i] = ParsePlacementValue(buffer, size < sizeof buffer ? size : sizeof buffer);
    }
  }
  RegCloseKey(key);
  return placement;
}

void SavePlacement(const Placement& placement) {
  HKEY key = OpenPlacementKey();
  if (key == nullptr) return;
  for (int i = 0; i < 4; ++i) {
    char buffer[PLACEMENT_BUFFER_SIZE];
    const std::size_t length = FormatPlacementValue(placement.*FIELDS[i], buffer);
    RegSetValueExA(key, PLACEMENT_VALUE_NAMES[i], 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(buffer), static_cast<DWORD>(length + 1));
  }
  RegCloseKey(key);
}

}  // namespace vx
