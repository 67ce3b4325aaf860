// Encoding, apart from decoding: its index is made on first use, behind the
// C++ runtime's guard of a local static, which a module that only decodes
// (the add-in's filter) must not link.
#include "deffile/cp932_codec.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "deffile/cp932_table.h"

namespace vx {
namespace {

constexpr char32_t HALF_WIDTH_KATAKANA_FIRST = 0xFF61;  // 0xA1
constexpr char32_t HALF_WIDTH_KATAKANA_LAST = 0xFF9F;   // 0xDF

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
