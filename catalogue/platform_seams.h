// The replaceable platform operations of the catalogue, declared beside the
// code that calls them (catalogue/recipes.cpp, catalogue/color_choice.cpp);
// the tree's hand-back is declared the same way in tree/platform_seams.h.
// Every program links exactly one provider of each, named on its own link line:
//
//   operation              add-in (vxhtml.dll)          native tests           vxtags
//   SendInsertRequest      addin/host_connection_win32  tests/fakes/           vxtags/
//                            .cpp (SendMessageA)          recording_host.cpp     recording_seams.cpp
//   ShowSystemColorDialog  catalogue/                   tests/fakes/             (printed lines,
//                            color_dialog_win32.cpp       scripted_color_        scripted answers)
//                            (ChooseColorA)               dialog.cpp
//
// Wine tests of the catalogue and the tree link the add-in's providers.
//
// Why link-time binding rather than function pointers or a port object: a
// program that lacks a provider fails to link instead of running with an
// unset pointer that drops insert requests; the shipped DLL calls straight
// through with no "bound yet?" state; and the three providers are plain
// object sets, never chosen by link order, because no program links two.
// The tree's control, by contrast, differs per window and is passed in as a
// TreePort (tree/tree_port.h).
#pragma once
#include "catalogue/color_choice.h"  // ColorRef
#include "protocol/host_protocol.h"   // InsertCode

namespace vx {

// One synchronous insert request (WM_HOST_INSERT) to the host's edit window.
// The text is valid only during the call: the sender reuses its buffer right
// after.
void SendInsertRequest(InsertCode code, const char* text);

// Shows the colour dialog opening on *color with the given custom colours.
// Returns true and writes the chosen colour to *color when the user accepts;
// false on cancel or failure.
bool ShowSystemColorDialog(ColorRef* color, ColorRef* customColors);

}  // namespace vx
