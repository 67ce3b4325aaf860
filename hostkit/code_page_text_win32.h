// Text between UTF-16 and a code page's bytes, in the two calls the system
// asks for (the size, then the text), written once for both hosts.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace vxhost {

// flags as MultiByteToWideChar takes them (MB_ERR_INVALID_CHARS: false for
// bytes that are no text). text null: only whether the bytes convert.
bool ToWide(UINT codePage, std::string_view bytes, std::wstring* text, DWORD flags = 0);
// What converts; empty for what does not.
std::wstring ToWide(UINT codePage, std::string_view bytes);

// flags as WideCharToMultiByte takes them. exact non-null: set false when a
// character had no code and the code page's default stood in (never asked of
// UTF-8, which has a code for every character).
bool ToNarrow(UINT codePage, std::wstring_view text, std::string& bytes, DWORD flags = 0, bool* exact = nullptr);
std::string ToNarrow(UINT codePage, std::wstring_view text);

}  // namespace vxhost
