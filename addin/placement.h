// The tag window's outer rectangle as it is kept between runs: four decimal
// texts of at most 19 characters each, read back into 32-bit attributes.
// Platform-free; placement_win32.cpp moves the texts to and from the registry.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vx {

// One text buffer serves every value; a stored text that needs more (19
// characters and its terminating zero) does not fit and counts as missing.
inline constexpr std::size_t PLACEMENT_BUFFER_SIZE = 20;

struct Placement {
  std::int32_t x;
  std::int32_t y;
  std::int32_t w;
  std::int32_t h;
};

// Reads a value text as stored by any writer, whatever its registry type: white
// space (space, \t \n \v \f \r), an optional sign, then digits accumulated with
// 32-bit wrap-around. Stops at the first other byte, at a zero byte, or after
// min(n, PLACEMENT_BUFFER_SIZE) bytes, so an unterminated buffer is never
// overrun. No digits gives 0.
std::int32_t ParsePlacementValue(const char* bytes, std::size_t n);

// Docks against the right quarter of the edit window's outer rectangle, sharing
// its right and bottom edges and starting two pixels below its top.
Placement DefaultPlacement(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom);

// A monitor's work area in screen coordinates.
struct WorkArea {
  std::int32_t left;
  std::int32_t top;
  std::int32_t right;
  std::int32_t bottom;
};

// How much of the title bar must lie in one work area for the user to find
// it and take hold of it: this wide (or the whole width of a narrower
// window), and its whole height; a sliver of a few pixels is found by nobody.
inline constexpr std::int32_t TITLE_GRIP_WIDTH = 32;

// Where a stored placement opens. One whose title bar (its top titleBarHeight
// pixels) some work area shows enough of opens as stored, however much of the
// rest is off the screen. Any other is moved the least distance into the work
// area nearest to it, keeping its size where that fits and reduced to the
// area's where it does not; a size of zero or less stays for the window system
// to bend. With no work areas the placement is kept as it is.
Placement VisiblePlacement(const Placement& stored, const WorkArea* areas, std::size_t count,
                           std::int32_t titleBarHeight);

// Writes value as "%d" into buffer and returns the text length (at most 11).
std::size_t FormatPlacementValue(std::int32_t value, char (&buffer)[PLACEMENT_BUFFER_SIZE]);

}  // namespace vx
