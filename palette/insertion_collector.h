// The insert requests of one activation gathered into the one text the target
// receives. They arrive in order and end with the focus hand-back; each text
// is code page 932 bytes, read here with the project's own table, never with
// the system's code page.
//
// The selection is wrapped as the sample editor wraps it: what comes before a
// trail goes before the selection, a trail (or link trail) after it, and the
// caret ends just before the trail. A line end is CR LF (its text is the
// sender's stale buffer). A definition text goes in as stored. A request
// after a trail goes where the caret then is, at the front of what follows the
// selection: no such activation is sent today, and this keeps every character.
#pragma once
#include <cstdint>

#include "palette/insert/insertion_text.h"

namespace vxpalette {

class InsertionCollector {
 public:
  // One request with the add-in's code and text; a null text counts as
  // empty, and an unknown code adds nothing.
  void Add(std::int32_t code, const char* text);

  // True while nothing has been collected since the last Take.
  bool Empty() const;

  // The activation's text; the collector starts afresh.
  InsertionText Take();

 private:
  void Append(const char* text);

  InsertionText text_;
  bool trailSeen_ = false;
};

// Code page 932 bytes as UTF-16; a byte sequence that is no character becomes
// U+FFFD and sets invalid.
std::u16string FromCp932(const char* bytes, bool& invalid);

}  // namespace vxpalette
