#include "tree/cp932_text_win32.h"

#include "tree/text_fold.h"

namespace vx {
namespace {

constexpr UINT CODE_PAGE_932 = 932;
// A resource string is read whole before it is cut: cutting the UTF-16 text
// instead could keep more characters than the 932 bytes have room for.
constexpr int RESOURCE_STRING_SIZE = 512;

}  // namespace

// The project's own table rather than the system's converter: bytes that are
// no character of 932 show as U+FFFD, as in the filter's results, instead of
// as whatever character the system substitutes.
wchar_t* WidenCp932(const char* text, wchar_t (&wide)[CAPTION_WIDE_SIZE]) {
  DecodeCp932Text(text, reinterpret_cast<char16_t*>(wide), CAPTION_WIDE_SIZE);
  return wide;
}

int LoadCp932String(HINSTANCE instance, UINT id, char* buffer, int size) {
  if (size <= 0) return 0;
  buffer[0] = '\0';
  wchar_t wide[RESOURCE_STRING_SIZE];
  const int units = LoadStringW(instance, id, wide, RESOURCE_STRING_SIZE);
  if (units <= 0) return 0;
  char whole[RESOURCE_STRING_SIZE * 2];
  const int bytes = WideCharToMultiByte(CODE_PAGE_932, 0, wide, units, whole, sizeof whole,
                                        nullptr, nullptr);
  // Whole characters only: a lead byte without its trail would turn the
  // caption's last character into another one.
  int length = 0;
  while (length < bytes) {
    const int step = IsDBCSLeadByteEx(CODE_PAGE_932, static_cast<BYTE>(whole[length])) ? 2 : 1;
    if (length + step > size - 1 || length + step > bytes) break;
    length += step;
  }
  for (int i = 0; i < length; ++i) buffer[i] = whole[i];
  buffer[length] = '\0';
  return length;
}

}  // namespace vx
