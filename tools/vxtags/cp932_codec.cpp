#include "tools/vxtags/cp932_codec.h"

namespace vxtags {
namespace {

void PutUtf32(char32_t c, char out[4]) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((c >> (8 * i)) & 0xFF);
}

char32_t GetUtf32(const char in[4]) {
  char32_t c = 0;
  for (int i = 3; i >= 0; --i) c = (c << 8) | static_cast<unsigned char>(in[i]);
  return c;
}

bool IsHalfWidthKatakana(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }

}  // namespace

Cp932Codec::Cp932Codec()
    : toCp932_(OpenConverter(Direction::ToCp932)), fromCp932_(OpenConverter(Direction::FromCp932)) {}

Cp932Codec::~Cp932Codec() {
  CloseConverter(toCp932_);
  CloseConverter(fromCp932_);
}

std::size_t Cp932Codec::Encode(char32_t c, unsigned char out[2]) {
  if (c < 0x80) {
    out[0] = static_cast<unsigned char>(c);
    return 1;
  }
  char wide[4];
  PutUtf32(c, wide);
  char bytes[8];
  const std::size_t length = Convert(toCp932_, wide, sizeof wide, bytes, sizeof bytes);
  if (length == 0 || length > 2) return 0;
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (length == 1 ? !IsHalfWidthKatakana(lead) : !IsLeadByte(lead)) return 0;
  // A best-fit substitute decodes to another character than the one given.
  const Decoded back = Decode(reinterpret_cast<const unsigned char*>(bytes), length);
  if (back.length != length || back.character != c) return 0;
  for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<unsigned char>(bytes[i]);
  return length;
}

Cp932Codec::Decoded Cp932Codec::Decode(const unsigned char* bytes, std::size_t available) {
  const unsigned char lead = bytes[0];
  if (lead < 0x80) return {1, lead};
  if (IsHalfWidthKatakana(lead)) return {1, static_cast<char32_t>(0xFF61 + (lead - 0xA1))};
  if (!IsLeadByte(lead) || available < 2 || !IsTrailByte(bytes[1])) return {0, 0};
  char wide[8];
  const std::size_t length = Convert(fromCp932_, reinterpret_cast<const char*>(bytes), 2, wide, sizeof wide);
  if (length != 4) return {0, 0};
  return {2, GetUtf32(wide)};
}

std::size_t Cp932Codec::InvalidLength(const unsigned char* bytes, std::size_t available) {
  return IsLeadByte(bytes[0]) && available >= 2 && IsTrailByte(bytes[1]) ? 2 : 1;
}

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

}  // namespace vxtags
