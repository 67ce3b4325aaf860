// What the add-in sends to the host editor. The core calls these two
// operations; host_connection_win32.cpp sends them with SendMessageA, and
// native tests and vxtags link recording implementations instead.
#pragma once
#include <cstdint>

namespace vx {

enum InsertCode : std::int32_t {
  InsertLead = 0,
  InsertTrail = 1,
  InsertLineEnd = 2,
  InsertLinkTrail = -1,
  InsertDefinitionText = -2,
};

// One synchronous insert request to the edit window. The text is valid only
// during the call: the sender reuses its buffer right after.
void SendInsertRequest(InsertCode code, const char* text);

// WM_ACTIVATE (WA_CLICKACTIVE, treeWindow) to the host frame.
void SendFocusHandBack(std::uintptr_t treeWindow);

}  // namespace vx
