// The scripted run of the sample editor that the demo uses on a display
// without a user: it opens the tag window, inserts a few tags by pressing keys
// in the tag tree, types into the document, saves it, and waits for the
// screenshot before it closes everything.
#pragma once
#include <string>

#include "host/editor_frame_win32.h"

namespace vxhost {

// Starts the script on the frame, whose window must exist. The document goes
// to documentPath; outDir receives "vxhost-ready" (the screen rectangle around
// the editor and the tag window: left top right bottom) once they show the
// result, and the script goes on when "vxhost-done" appears there (or after
// two minutes). Any dialog that comes up during the script ends the process
// as StopAtDialogs does, with the report in outDir\vxhost-messagebox.
// Returns false when the script could not start.
bool StartDemo(TEditorFrame& frame, const std::string& documentPath, const std::string& outDir);

// From now on, any dialog that comes up on this thread writes "caption: text"
// to reportPath and ends the process with DIALOG_EXIT_CODE: an unattended run
// must never wait for a click. Returns false when it could not be set up.
inline constexpr int DIALOG_EXIT_CODE = 3;
bool StopAtDialogs(const std::string& reportPath);

// 0 once the script ran to its end and the document was saved, 1 otherwise.
int DemoExitCode();

}  // namespace vxhost
