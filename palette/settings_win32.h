// The palette's settings, kept under a registry key of its own
// (HKEY_CURRENT_USER\Software\VX\vxpalette), and its start with Windows (the
// user's Run key).
#pragma once
#include <windows.h>

#include <string>

#include "palette/command_line.h"

namespace vxpalette {

inline constexpr wchar_t SETTINGS_KEY[] = L"Software\\VX\\vxpalette";

struct PaletteSettings {
  std::wstring definitionPath;  // empty: the HTML5 library beside the program
  InsertMethod method = InsertMethod::Auto;
  Hotkey hotkey = DEFAULT_HOTKEY;
  bool alwaysOnTop = false;
};

// What was stored; a value that is missing or unreadable keeps its default.
PaletteSettings LoadSettings();
void SaveSettings(const PaletteSettings& settings);

bool StartsWithWindows();
// Writes or removes the Run key's value naming this program. Returns whether
// it took.
bool SetStartWithWindows(bool start);

}  // namespace vxpalette
