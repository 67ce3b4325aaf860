// The tag window's placement in the current user's registry hive.
#pragma once
#include <windows.h>

#include "addin/placement.h"

namespace vx {

// Under HKEY_CURRENT_USER; created at the first opening, before any value exists.
inline constexpr const char* PLACEMENT_KEY = "Software\\Dravelco\\Quellpad\\Show";
inline constexpr const char* PLACEMENT_VALUE_NAMES[4] = {"HtWinX", "HtWinY", "HtWinW", "HtWinH"};

// Each value that cannot be read gives its own default from editWindow's
// outer rectangle; a value of any type that can be read is taken as text.
Placement LoadPlacement(HWND editWindow);

// Where a stored placement opens on the monitors as they are now: as stored
// while some work area shows its title bar, in the nearest one otherwise. When
// the monitors cannot be asked, the primary monitor's work area serves.
Placement ShownPlacement(const Placement& stored);

// Writes all four values as REG_SZ with their terminating zero; silent on failure.
void SavePlacement(const Placement& placement);

}  // namespace vx
