// The palette's "edit window": hidden, it receives the add-in's insert
// requests and hands them to a collector. Its rectangle is the work area of
// the monitor the user is on, which places the tag window on its first run.
#pragma once
#include <windows.h>

#include "palette/insertion_collector.h"

namespace vxpalette {

// The collector must outlive the window. Null when it cannot be made.
HWND CreateRequestWindow(HINSTANCE instance, InsertionCollector* collector);

// The work area of the monitor under the mouse pointer.
RECT WorkAreaUnderPointer();

}  // namespace vxpalette
