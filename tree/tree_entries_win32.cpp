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

const char16_t* AsText(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

// What item inserts, or null for an item that inserts nothing of its own.
const char* InsertionOf(HTREEITEM item, LPARAM value, char (&recipe)[RECIPE_BUFFER_SIZE]) {
  const std::int32_t tagId = FindCatalogueEntry(reinterpret_cast<TreeItem>(item));
  if (tagId != CATALOGUE_NOT_FOUND) {
    if (IsGroupEntry(tagId)) return nullptr;
    DescribeRecipe(tagId, recipe);
    return recipe;
  }
  return value >= 0 && value < MAX_DEFINITION_TEXTS ? DefinitionTextTable[value] : nullptr;
}

// The children of parent in order, each folder's own before its next
// sibling. The walk knows every item's folder, so the control is asked only
// for each item and its next sibling, and for the first child of a folder.
// One level of folders costs a caption on the stack (folders nest at most
// about a hundred deep); the recipe's text is needed only while it is added.
void CollectChildren(HWND tree, HTREEITEM parent, const wchar_t* folder, EntryIndex& index,
                     char (&recipe)[RECIPE_BUFFER_SIZE]) {
  wchar_t caption[CAPTION_UNITS];
  for (HTREEITEM item = Next(tree, parent, parent ? TVGN_CHILD : TVGN_ROOT); item != nullptr;
       item = Next(tree, item, TVGN_NEXT)) {
    LPARAM value = 0;
    if (!Query(tree, item, caption, &value)) continue;
    if (const char* insertion = InsertionOf(item, value, recipe)) {
      index.Add(reinterpret_cast<TreeItem>(item), AsText(caption), AsText(folder), insertion);
    } else {
      CollectChildren(tree, item, caption, index, recipe);
    }
  }
}

}  // namespace

void CollectTreeEntries(HWND tree, EntryIndex& index) {
  char recipe[RECIPE_BUFFER_SIZE];
  CollectChildren(tree, nullptr, L"", index, recipe);
}

}  // namespace vx
