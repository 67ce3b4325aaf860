// The two encodings the sample editor reads and writes documents in.
#pragma once

namespace vxhost {

enum class Encoding { ShiftJis, Utf8 };

inline const wchar_t* EncodingName(Encoding encoding) {
  return encoding == Encoding::Utf8 ? L"UTF-8" : L"Shift_JIS";
}

}  // namespace vxhost
