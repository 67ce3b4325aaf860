// The keystrokes that type a text into a control that cannot be reached by
// message: each UTF-16 unit as a Unicode key, a line end as a real Enter (so
// that the control makes its own line end of it), Ctrl+V for a paste, and the
// Left presses that bring the caret back before the trail.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vxpalette {

struct KeyStroke {
  enum class Kind { Character, Enter, Left, Paste };
  Kind kind;
  char16_t unit = 0;  // the character's UTF-16 unit (Character only)
  bool operator==(const KeyStroke& other) const { return kind == other.kind && unit == other.unit; }
};

// A CR LF, a lone CR or a lone LF is one Enter; every other unit one
// Character stroke (a surrogate pair is two, which the receiving thread's
// TranslateMessage joins again).
std::vector<KeyStroke> TypingStrokes(const std::u16string& text);

// How many Left presses move the caret back over `after` in a control that
// steps over a line end in one press: one per character, two per surrogate
// pair where the control steps by UTF-16 unit (an Edit) and one where it
// steps by character.
std::size_t LeftPressesOver(const std::u16string& after, bool surrogatePairTakesTwo);

}  // namespace vxpalette
