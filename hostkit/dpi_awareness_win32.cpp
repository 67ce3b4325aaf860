#include "hostkit/dpi_awareness_win32.h"

namespace vxhost {
namespace {

using SetContextFunction = BOOL(WINAPI*)(HANDLE context);
using SetAwareFunction = BOOL(WINAPI*)();
using WindowDpiFunction = UINT(WINAPI*)(HWND window);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which the headers of the
// system version the program is built for do not name.
const HANDLE PER_MONITOR_AWARE_V2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

template <class Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

DpiAwareness DeclareDpiAwareness() {
  if (auto setContext = User32Function<SetContextFunction>("SetProcessDpiAwarenessContext")) {
    if (setContext(PER_MONITOR_AWARE_V2)) return DpiAwareness::PerMonitorV2;
    // ERROR_ACCESS_DENIED: a manifest or an earlier call already decided, and
    // that decision stands. ERROR_INVALID_PARAMETER: a system before v2.
    if (GetLastError() == ERROR_ACCESS_DENIED) return DpiAwareness::Unchanged;
  }
  auto setAware = User32Function<SetAwareFunction>("SetProcessDPIAware");
  return setAware && setAware() ? DpiAwareness::SystemAware : DpiAwareness::Unchanged;
}

UINT WindowDpi(HWND window) {
  if (auto windowDpi = User32Function<WindowDpiFunction>("GetDpiForWindow")) {
    if (const UINT dpi = windowDpi(window)) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : DEFAULT_DPI;
}

}  // namespace vxhost
