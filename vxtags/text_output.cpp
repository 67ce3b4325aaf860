// Field escaping for vxtags output.
#include "vxtags/text_output.h"

#include <cstdio>

#include "deffile/cp932_codec.h"
#include "deffile/utf8.h"

namespace vxtags {
namespace {

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

// Bytes the host's ANSI functions take as one character: a lead byte and a
// following trail byte form a pair even when the pair has no assignment.
std::string Render(const char* bytes, std::size_t n, bool toUtf8) {
  std::string out;
  out.reserve(n);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes);
  for (std::size_t i = 0; i < n;) {
    if (data[i] < 0x80) {
      AppendAscii(out, data[i++]);
      continue;
    }
    const vx::Cp932Char decoded = vx::DecodeCp932(data + i, n - i);
    if (decoded.length == 0) {
      const std::size_t length = vx::Cp932InvalidLength(data + i, n - i);
      for (std::size_t k = 0; k < length; ++k) AppendHexEscape(out, data[i + k]);
      i += length;
    } else if (toUtf8) {
      char utf8[4];
      std::size_t length = 0;
      vx::AppendUtf8(decoded.character, utf8, length);
      out.append(utf8, length);
      i += decoded.length;
    } else {
      out.append(bytes + i, decoded.length);
      i += decoded.length;
    }
  }
  return out;
}

}  // namespace

std::string EscapeField(const char* bytes, std::size_t n) { return Render(bytes, n, false); }

std::string Cp932FieldToUtf8(const char* bytes, std::size_t n) { return Render(bytes, n, true); }

}  // namespace vxtags
