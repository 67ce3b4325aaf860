#include "palette/insert/key_plan.h"

namespace vxpalette {

namespace {

bool IsLineEndUnit(char16_t unit) { return unit == u'\r' || unit == u'\n'; }
bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The units of the character starting at `index`, a CR LF and a surrogate pair counted as one.
std::size_t UnitsOfCharacterAt(const std::u16string& text, std::size_t index) {
  bool hasNext = index + 1 < text.size();
  if (hasNext && text[index] == u'\r' && text[index + 1] == u'\n') return 2;
  if (hasNext && IsHighSurrogate(text[index]) && IsLowSurrogate(text[index + 1])) return 2;
  return 1;
}

}  // namespace

std::vector<KeyStroke> TypingStrokes(const std::u16string& text) {
  std::vector<KeyStroke> strokes;
  for (std::size_t i = 0; i < text.size(); i += UnitsOfCharacterAt(text, i)) {
    if (IsLineEndUnit(text[i])) {
      strokes.push_back({KeyStroke::Kind::Enter});
      continue;
    }
    for (std::size_t unit = i; unit < i + UnitsOfCharacterAt(text, i); ++unit) {
      strokes.push_back({KeyStroke::Kind::Character, text[unit]});
    }
  }
  return strokes;
}

std::size_t LeftPressesOver(const std::u16string& after) {
  std::size_t presses = 0;
  for (std::size_t i = 0; i < after.size(); i += UnitsOfCharacterAt(after, i)) ++presses;
  return presses;
}

}  // namespace vxpalette
