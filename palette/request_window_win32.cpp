#include "palette/request_window_win32.h"

#include <cstdint>

#include "protocol/messages_win32.h"

namespace vxpalette {
namespace {

const wchar_t CLASS_NAME[] = L"VxPaletteRequests";

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == vx::WM_HOST_INSERT) {
    auto* collector = reinterpret_cast<InsertionCollector*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // The code is a signed 32-bit value however the sender widened it; the
    // text is valid only during this call, and the collector copies it.
    if (collector) collector->Add(static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam)),
                                  reinterpret_cast<const char*>(lParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

RECT WorkAreaUnderPointer() {
  POINT pointer{};
  GetCursorPos(&pointer);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &info)) return info.rcWork;
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

HWND CreateRequestWindow(HINSTANCE instance, InsertionCollector* collector) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = CLASS_NAME;
  RegisterClassW(&windowClass);  // fails harmlessly once registered
  const RECT area = WorkAreaUnderPointer();
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, CLASS_NAME, L"", WS_POPUP, area.left, area.top,
                                area.right - area.left, area.bottom - area.top, nullptr, nullptr, instance, nullptr);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(collector));
  return window;
}

}  // namespace vxpalette
