// The data behind cp932_codec.h; only the codec and its test read it. The
// table itself is generated: tools/make-cp932-table.py.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vx {

inline constexpr std::size_t CP932_LEAD_COUNT = 60;     // 0x81..0x9F, 0xE0..0xFC
inline constexpr std::size_t CP932_TRAIL_SPAN = 0xC0;   // 0x40..0xFF
inline constexpr std::size_t CP932_SECOND_CODE_COUNT = 398;

extern const std::uint16_t CP932_DOUBLE_BYTES[CP932_LEAD_COUNT][CP932_TRAIL_SPAN];
// Lead byte times 256 plus trail byte, ascending.
extern const std::uint16_t CP932_SECOND_CODES[CP932_SECOND_CODE_COUNT];

}  // namespace vx
