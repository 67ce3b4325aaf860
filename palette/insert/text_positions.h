// Character positions as a text control counts them. An Edit control counts
// every UTF-16 unit, CR and LF included; a RichEdit 2.0 or later control
// keeps a paragraph end as one character, yet WM_GETTEXT hands its text out
// with CR LF. Positions read with EM_GETSEL must be mapped onto that text.
#pragma once
#include <cstddef>
#include <string>

namespace vxpalette {

enum class PositionCount { PerUnit, ParagraphEndIsOne };

// How many positions the control gives `text` (a CR LF, a lone CR or a lone
// LF is one position under ParagraphEndIsOne).
std::size_t PositionsIn(const std::u16string& text, PositionCount count);

// The index into `text` of the control position `position`; past the end
// gives text.size().
std::size_t UnitIndexAt(const std::u16string& text, std::size_t position, PositionCount count);

}  // namespace vxpalette
