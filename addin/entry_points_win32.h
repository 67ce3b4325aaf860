// Module state of the add-in and its exported opening call.
#pragma once
#include <windows.h>

#include "addin/opening.h"
#include "framework/framework_win32.h"

namespace vx {

class TMFrameWindow;

// Set once Create has returned with the window made and set up, so it is
// still false during the set-up; cleared by the object's destructor.
extern bool TagWindowOpen;
extern TMFrameWindow* CurrentTagWindow;  // not owning; meaningful only while TagWindowOpen
extern char DefinitionPath[DEFINITION_PATH_SIZE];

}  // namespace vx

// Opens (hostWindow given, none open), focuses (one open) or closes (no
// hostWindow) the tag window. False only when a tag window already exists.
extern "C" bool __cdecl CreateHtmlWindow(TWindow* hostWindow, HWND editWindow,
                                         const char* definitionPath);
