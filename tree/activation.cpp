#include "tree/activation.h"

#include "catalogue/catalogue.h"
#include "catalogue/color_choice.h"
#include "catalogue/recipes.h"
#include "deffile/definition_loader.h"
#include "deffile/definition_text_table.h"
#include "protocol/messages.h"
#include "tree/platform_seams.h"

namespace vx {
namespace {

// A tree destroyed while the colour dialog was up (the recipe's outcome is
// Abandoned) has no document to insert into and no focus to hand back.
std::intptr_t InsertAndHandBack(TreePort& tree, std::int32_t tagId, const char* userText) {
  if (RunInsertionRecipe(tagId, userText) == RecipeOutcome::Abandoned) return 1;
  SendFocusHandBack(tree.WindowId());
  return 1;
}

std::intptr_t ActivateCatalogueEntry(TreePort& tree, std::int32_t tagId,
                                     ActivationTrigger trigger, unsigned message,
                                     std::uintptr_t wParam, std::intptr_t lParam) {
  if (IsGroupEntry(tagId)) {
    // A group has no text of its own. Enter must not reach the control, which
    // would open the group; a double-click may, and opens or closes it.
    if (trigger == ActivationTrigger::Enter) return 1;
    return tree.CallPrevious(message, wParam, lParam);
  }
  return InsertAndHandBack(tree, tagId, nullptr);
}

bool IsDefinitionSlot(std::int32_t value) {
  return value >= 0 && value < MAX_DEFINITION_TEXTS;
}

}  // namespace

std::int32_t FindCatalogueEntry(TreeItem item) {
  for (std::int32_t id = 0; id < PRIMARY_ENTRY_COUNT; ++id) {
    if (PrimaryEntries[id].treeItem == item) return id;
  }
  for (std::int32_t i = 0; i < SECONDARY_ENTRY_COUNT; ++i) {
    if (SecondaryEntries[i].treeItem == item) return PRIMARY_ENTRY_COUNT + i;
  }
  return CATALOGUE_NOT_FOUND;
}

std::intptr_t ActivateTreeItem(TreePort& tree, TreeItem item, ActivationTrigger trigger,
                               unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  // A colour dialog without an owner leaves the tree enabled: one activation
  // at a time, or a second dialog would open inside the first.
  if (IsColorDialogOpen()) return 1;
  if (item == 0) return tree.CallPrevious(message, wParam, lParam);

  const std::int32_t tagId = FindCatalogueEntry(item);
  if (tagId != CATALOGUE_NOT_FOUND) {
    return ActivateCatalogueEntry(tree, tagId, trigger, message, wParam, lParam);
  }

  std::int32_t value = 0;
  if (!tree.QueryItemValue(item, &value)) return tree.CallPrevious(message, wParam, lParam);
  // Folders carry FOLDER_VALUE. Any other value that names no stored text
  // cannot be a user entry of ours: it must not index past the table.
  if (value == FOLDER_VALUE || !IsDefinitionSlot(value)) {
    return tree.CallPrevious(message, wParam, lParam);
  }
  return InsertAndHandBack(tree, value, DefinitionTextTable[value]);
}

std::intptr_t HandleTreeMessage(TreePort& tree, unsigned message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  switch (message) {
    case MSG_DESTROY:
      AbandonColorChoice();
      break;
    case MSG_KEYDOWN:
      if (wParam == KEY_DOWN && tree.ControlKeyHeld()) {
        SendFocusHandBack(tree.WindowId());
        return 1;
      }
      if (wParam == KEY_RETURN) {
        return ActivateTreeItem(tree, tree.CaretItem(), ActivationTrigger::Enter, message,
                                wParam, lParam);
      }
      break;
    case MSG_CHAR:
      // The carriage return that follows Enter belongs to the activation, not
      // to the control's incremental search.
      if (wParam == CHAR_CARRIAGE_RETURN) return 1;
      break;
    case MSG_LBUTTONDBLCLK: {
      const std::uintptr_t point = static_cast<std::uintptr_t>(lParam);
      const int x = static_cast<int>(point & 0xFFFF);
      const int y = static_cast<int>((point >> 16) & 0xFFFF);
      return ActivateTreeItem(tree, tree.HitTest(x, y), ActivationTrigger::DoubleClick, message,
                              wParam, lParam);
    }
    default:
      break;
  }
  return tree.CallPrevious(message, wParam, lParam);
}

}  // namespace vx
