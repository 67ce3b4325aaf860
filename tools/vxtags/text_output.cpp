// Field escaping for vxtags output.
#include "tools/vxtags/text_output.h"

#include <iconv.h>

#include <cstdio>

namespace vxtags {
namespace {

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Bytes the host's ANSI functions take as one character: a lead byte and a
// following trail byte form a pair even when the pair has no assignment.
std::size_t CharacterLength(const char* bytes, std::size_t i, std::size_t n) {
  const auto b = static_cast<unsigned char>(bytes[i]);
  if (!IsLeadByte(b) || i + 1 >= n) return 1;
  return IsTrailByte(static_cast<unsigned char>(bytes[i + 1])) ? 2 : 1;
}

void AppendHexEscape(std::string& out, unsigned char b) {
  char escaped[5];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
  out += escaped;
}

void AppendAscii(std::string& out, unsigned char b) {
  if (b == '\\') {
    out += "\\\\";
  } else if (b == '\t') {
    out += "\\t";
  } else if (b < 0x20 || b == 0x7F) {
    AppendHexEscape(out, b);
  } else {
    out += static_cast<char>(b);
  }
}

// Converts one non-ASCII character (1 or 2 bytes) from code page 932 to UTF-8;
// false when the converter rejects it, which is what "not valid" means here.
bool ConvertCharacter(const char* bytes, std::size_t length, std::string* utf8) {
  static iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  char input[2] = {bytes[0], length > 1 ? bytes[1] : '\0'};
  char output[8];
  char* in = input;
  char* out = output;
  std::size_t inLeft = length;
  std::size_t outLeft = sizeof output;
  if (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
    return false;
  if (utf8 != nullptr) utf8->assign(output, static_cast<std::size_t>(out - output));
  return true;
}

std::string Render(const char* bytes, std::size_t n, bool toUtf8) {
  std::string out;
  out.reserve(n);
  std::string converted;
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      AppendAscii(out, b);
      ++i;
      continue;
    }
    const std::size_t length = CharacterLength(bytes, i, n);
    if (ConvertCharacter(bytes + i, length, &converted)) {
      if (toUtf8) {
        out += converted;
      } else {
        out.append(bytes + i, length);
      }
      i += length;
    } else {
      for (std::size_t k = 0; k < length; ++k) AppendHexEscape(out, static_cast<unsigned char>(bytes[i + k]));
      i += length;
    }
  }
  return out;
}

}  // namespace

std::string EscapeField(const char* bytes, std::size_t n) { return Render(bytes, n, false); }

std::string Cp932FieldToUtf8(const char* bytes, std::size_t n) { return Render(bytes, n, true); }

}  // namespace vxtags
