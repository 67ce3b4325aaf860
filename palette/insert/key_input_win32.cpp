#include "palette/insert/key_input_win32.h"

#include "palette/insert/wait_win32.h"

namespace vxpalette {

namespace {

// Virtual keys that are mouse buttons, not keys: 1 to 6, but for VK_CANCEL (3).
bool IsMouseButton(int vk) { return vk >= VK_LBUTTON && vk <= VK_XBUTTON2 && vk != VK_CANCEL; }

bool AnyKeyDown() {
  for (int vk = 1; vk < 256; ++vk) {
    if (!IsMouseButton(vk) && (GetAsyncKeyState(vk) & 0x8000)) return true;
  }
  return false;
}

INPUT VirtualKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (vk == VK_LEFT ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

INPUT UnicodeKey(char16_t unit, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wScan = unit;
  input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  return input;
}

void AppendPress(std::vector<INPUT>* inputs, WORD vk) {
  inputs->push_back(VirtualKey(vk, false));
  inputs->push_back(VirtualKey(vk, true));
}

void AppendStroke(std::vector<INPUT>* inputs, const KeyStroke& stroke) {
  switch (stroke.kind) {
    case KeyStroke::Kind::Character:
      inputs->push_back(UnicodeKey(stroke.unit, false));
      inputs->push_back(UnicodeKey(stroke.unit, true));
      return;
    case KeyStroke::Kind::Enter: AppendPress(inputs, VK_RETURN); return;
    case KeyStroke::Kind::Left: AppendPress(inputs, VK_LEFT); return;
    case KeyStroke::Kind::Paste:
      inputs->push_back(VirtualKey(VK_CONTROL, false));
      AppendPress(inputs, 'V');
      inputs->push_back(VirtualKey(VK_CONTROL, true));
      return;
  }
}

}  // namespace

bool WaitForKeysReleased(DWORD boundMs) { return WaitUntil([] { return !AnyKeyDown(); }, boundMs); }

bool SendStrokes(const std::vector<KeyStroke>& strokes) {
  std::vector<INPUT> inputs;
  for (const KeyStroke& stroke : strokes) AppendStroke(&inputs, stroke);
  if (inputs.empty()) return true;
  UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return sent == inputs.size();
}

}  // namespace vxpalette
