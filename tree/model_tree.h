// A tree that keeps items in memory the way the tree-view control does, so the
// tag tree can be built, inspected and activated without a window system:
// vxtags prints it and the native tests drive activation against it.
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
  TreeItem insertAfter;  // as the caller named it
  std::vector<TreeItem> children;
};

struct ModelItemAtDepth {
  const ModelItem* item;
  int depth;
};

struct PreviousCall {
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

class ModelTree : public TreePort {
 public:
  ModelTree();

  // Placement follows the control: TREE_INSERT_FIRST puts the item first, a
  // sibling under the same parent puts it right after that sibling, and any
  // other insert-after (root, last, none, an item of another parent) puts it
  // last. An unknown parent is refused, as is insertion number refuseNumber.
  TreeItem InsertItem(TreeItem parent, const char* caption, TreeItem insertAfter,
                      std::int32_t image, std::int32_t selectedImage,
                      std::int32_t value) override;
  TreeItem CaretItem() override;
  TreeItem HitTest(int x, int y) override;
  bool QueryItemValue(TreeItem item, std::int32_t* value) override;
  bool ControlKeyHeld() override;
  std::intptr_t CallPrevious(unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  std::uintptr_t WindowId() override;

  const ModelItem* Find(TreeItem handle) const;
  // Children of parent in order; parent 0 gives the top-level items.
  const std::vector<TreeItem>& Children(TreeItem parent) const;
  std::vector<ModelItemAtDepth> PreOrder() const;
  std::size_t Count() const { return items_.size(); }
  // Items the model was asked to insert, refused ones included.
  int InsertionCount() const { return insertions_; }
  // Gives any item a new value, as a foreign writer of the control could.
  void SetValue(TreeItem handle, std::int32_t value);

  // Script for activation: what the control would answer.
  TreeItem caret = 0;
  TreeItem hitItem = 0;
  bool controlHeld = false;
  std::intptr_t previousResult = 0x5EED;
  std::uintptr_t windowId = 0x7EE0;
  int refuseNumber = -1;  // 0-based insertion to refuse, -1 for none

  // What reached the model.
  std::vector<PreviousCall> previousCalls;
  std::vector<std::pair<int, int>> hitTests;
  int caretQueries = 0;

 private:
  std::unordered_map<TreeItem, ModelItem> items_;
  std::vector<TreeItem> topLevel_;
  int insertions_ = 0;
};

}  // namespace vx
