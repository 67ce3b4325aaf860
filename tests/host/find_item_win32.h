// Finding a tag-window item by what it shows, as the tests name items.
#pragma once
#include <string>

#include "host/tag_tree_reader_win32.h"

namespace vx::test_support {

// The first item, every folder open, whose caption is these code page 932
// bytes; null when there is none.
inline HTREEITEM FindItemByCaption(HWND tree, const std::string& caption) {
  return vxhost::FindInPreOrder(tree, [&](HTREEITEM item) { return vxhost::ItemCaption(tree, item) == caption; });
}

}  // namespace vx::test_support
