// One activation's text as the target will receive it: what the tag window asked to insert, in
// UTF-16, and where the caret must end.
#pragma once
#include <cstddef>
#include <string>

namespace vxpalette {

enum class InsertMethod { Auto, Message, Keys, Clipboard };

struct InsertionText {
  std::u16string before;      // what goes before the user's selection (the lead, or the whole text)
  std::u16string after;       // what goes after the selection; the caret ends just before it
  bool hadInvalidBytes = false;  // some code page 932 bytes could not be read and became U+FFFD
};

}  // namespace vxpalette
