#include "tree/tree_entries_win32.h"

#include "catalogue/catalogue.h"
#include "catalogue/recipes.h"
#include "deffile/definition_text_table.h"
#include "tree/activation.h"

namespace vx {
namespace {

constexpr int CAPTION_UNITS = 256;

static_assert(sizeof(wchar_t) == sizeof(char16_t), "captions pass between the two as they are");

HTREEITEM Next(HWND tree, HTREEITEM item, WPARAM relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Caption and item value; false when the control does not know the item.
bool Query(HWND tree, HTREEITEM item, wchar_t (&caption)[CAPTION_UNITS], LPARAM* value) {
  TVITEMW query{};
  query.mask = TVIF_TEXT | TVIF_PARAM;
  query.hItem = item;
  query.pszText = caption;
  query.cchTextMax = CAPTION_UNITS;
  caption[0] = L'\0';
  if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) return false;
  caption[CAPTION_UNITS - 1] = L'\0';  // a cut caption may come without its zero
  *value = query.lParam;
  return true;
}

// The next item in the order the tree shows them with every folder open.
HTREEITEM NextInPreOrder(HWND tree, HTREEITEM item) {
  if (HTREEITEM child = Next(tree, item, TVGN_CHILD)) return child;
  for (; item != nullptr; item = Next(tree, item, TVGN_PARENT)) {
    if (HTREEITEM sibling = Next(tree, item, TVGN_NEXT)) return sibling;
  }
  return nullptr;
}

const char16_t* AsText(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

}  // namespace

void CollectTreeEntries(HWND tree, EntryIndex& index) {
  wchar_t caption[CAPTION_UNITS];
  wchar_t folder[CAPTION_UNITS] = L"";
  HTREEITEM folderItem = nullptr;
  char recipe[RECIPE_BUFFER_SIZE];
  for (HTREEITEM item = Next(tree, nullptr, TVGN_ROOT); item != nullptr; item = NextInPreOrder(tree, item)) {
    LPARAM value = 0;
    if (!Query(tree, item, caption, &value)) continue;
    const char* insertion = nullptr;
    const std::int32_t tagId = FindCatalogueEntry(reinterpret_cast<TreeItem>(item));
    if (tagId != CATALOGUE_NOT_FOUND) {
      if (IsGroupEntry(tagId)) continue;
      DescribeRecipe(tagId, recipe);
      insertion = recipe;
    } else if (value >= 0 && value < MAX_DEFINITION_TEXTS) {
      insertion = DefinitionTextTable[value];
    } else {
      continue;  // a category node or a user folder
    }
    // Siblings follow one another, so their folder is asked for once.
    const HTREEITEM parent = Next(tree, item, TVGN_PARENT);
    if (parent != folderItem) {
      LPARAM unused = 0;
      if (!parent || !Query(tree, parent, folder, &unused)) folder[0] = L'\0';
      folderItem = parent;
    }
    index.Add(reinterpret_cast<TreeItem>(item), AsText(caption), AsText(folder), insertion);
  }
}

}  // namespace vx
