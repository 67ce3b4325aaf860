#include "tree/model_tree.h"

#include <algorithm>

namespace vx {
namespace {

// Handles are unique across every model tree of the process, so an item of an
// earlier tree can never be mistaken for one of a later tree.
TreeItem NextHandle() {
  static TreeItem next = 0x10000;
  next += 0x10;
  return next;
}

const std::vector<TreeItem> NO_CHILDREN;

}  // namespace

ModelTree::ModelTree() = default;

TreeItem ModelTree::InsertItem(TreeItem parent, const char* caption, TreeItem insertAfter,
                               std::int32_t image, std::int32_t selectedImage,
                               std::int32_t value) {
  if (parent != 0 && items_.find(parent) == items_.end()) return 0;
  std::vector<TreeItem>& siblings = parent == 0 ? topLevel_ : items_[parent].children;

  auto position = siblings.end();
  if (insertAfter == TREE_INSERT_FIRST) {
    position = siblings.begin();
  } else {
    auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
    if (after != siblings.end()) position = after + 1;
  }

  const TreeItem handle = NextHandle();
  siblings.insert(position, handle);
  items_[handle] = ModelItem{handle, parent, caption ? caption : "", image, selectedImage,
                             value, {}};
  return handle;
}

bool ModelTree::QueryItemValue(TreeItem item, std::int32_t* value) {
  const ModelItem* found = Find(item);
  if (!found) return false;
  *value = found->value;
  return true;
}

const ModelItem* ModelTree::Find(TreeItem handle) const {
  auto it = items_.find(handle);
  return it == items_.end() ? nullptr : &it->second;
}

const std::vector<TreeItem>& ModelTree::Children(TreeItem parent) const {
  if (parent == 0) return topLevel_;
  const ModelItem* item = Find(parent);
  return item ? item->children : NO_CHILDREN;
}

std::vector<ModelItemAtDepth> ModelTree::PreOrder() const {
  std::vector<ModelItemAtDepth> order;
  order.reserve(items_.size());
  // An explicit stack: user folders nest up to a hundred levels deep.
  std::vector<std::pair<const std::vector<TreeItem>*, std::size_t>> stack;
  stack.emplace_back(&topLevel_, 0);
  while (!stack.empty()) {
    auto& [siblings, next] = stack.back();
    if (next == siblings->size()) {
      stack.pop_back();
      continue;
    }
    const ModelItem* item = Find((*siblings)[next++]);
    order.push_back({item, static_cast<int>(stack.size()) - 1});
    stack.emplace_back(&item->children, 0);
  }
  return order;
}

}  // namespace vx
