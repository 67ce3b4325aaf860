// The replaceable platform operation of the tree, declared beside the code
// that calls it (tree/activation.cpp); the catalogue's own seams are in
// catalogue/platform_seams.h, which says why they are bound at link time.
//
//   operation          add-in (vxhtml.dll)             native tests                   vxtags
//   SendFocusHandBack  addin/host_connection_win32.cpp  tests/fakes/recording_host.cpp  vxtags/
//                        (SendMessageA)                                                 recording_seams.cpp
#pragma once
#include <cstdint>

namespace vx {

// The focus hand-back (HAND_BACK_MESSAGE, lParam treeWindow) to the host frame.
void SendFocusHandBack(std::uintptr_t treeWindow);

}  // namespace vx
