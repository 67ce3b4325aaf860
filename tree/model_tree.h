// A tree that keeps items in memory the way the tree-view control does, so the
// tag tree can be built and inspected without a window system: vxtags prints
// it, and the native tests build on it (tests/fakes/scripted_tree.h adds the
// answers that activation asks for).
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tree/tree_port.h"

namespace vx {

struct ModelItem {
  TreeItem handle;
  TreeItem parent;  // 0 for a top-level item
  std::string caption;
  std::int32_t image;
  std::int32_t selectedImage;
  std::int32_t value;
  std::vector<TreeItem> children;
};

struct ModelItemAtDepth {
  const ModelItem* item;
  int depth;
};

class ModelTree : public TreePort {
 public:
  ModelTree();

  // Placement follows the control: TREE_INSERT_FIRST puts the item first, a
  // sibling under the same parent puts it right after that sibling, and any
  // other insert-after (root, last, none, an item of another parent) puts it
  // last. An unknown parent is refused.
  TreeItem InsertItem(TreeItem parent, const char* caption, TreeItem insertAfter,
                      std::int32_t image, std::int32_t selectedImage,
                      std::int32_t value) override;
  bool QueryItemValue(TreeItem item, std::int32_t* value) override;
  // A tree nobody points at or types into: no caret, nothing under any
  // point, no key held, no window, and nothing the control does by itself.
  TreeItem CaretItem() override { return 0; }
  TreeItem HitTest(int, int) override { return 0; }
  bool ControlKeyHeld() override { return false; }
  std::intptr_t CallPrevious(unsigned, std::uintptr_t, std::intptr_t) override { return 0; }
  std::uintptr_t WindowId() override { return 0; }

  const ModelItem* Find(TreeItem handle) const;
  // Children of parent in order; parent 0 gives the top-level items.
  const std::vector<TreeItem>& Children(TreeItem parent) const;
  std::vector<ModelItemAtDepth> PreOrder() const;
  std::size_t Count() const { return items_.size(); }

 private:
  std::unordered_map<TreeItem, ModelItem> items_;
  std::vector<TreeItem> topLevel_;
};

}  // namespace vx
