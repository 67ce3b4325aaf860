#include "addin/placement.h"

namespace vx {
namespace {

bool IsValueSpace(unsigned char c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

// Rectangles come from the window system, but a hostile or stale one must not
// overflow: work in 64 bits and wrap back the way 32-bit arithmetic would.
std::int32_t Wrap(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

std::int32_t ParsePlacementValue(const char* bytes, std::size_t n) {
  if (bytes == nullptr) return 0;
  const std::size_t end = n < PLACEMENT_BUFFER_SIZE ? n : PLACEMENT_BUFFER_SIZE;
  std::size_t i = 0;
  while (i < end && IsValueSpace(static_cast<unsigned char>(bytes[i]))) ++i;
  bool negative = false;
  if (i < end && (bytes[i] == '+' || bytes[i] == '-')) {
    negative = bytes[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < end && bytes[i] >= '0' && bytes[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(bytes[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

Placement DefaultPlacement(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) {
  const std::int64_t quarter = (static_cast<std::int64_t>(right) - left) / 4;
  return Placement{Wrap(right - quarter), Wrap(static_cast<std::int64_t>(top) + 2),
                   Wrap(quarter), Wrap(static_cast<std::int64_t>(bottom) - top - 2)};
}

// By hand rather than through snprintf: the shipped DLL then carries no
// formatted-output library for the sake of one decimal number.
std::size_t FormatPlacementValue(std::int32_t value, char (&buffer)[PLACEMENT_BUFFER_SIZE]) {
  char digits[10];
  std::size_t count = 0;
  std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value)
                                      : static_cast<std::uint32_t>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10u);
    magnitude /= 10u;
  } while (magnitude != 0);
  std::size_t length = 0;
  if (value < 0) buffer[length++] = '-';
  while (count > 0) buffer[length++] = digits[--count];
  buffer[length] = '\0';
  return length;
}

}  // namespace vx
