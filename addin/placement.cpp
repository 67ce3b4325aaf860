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

std::int64_t Overlap(std::int64_t low1, std::int64_t high1, std::int64_t low2, std::int64_t high2) {
  return (high1 < high2 ? high1 : high2) - (low1 > low2 ? low1 : low2);
}

// Distance from a span to another along one axis; 0 where they meet.
std::int64_t Gap(std::int64_t low1, std::int64_t high1, std::int64_t low2, std::int64_t high2) {
  if (high1 < low2) return low2 - high1;
  if (high2 < low1) return low1 - high2;
  return 0;
}

std::int64_t Clamp(std::int64_t value, std::int64_t low, std::int64_t high) {
  if (value > high) value = high;
  return value < low ? low : value;
}

// The outer rectangle a window with this placement covers at the least: the
// window system widens a window of no width to a usable one.
struct Span {
  std::int64_t left, top, right, bottom;
};
Span Covered(const Placement& p, std::int64_t height) {
  const std::int64_t width = p.w > 0 ? p.w : TITLE_GRIP_WIDTH;
  return Span{p.x, p.y, static_cast<std::int64_t>(p.x) + width, static_cast<std::int64_t>(p.y) + height};
}

bool ShowsTitleBar(const Span& title, const WorkArea& area) {
  const std::int64_t width = title.right - title.left;
  const std::int64_t wantWidth = width < TITLE_GRIP_WIDTH ? width : TITLE_GRIP_WIDTH;
  return Overlap(title.left, title.right, area.left, area.right) >= wantWidth &&
         Overlap(title.top, title.bottom, area.top, area.bottom) >= title.bottom - title.top;
}

// Along the axes, so that no coordinate the registry can hold overflows it.
std::int64_t Distance(const Span& window, const WorkArea& area) {
  return Gap(window.left, window.right, area.left, area.right) +
         Gap(window.top, window.bottom, area.top, area.bottom);
}

// The size along one axis, reduced to the area's when larger.
std::int64_t Fitted(std::int32_t size, std::int64_t room) {
  return size > room && room > 0 ? room : size;
}

}  // namespace

Placement VisiblePlacement(const Placement& stored, const WorkArea* areas, std::size_t count,
                           std::int32_t titleBarHeight) {
  if (areas == nullptr || count == 0) return stored;
  const Span title = Covered(stored, titleBarHeight > 0 ? titleBarHeight : 1);
  for (std::size_t i = 0; i < count; ++i) {
    if (ShowsTitleBar(title, areas[i])) return stored;
  }

  const Span window = Covered(stored, stored.h > 0 ? stored.h : titleBarHeight);
  const WorkArea* nearest = &areas[0];
  for (std::size_t i = 1; i < count; ++i) {
    if (Distance(window, areas[i]) < Distance(window, *nearest)) nearest = &areas[i];
  }
  const std::int64_t w = Fitted(stored.w, static_cast<std::int64_t>(nearest->right) - nearest->left);
  const std::int64_t h = Fitted(stored.h, static_cast<std::int64_t>(nearest->bottom) - nearest->top);
  const Span moved = Covered(Placement{stored.x, stored.y, Wrap(w), Wrap(h)},
                             h > 0 ? h : titleBarHeight);
  const std::int64_t x = Clamp(stored.x, nearest->left, nearest->right - (moved.right - moved.left));
  const std::int64_t y = Clamp(stored.y, nearest->top, nearest->bottom - (moved.bottom - moved.top));
  return Placement{Wrap(x), Wrap(y), Wrap(w), Wrap(h)};
}

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
