// The edit control's text as the tests read it back: the bytes the control
// gives through the ANSI interface.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace vx::test_support {

inline std::string EditText(HWND edit) {
  const int length = GetWindowTextLengthA(edit);  // may overestimate, never underestimates
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(edit, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

}  // namespace vx::test_support
