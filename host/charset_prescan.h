// The encoding an HTML page declares, found the way a browser finds it
// before it parses the page: a scan of the first 1024 bytes that skips
// comments and reads <meta charset> and <meta http-equiv="Content-Type"
// content="...; charset=..."> with the attribute rules of HTML. And the
// encoding the editor opens a file in, judged from that and from which
// encodings can read the bytes at all.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "host/encoding.h"

namespace vxhost {

inline constexpr std::size_t CHARSET_SCAN_BYTES = 1024;

struct DeclaredCharset {
  bool found = false;
  std::string label;      // as written (trimmed), for the user to read
  bool known = false;     // the label names Shift_JIS or UTF-8 (a UTF-16 label counts as UTF-8)
  Encoding encoding = Encoding::Utf8;
};

// Looks at the first CHARSET_SCAN_BYTES bytes only. A label no browser knows
// is passed over as browsers do; one of an encoding the editor does not
// read (EUC-JP) is found, with known false.
DeclaredCharset PrescanCharset(std::string_view bytes);

struct EncodingGuess {
  Encoding encoding = Encoding::Utf8;
  DeclaredCharset declared;
  // The declared encoding cannot read the bytes and the other one can: the
  // file is opened in the other one and the user is told.
  bool declarationOverruled = false;
};

// The encoding a file is most likely in: UTF-8 after its byte-order mark;
// the declared one when it reads the bytes; else UTF-8 when that reads
// them (Shift_JIS text beyond ASCII rarely is valid UTF-8); else Shift_JIS.
// decodes tells whether the whole file is text in an encoding.
EncodingGuess GuessEncoding(std::string_view bytes, const std::function<bool(Encoding)>& decodes);

}  // namespace vxhost
