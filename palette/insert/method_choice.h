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

// Texts longer than this many UTF-16 units are pasted rather than typed.
// Under Wine a typed character costs 12 to 30 ms and a paste 50 to 150 ms
// whatever the length, so a paste is faster from a few characters on; but
// typing leaves the user's clipboard alone (no history or monitor sees the
// text, nothing depends on putting the previous content back), so typing is
// kept up to where its wait starts to show: 100 characters, one to three
// seconds under Wine, a fraction of that on Windows.
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
