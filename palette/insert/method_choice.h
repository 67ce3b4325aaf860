// Which way a text goes into the focused control: by message where the
// control is an Edit or a RichEdit (found by its class name), otherwise typed
// as keys when short and pasted when long.
#pragma once
#include <cstddef>
#include <string_view>
#include "palette/insert/insertion_text.h"
#include "palette/insert/text_positions.h"

namespace vxpalette {

enum class ControlKind { Edit, RichEdit, Other };

// Texts longer than this many UTF-16 units are pasted rather than typed:
// typing is slow (under Wine about 13 ms a character) and each typed
// character may set off a program's completion, while a paste costs a round
// of the clipboard whatever the length.
inline constexpr std::size_t LONGEST_TYPED_TEXT = 100;

// "Edit" and RichEdit 1.0's "RICHEDIT" count per unit; "RichEdit20W",
// "RICHEDIT50W" and the like are RichEdits; Windows Forms names them
// "WindowsForms10.EDIT.app..." and "WindowsForms10.RichEdit20W.app...".
ControlKind KindOfClass(std::u16string_view className);

PositionCount PositionCountOf(ControlKind kind);

// Auto picks as above; Message on a control that takes no edit messages
// falls back to what Auto would type or paste; Keys and Clipboard are kept.
InsertMethod ChooseMethod(InsertMethod requested, ControlKind kind, std::size_t typedUnits);

}  // namespace vxpalette
