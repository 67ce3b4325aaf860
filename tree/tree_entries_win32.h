// The entries of a filled tag tree, read from the control for the filter.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "tree/entry_filter.h"

namespace vx {

// Adds every entry of tree to index in the order the tree shows them, every
// folder open: catalogue leaves and user entries, each with its caption and
// its folder's caption as the control holds them and what it inserts.
// Category nodes, user folders and group entries have nothing to insert and
// are left out.
void CollectTreeEntries(HWND tree, EntryIndex& index);

}  // namespace vx
