#include "hostkit/code_page_text_win32.h"

namespace vxhost {

bool ToWide(UINT codePage, std::string_view bytes, std::wstring* text, DWORD flags) {
  if (bytes.empty()) {
    if (text) text->clear();
    return true;
  }
  const int count = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(codePage, flags, bytes.data(), count, nullptr, 0);
  if (size <= 0) return false;
  if (!text) return true;
  text->assign(static_cast<std::size_t>(size), L'\0');
  return MultiByteToWideChar(codePage, flags, bytes.data(), count, &(*text)[0], size) == size;
}

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  std::wstring text;
  return ToWide(codePage, bytes, &text) ? text : std::wstring();
}

bool ToNarrow(UINT codePage, std::wstring_view text, std::string& bytes, DWORD flags, bool* exact) {
  if (exact) *exact = true;
  if (text.empty()) {
    bytes.clear();
    return true;
  }
  BOOL usedDefault = FALSE;
  BOOL* defaultUsed = exact && codePage != CP_UTF8 ? &usedDefault : nullptr;
  const int count = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(codePage, flags, text.data(), count, nullptr, 0, nullptr, defaultUsed);
  if (size <= 0) return false;
  std::string narrow(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(codePage, flags, text.data(), count, &narrow[0], size, nullptr, defaultUsed) != size) {
    return false;
  }
  if (exact) *exact = !usedDefault;
  bytes.swap(narrow);
  return true;
}

std::string ToNarrow(UINT codePage, std::wstring_view text) {
  std::string bytes;
  return ToNarrow(codePage, text, bytes) ? bytes : std::string();
}

}  // namespace vxhost
