#include "palette/settings_win32.h"

namespace vxpalette {
namespace {

const wchar_t DEFINITION_VALUE[] = L"DefinitionFile";
const wchar_t METHOD_VALUE[] = L"Method";
const wchar_t HOTKEY_VALUE[] = L"Hotkey";
const wchar_t ALWAYS_ON_TOP_VALUE[] = L"AlwaysOnTop";
const wchar_t RUN_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t RUN_VALUE[] = L"vxpalette";

std::u16string AsU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

bool ReadText(HKEY key, const wchar_t* name, std::wstring& text) {
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD type = 0;
  DWORD size = sizeof buffer - sizeof buffer[0];
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  text.assign(buffer, size / sizeof buffer[0]);
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return true;
}

void WriteText(HKEY key, const wchar_t* name, const std::wstring& text) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring ProgramCommand() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  return L"\"" + std::wstring(path, length) + L"\"";
}

}  // namespace

PaletteSettings LoadSettings() {
  PaletteSettings settings;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return settings;
  std::wstring text;
  if (ReadText(key, DEFINITION_VALUE, text)) settings.definitionPath = text;
  if (ReadText(key, METHOD_VALUE, text)) ParseMethod(AsU16(text), settings.method);
  if (ReadText(key, HOTKEY_VALUE, text)) ParseHotkey(AsU16(text), settings.hotkey);
  DWORD onTop = 0;
  DWORD type = 0;
  DWORD size = sizeof onTop;
  if (RegQueryValueExW(key, ALWAYS_ON_TOP_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(&onTop), &size) ==
          ERROR_SUCCESS && type == REG_DWORD)
    settings.alwaysOnTop = onTop != 0;
  RegCloseKey(key);
  return settings;
}

void SaveSettings(const PaletteSettings& settings) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  WriteText(key, DEFINITION_VALUE, settings.definitionPath);
  const std::u16string method = MethodName(settings.method);
  WriteText(key, METHOD_VALUE, std::wstring(method.begin(), method.end()));
  const std::u16string hotkey = HotkeyText(settings.hotkey);
  WriteText(key, HOTKEY_VALUE, std::wstring(hotkey.begin(), hotkey.end()));
  const DWORD onTop = settings.alwaysOnTop ? 1 : 0;
  RegSetValueExW(key, ALWAYS_ON_TOP_VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&onTop), sizeof onTop);
  RegCloseKey(key);
}

bool StartsWithWindows() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  std::wstring command;
  const bool found = ReadText(key, RUN_VALUE, command);
  RegCloseKey(key);
  return found && command == ProgramCommand();
}

bool SetStartWithWindows(bool start) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const std::wstring command = ProgramCommand();
  LONG result = ERROR_SUCCESS;
  if (start && !command.empty()) {
    result = RegSetValueExW(key, RUN_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  } else if (!start) {
    result = RegDeleteValueW(key, RUN_VALUE);
    if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return result == ERROR_SUCCESS && !(start && command.empty());
}

}  // namespace vxpalette
