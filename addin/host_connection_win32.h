// The host editor's two windows, as the add-in reaches them on Windows.
// Set together on every opening of the tag window and kept until the next.
#pragma once
#include <windows.h>

#include "catalogue/platform_seams.h"
#include "tree/platform_seams.h"

namespace vx {

extern HWND HostFrameHandle;   // takes focus hand-backs and resize notices
extern HWND EditWindowHandle;  // takes insert requests

// WM_PARENTNOTIFY (WM_SIZE, tagWindow) to the host frame, once per WM_SIZE.
void SendResizeNotice(HWND tagWindow);

}  // namespace vx
