#include "deffile/cp932_codec.h"

#include "deffile/cp932_table.h"

namespace vx {
namespace {

constexpr char32_t HALF_WIDTH_KATAKANA_FIRST = 0xFF61;  // 0xA1

std::size_t LeadRow(unsigned char lead) { return lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31u; }

}  // namespace

char32_t Cp932DoubleByte(unsigned char lead, unsigned char trail) {
  if (!IsCp932LeadByte(lead) || !IsCp932TrailByte(trail)) return 0;
  return CP932_DOUBLE_BYTES[LeadRow(lead)][trail - 0x40u];
}

Cp932Char DecodeCp932(const unsigned char* bytes, std::size_t available) {
  const unsigned char lead = bytes[0];
  if (lead < 0x80) return {1, lead};
  if (IsCp932SingleByte(lead)) return {1, HALF_WIDTH_KATAKANA_FIRST + (lead - 0xA1u)};
  const char32_t character = available >= 2 ? Cp932DoubleByte(lead, bytes[1]) : 0;
  return character != 0 ? Cp932Char{2, character} : Cp932Char{0, 0};
}

std::size_t Cp932InvalidLength(const unsigned char* bytes, std::size_t available) {
  return IsCp932LeadByte(bytes[0]) && available >= 2 && IsCp932TrailByte(bytes[1]) ? 2 : 1;
}

}  // namespace vx
