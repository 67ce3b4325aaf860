// Printing of raw add-in texts as one tab-separated field per value, so that
// any byte sequence, even a broken one, survives on a single output line.
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

namespace vxtags {

// The bytes as they are, except: "\\" for a backslash, "\t" for TAB, "\xHH"
// for other bytes below 0x20, for 0x7F and for every byte of a sequence that
// is not valid code page 932. Valid double-byte characters stay raw, so a
// trail byte 0x5C is not taken for a backslash.
std::string EscapeField(const char* bytes, std::size_t n);

// The same escaping, with every valid code page 932 character converted to UTF-8.
std::string Cp932FieldToUtf8(const char* bytes, std::size_t n);

inline std::string EscapeField(const char* text) { return EscapeField(text, std::strlen(text)); }
inline std::string Cp932FieldToUtf8(const char* text) {
  return Cp932FieldToUtf8(text, std::strlen(text));
}

}  // namespace vxtags
