// The codec's converters on Windows: the system's own code page 932 table,
// without best fit, so a character without a code of its own is refused.
#include <windows.h>

#include "tools/vxtags/cp932_codec.h"

namespace vxtags {
namespace {

constexpr UINT CP932 = 932;
// Any two distinct non-null values: the converters keep no state.
char ToCp932Tag, FromCp932Tag;

}  // namespace

void* Cp932Codec::OpenConverter(Direction direction) {
  return direction == Direction::ToCp932 ? &ToCp932Tag : &FromCp932Tag;
}

void Cp932Codec::CloseConverter(void*) {}

std::size_t Cp932Codec::Convert(void* converter, const char* in, std::size_t inLength, char* out,
                                std::size_t outSize) {
  wchar_t wide[4];
  if (converter == &ToCp932Tag) {
    if (inLength != 4) return 0;
    char32_t c = 0;
    for (int i = 3; i >= 0; --i) c = (c << 8) | static_cast<unsigned char>(in[i]);
    int units = 1;
    if (c >= 0x10000) {
      wide[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      wide[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      units = 2;
    } else {
      wide[0] = static_cast<wchar_t>(c);
    }
    BOOL defaulted = FALSE;
    const int length = WideCharToMultiByte(CP932, WC_NO_BEST_FIT_CHARS, wide, units, out, static_cast<int>(outSize),
                                           nullptr, &defaulted);
    return length > 0 && !defaulted ? static_cast<std::size_t>(length) : 0;
  }
  const int units = MultiByteToWideChar(CP932, MB_ERR_INVALID_CHARS, in, static_cast<int>(inLength), wide, 4);
  if (units != 1 || outSize < 4) return 0;
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((static_cast<char32_t>(wide[0]) >> (8 * i)) & 0xFF);
  return 4;
}

}  // namespace vxtags
