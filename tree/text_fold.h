// Texts as the entry filter compares them: code page 932 bytes decoded with
// the project's own table (never the system's code page), then folded so that
// the ways a Japanese user may type one word compare equal.
#pragma once
#include <cstddef>

namespace vx {

inline constexpr char16_t REPLACEMENT_CHARACTER = 0xFFFD;

// Decodes the zero-terminated text into out, at most capacity - 1 units and
// a terminating zero (capacity > 0). Every byte sequence that is no character
// of code page 932 becomes one U+FFFD, so the valid rest still reads and
// still matches. Returns the length written.
std::size_t DecodeCp932Text(const char* text, char16_t* out, std::size_t capacity);

// Folds length units of text into out, which has room for length units (a
// fold never lengthens a text). Returns the folded length. The rules:
//   - A-Z become a-z;
//   - full-width ASCII (U+FF01..U+FF5E) becomes ASCII, then a-z as above;
//   - half-width katakana (U+FF61..U+FF9F) becomes full-width, and a
//     following sound mark (ﾞ ﾟ, or their full-width and combining forms)
//     joins the kana before it where the pair has a character of its own;
//   - katakana becomes hiragana;
//   - control characters and the ideographic space become a plain space.
std::size_t FoldText(const char16_t* text, std::size_t length, char16_t* out);

}  // namespace vx
