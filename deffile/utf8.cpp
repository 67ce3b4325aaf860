#include "deffile/utf8.h"

namespace vx {

void AppendUtf8(char32_t c, char* out, std::size_t& length) {
  if (c < 0x80) {
    out[length++] = static_cast<char>(c);
  } else if (c < 0x800) {
    out[length++] = static_cast<char>(0xC0 | (c >> 6));
    out[length++] = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out[length++] = static_cast<char>(0xE0 | (c >> 12));
    out[length++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[length++] = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out[length++] = static_cast<char>(0xF0 | (c >> 18));
    out[length++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[length++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[length++] = static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Unicode's table of well-formed byte sequences: the second byte's range
// depends on the first, which rules out overlong forms, surrogates and
// values past U+10FFFF.
Utf8Decoded DecodeUtf8(const unsigned char* bytes, std::size_t available) {
  const unsigned char b = bytes[0];
  if (b < 0x80) return {1, b, 0};
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  char32_t c = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    c = b & 0x0F;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    c = b & 0x07;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return {0, 0, 1};
  }
  for (std::size_t i = 1; i < length; ++i) {
    const bool inRange = i < available && bytes[i] >= (i == 1 ? low : 0x80) && bytes[i] <= (i == 1 ? high : 0xBF);
    if (!inRange) return {0, 0, i};
    c = (c << 6) | (bytes[i] & 0x3F);
  }
  return {length, c, 0};
}

}  // namespace vx
