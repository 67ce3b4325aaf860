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

// More monitors than this are rare enough that the ones past it may go unseen.
constexpr std::size_t MAX_WORK_AREAS = 16;

struct WorkAreas {
  WorkArea areas[MAX_WORK_AREAS];
  std::size_t count;
};

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
  auto* list = reinterpret_cast<WorkAreas*>(context);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  // A monitor that cannot be asked is left out; the rest still count.
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT& r = info.rcWork;
  list->areas[list->count++] = WorkArea{r.left, r.top, r.right, r.bottom};
  return list->count < MAX_WORK_AREAS;
}

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

Placement ShownPlacement(const Placement& stored) {
  WorkAreas list{};
  if (!EnumDisplayMonitors(nullptr, nullptr, &CollectWorkArea, reinterpret_cast<LPARAM>(&list))) {
    list.count = 0;
  }
  RECT primary{};
  if (list.count == 0 && SystemParametersInfoA(SPI_GETWORKAREA, 0, &primary, 0)) {
    list.areas[list.count++] = WorkArea{primary.left, primary.top, primary.right, primary.bottom};
  }
  const int titleBar = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
  return VisiblePlacement(stored, list.areas, list.count, titleBar);
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
