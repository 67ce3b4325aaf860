// Code page 932 one character at a time, strictly, from one table: what
// "vxtags check" judges and what "vxtags convert" writes agree by
// construction. A character encodes only to the code that Windows writes for
// it, and only when that code decodes back to the same character, so
// best-fit substitutes (U+00A5 to 0x5C, U+2014 to 0x81 0x5C and the like) are
// refused, as Windows refuses them when best fit is off. The single bytes
// 0x80, 0xA0 and 0xFD to 0xFF, which Windows maps to U+0080 and private code
// points, are not characters here.
#pragma once
#include <cstddef>

namespace vx {

struct Cp932Char {
  std::size_t length;  // bytes taken: 1 or 2; 0 means the bytes at hand form no character
  char32_t character;
};

inline bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline bool IsCp932TrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
inline bool IsCp932SingleByte(unsigned char b) { return b < 0x80 || (b >= 0xA1 && b <= 0xDF); }

// The character of a lead and a trail byte, or 0 when the pair has none.
char32_t Cp932DoubleByte(unsigned char lead, unsigned char trail);

// The character that starts at bytes (available > 0). An invalid sequence
// takes nothing; Cp932InvalidLength tells how far it reaches.
Cp932Char DecodeCp932(const unsigned char* bytes, std::size_t available);

// How many bytes an invalid sequence at bytes spans, for reporting it: the
// lead and the trail when a trail byte follows the lead, else one byte.
std::size_t Cp932InvalidLength(const unsigned char* bytes, std::size_t available);

// Writes the one or two bytes of c and returns their count; 0 when code page
// 932 has no code of its own for c.
std::size_t EncodeCp932(char32_t c, unsigned char out[2]);

}  // namespace vx
