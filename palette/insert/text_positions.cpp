#include "palette/insert/text_positions.h"

namespace vxpalette {

namespace {

// The units of the position starting at `index`: 2 for a CR LF counted as one.
std::size_t UnitsOfPositionAt(const std::u16string& text, std::size_t index, PositionCount count) {
  if (count == PositionCount::ParagraphEndIsOne && text[index] == u'\r' && index + 1 < text.size() &&
      text[index + 1] == u'\n') {
    return 2;
  }
  return 1;
}

}  // namespace

std::size_t PositionsIn(const std::u16string& text, PositionCount count) {
  std::size_t positions = 0;
  for (std::size_t i = 0; i < text.size(); i += UnitsOfPositionAt(text, i, count)) ++positions;
  return positions;
}

std::size_t UnitIndexAt(const std::u16string& text, std::size_t position, PositionCount count) {
  std::size_t i = 0;
  for (; i < text.size() && position > 0; --position) i += UnitsOfPositionAt(text, i, count);
  return i;
}

}  // namespace vxpalette
