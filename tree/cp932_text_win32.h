// Code page 932 text shown through the window system's UTF-16 calls. Texts
// stay 932 bytes wherever they are kept; they are converted, naming 932 and
// never the system's own code page, only where a window is given one to show,
// so that they read the same on a system set to any code page.
#pragma once
#include <windows.h>

#include <cstddef>

namespace vx {

// Room for the longest caption any tree item has: a definition-file line of
// 255 bytes, each of which becomes at most one UTF-16 unit.
inline constexpr int CAPTION_WIDE_SIZE = 256;

// Converts text into wide and returns it; a byte sequence that is no
// character becomes U+FFFD. A text longer than the buffer holds is cut after
// CAPTION_WIDE_SIZE - 1 characters.
wchar_t* WidenCp932(const char* text, wchar_t (&wide)[CAPTION_WIDE_SIZE]);

// String resource id as code page 932 bytes, whatever the system's code page:
// at most size - 1 bytes of whole characters, as LoadStringA gives them on a
// 932 system. Returns the length, 0 when the string is missing or empty.
int LoadCp932String(HINSTANCE instance, UINT id, char* buffer, int size);

}  // namespace vx
