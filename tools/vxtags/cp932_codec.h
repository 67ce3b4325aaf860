// Code page 932 one character at a time, strictly: a character converts only
// when the code it gets converts back to that same character, so the best-fit
// substitutes of glibc's converter (U+00A5 to 0x5C, U+203E to 0x7E, U+301C to
// 0x81 0x60, U+2014 to 0x81 0x5C and the like) are refused, as Windows refuses
// them when best fit is off. Checked against Windows' own tables (as Wine
// ships them) on every code point: the only difference is that the single
// bytes 0x80, 0xA0 and 0xFD to 0xFF, which Windows maps to U+0080 and private
// code points, are not characters here, as "vxtags check" judges them too.
#pragma once
#include <cstddef>

namespace vxtags {

class Cp932Codec {
 public:
  Cp932Codec();
  ~Cp932Codec();
  Cp932Codec(const Cp932Codec&) = delete;
  Cp932Codec& operator=(const Cp932Codec&) = delete;

  // Writes the one or two bytes of c and returns their count; 0 when code
  // page 932 has no code of its own for c.
  std::size_t Encode(char32_t c, unsigned char out[2]);

  struct Decoded {
    std::size_t length;   // bytes taken: 1 or 2; 0 means the bytes at hand form no character
    char32_t character;
  };
  // The character that starts at bytes (available > 0). An invalid sequence
  // takes the lead byte alone, or lead and trail when the trail is a trail byte.
  Decoded Decode(const unsigned char* bytes, std::size_t available);

  static bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
  static bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
  // How many bytes an invalid sequence at bytes spans, for reporting it.
  static std::size_t InvalidLength(const unsigned char* bytes, std::size_t available);

 private:
  // The system's converters (cp932_converter_posix.cpp, cp932_converter_win32.cpp).
  enum class Direction { ToCp932, FromCp932 };
  static void* OpenConverter(Direction direction);
  static void CloseConverter(void* converter);
  // One whole conversion between UTF-32LE and code page 932; 0 when the
  // converter refuses any of it or is missing.
  static std::size_t Convert(void* converter, const char* in, std::size_t inLength, char* out, std::size_t outSize);

  void* toCp932_;
  void* fromCp932_;
};

// UTF-8 helpers shared by the converter's two directions.
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

}  // namespace vxtags
