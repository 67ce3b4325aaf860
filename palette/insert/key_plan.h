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

// How many Left presses move the caret back over `after`: one per character,
// a line end and a surrogate pair included, as the controls that take no
// edit messages step (an Edit, which steps over each half of a pair, gets
// its caret by message instead).
std::size_t LeftPressesOver(const std::u16string& after);

}  // namespace vxpalette
