// What vxpalette.exe is asked to do by its command line, and the hotkey's
// written form ("Ctrl+Alt+H"), which the settings keep too:
//   vxpalette.exe [--definition FILE] [--method auto|message|keys|clipboard] [--hotkey KEYS] [--help]
#pragma once
#include <string>
#include <vector>

#include "palette/insert/insertion_text.h"

namespace vxpalette {

// The modifier bits of a hotkey, the values RegisterHotKey takes.
inline constexpr unsigned HOTKEY_ALT = 0x1;      // MOD_ALT
inline constexpr unsigned HOTKEY_CONTROL = 0x2;  // MOD_CONTROL
inline constexpr unsigned HOTKEY_SHIFT = 0x4;    // MOD_SHIFT
inline constexpr unsigned HOTKEY_WIN = 0x8;      // MOD_WIN

struct Hotkey {
  unsigned modifiers = 0;
  unsigned key = 0;  // a virtual-key code: A-Z, 0-9, F1-F24, Space
  bool operator==(const Hotkey& other) const { return modifiers == other.modifiers && key == other.key; }
};

// Ctrl+Alt+H: H for HTML; Ctrl with Alt is rarely a program's own command.
inline constexpr Hotkey DEFAULT_HOTKEY{HOTKEY_CONTROL | HOTKEY_ALT, 'H'};

// Case-insensitive names joined by "+": Ctrl (or Control), Alt, Shift, Win,
// then one key. False for anything else, and for a key without Ctrl, Alt or
// Win, which would take a character away from every program.
bool ParseHotkey(const std::u16string& text, Hotkey& hotkey);
std::u16string HotkeyText(const Hotkey& hotkey);

bool ParseMethod(const std::u16string& text, InsertMethod& method);
const char16_t* MethodName(InsertMethod method);

struct CommandLine {
  bool help = false;
  std::u16string definitionPath;  // empty: the HTML5 library beside the program
  bool methodGiven = false;
  InsertMethod method = InsertMethod::Auto;
  bool hotkeyGiven = false;
  Hotkey hotkey = DEFAULT_HOTKEY;
};

// The arguments after the program's name. False for anything the usage above
// does not allow, a value missing or given twice included.
bool ParseCommandLine(const std::vector<std::u16string>& arguments, CommandLine& options);

}  // namespace vxpalette
