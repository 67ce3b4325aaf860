// A model tree that answers activation from a script and records what the
// activation asked of the control: the native tests' stand-in for the
// tree-view control behind NewHTProc.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tree/model_tree.h"

namespace vx::fakes {

struct PreviousCall {
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

class ScriptedTree : public ModelTree {
 public:
  // Insertion number refuseNumber (0-based) is refused as the control may.
  TreeItem InsertItem(TreeItem parent, const char* caption, TreeItem insertAfter,
                      std::int32_t image, std::int32_t selectedImage,
                      std::int32_t value) override {
    if (insertions_++ == refuseNumber) return 0;
    const TreeItem item =
        ModelTree::InsertItem(parent, caption, insertAfter, image, selectedImage, value);
    if (item != 0) insertAfterOf_[item] = insertAfter;
    return item;
  }
  // The insert-after an item was inserted with, as the caller named it.
  TreeItem InsertAfterOf(TreeItem item) const {
    const auto found = insertAfterOf_.find(item);
    return found == insertAfterOf_.end() ? 0 : found->second;
  }
  // A value given by SetValue wins over the one the item was inserted with.
  bool QueryItemValue(TreeItem item, std::int32_t* value) override {
    const auto replaced = values_.find(item);
    if (replaced == values_.end() || Find(item) == nullptr) {
      return ModelTree::QueryItemValue(item, value);
    }
    *value = replaced->second;
    return true;
  }
  TreeItem CaretItem() override {
    ++caretQueries;
    return caret;
  }
  TreeItem HitTest(int x, int y) override {
    hitTests.emplace_back(x, y);
    return hitItem;
  }
  bool ControlKeyHeld() override { return controlHeld; }
  std::intptr_t CallPrevious(unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) override {
    previousCalls.push_back({message, wParam, lParam});
    return previousResult;
  }
  std::uintptr_t WindowId() override { return windowId; }

  // Gives an item a new value, as a foreign writer of the control could.
  void SetValue(TreeItem item, std::int32_t value) { values_[item] = value; }

  // What the control answers.
  TreeItem caret = 0;
  TreeItem hitItem = 0;
  bool controlHeld = false;
  std::intptr_t previousResult = 0x5EED;
  std::uintptr_t windowId = 0x7EE0;
  int refuseNumber = -1;  // none

  // What reached it.
  std::vector<PreviousCall> previousCalls;
  std::vector<std::pair<int, int>> hitTests;
  int caretQueries = 0;

 private:
  int insertions_ = 0;
  std::unordered_map<TreeItem, std::int32_t> values_;
  std::unordered_map<TreeItem, TreeItem> insertAfterOf_;
};

}  // namespace vx::fakes
