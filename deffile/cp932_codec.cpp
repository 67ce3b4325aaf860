#include "deffile/cp932_codec.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "deffile/cp932_table.h"

namespace vx {
namespace {

constexpr char32_t HALF_WIDTH_KATAKANA_FIRST = 0xFF61;  // 0xA1
constexpr char32_t HALF_WIDTH_KATAKANA_LAST = 0xFF9F;   // 0xDF

std::size_t LeadRow(unsigned char lead) { return lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31u; }

// Every character's preferred code, sorted by character, made once on the
// first encoding: the table is keyed by code, converting asks by character.
class EncodeIndex {
 public:
  EncodeIndex() {
    for (std::size_t row = 0; row < CP932_LEAD_COUNT; ++row) {
      const unsigned lead = row < 31 ? 0x81 + row : 0xE0 + row - 31;
      for (std::size_t column = 0; column < CP932_TRAIL_SPAN; ++column) {
        const std::uint16_t character = CP932_DOUBLE_BYTES[row][column];
        const auto code = static_cast<std::uint16_t>(lead << 8 | (0x40 + column));
        if (character == 0 ||
            std::binary_search(std::begin(CP932_SECOND_CODES), std::end(CP932_SECOND_CODES), code))
          continue;
        entries_[count_++] = {character, code};
      }
    }
    std::sort(entries_, entries_ + count_,
              [](const Entry& a, const Entry& b) { return a.character < b.character; });
  }

  // The code of c, or 0.
  std::uint16_t Find(char32_t c) const {
    const Entry* end = entries_ + count_;
    const Entry* found = std::lower_bound(entries_, end, c, [](const Entry& e, char32_t key) { return e.character < key; });
    return found != end && found->character == c ? found->code : 0;
  }

 private:
  struct Entry {
    std::uint16_t character;
    std::uint16_t code;
  };
  Entry entries_[CP932_LEAD_COUNT * CP932_TRAIL_SPAN];
  std::size_t count_ = 0;
};

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

std::size_t EncodeCp932(char32_t c, unsigned char out[2]) {
  if (c < 0x80) {
    out[0] = static_cast<unsigned char>(c);
    return 1;
  }
  if (c >= HALF_WIDTH_KATAKANA_FIRST && c <= HALF_WIDTH_KATAKANA_LAST) {
    out[0] = static_cast<unsigned char>(0xA1 + (c - HALF_WIDTH_KATAKANA_FIRST));
    return 1;
  }
  static const EncodeIndex encodeIndex;
  const std::uint16_t code = c <= 0xFFFF ? encodeIndex.Find(c) : 0;
  if (code == 0) return 0;
  out[0] = static_cast<unsigned char>(code >> 8);
  out[1] = static_cast<unsigned char>(code & 0xFF);
  return 2;
}

}  // namespace vx
