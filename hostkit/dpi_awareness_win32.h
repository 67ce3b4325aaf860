// A host's DPI awareness, declared for the whole process before
// its first window: per-monitor (v2) where the system offers it, so that the
// tag window can follow the DPI of its monitor; system-aware otherwise.
#pragma once
#include <windows.h>

namespace vxhost {

// Unchanged: the process had already decided (a manifest or an earlier call).
enum class DpiAwareness { PerMonitorV2, SystemAware, Unchanged };

// Declared at run time through GetProcAddress, so that the same program
// starts on systems older than the call it prefers.
DpiAwareness DeclareDpiAwareness();

// The DPI a window is shown at: its monitor's where the system tells it,
// the system's otherwise.
UINT WindowDpi(HWND window);
inline constexpr UINT DEFAULT_DPI = 96;

}  // namespace vxhost
