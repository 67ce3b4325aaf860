// UTF-8 one character at a time, for the converter's two directions and the
// tools' output.
#pragma once
#include <cstddef>

namespace vx {

void AppendUtf8(char32_t c, char* out, std::size_t& length);  // out holds at least 4 bytes

// The character starting at bytes, strictly (no overlong forms, no
// surrogates, nothing above U+10FFFF); length 0 means not valid UTF-8, and
// then invalidLength is the maximal part that can never become valid.
struct Utf8Decoded {
  std::size_t length;
  char32_t character;
  std::size_t invalidLength;
};
Utf8Decoded DecodeUtf8(const unsigned char* bytes, std::size_t available);

}  // namespace vx
