#include "tree/tag_tree.h"

#include <type_traits>

#include "deffile/definition_loader.h"

namespace vx {
namespace {

// The catalogue's insertions are chained: each names the item inserted just
// before as its insert-after, and the control puts an item whose insert-after
// has another parent last among its own parent's children. When the previous
// insertion was refused there is no link, and "last" is what the chain means.
TreeItem InsertAfterLink(TreeItem lastInserted) {
  return lastInserted != 0 ? lastInserted : TREE_INSERT_LAST;
}

TreeItem InsertCatalogueEntry(const TagTreeContext& ctx, TreePort& tree, TagEntry& entry,
                              TreeItem lastInserted) {
  entry.treeItem = tree.InsertItem(entry.parentItem, entry.label, InsertAfterLink(lastInserted),
                                   entry.image, SelectedImageFor(ctx, entry.image), FOLDER_VALUE);
  return entry.treeItem;
}

void InsertCategoryNodes(TagTreeContext& ctx, TreePort& tree, CategoryCaptionLoader captions,
                         void* captionContext) {
  for (int k = 0; k < CATEGORY_COUNT; ++k) {
    // A fresh buffer for every caption: one that fails to load must show as
    // empty, not as the caption before it.
    char caption[CAPTION_BUFFER_SIZE] = {};
    if (captions) captions(k, caption, captionContext);
    caption[CAPTION_BUFFER_SIZE - 1] = '\0';
    const TreeItem after = k == 0 ? TREE_INSERT_ROOT : InsertAfterLink(ctx.categoryItems[k - 1]);
    ctx.categoryItems[k] = tree.InsertItem(0, caption, after, ctx.imageFolder,
                                           SelectedImageFor(ctx, ctx.imageFolder), FOLDER_VALUE);
  }
}

void AssignPrimaryParents(const TagTreeContext& ctx) {
  for (int k = 0; k < CATEGORY_COUNT; ++k) {
    for (std::int32_t id = CATEGORY_RANGES[k].first; id <= CATEGORY_RANGES[k].last; ++id) {
      TagEntry* entry = CatalogueEntry(id);
      if (!entry) continue;
      entry->parentItem = ctx.categoryItems[k];
      entry->image = ctx.imageTag;
    }
  }
}

void AssignSecondaryParents(const TagTreeContext& ctx) {
  int next = 0;
  for (int i = 0; i < PRIMARY_ENTRY_COUNT; ++i) {
    for (int m = 0; m < GROUP_CHILD_COUNTS[i] && next < SECONDARY_ENTRY_COUNT; ++m, ++next) {
      SecondaryEntries[next].parentItem = PrimaryEntries[i].treeItem;
      SecondaryEntries[next].image = ctx.imageTag;
    }
  }
}

void ClearCatalogueItems() {
  for (std::int32_t id = 0; id < TAG_COUNT; ++id) {
    TagEntry* entry = CatalogueEntry(id);
    if (!entry) continue;
    entry->image = 0;
    entry->parentItem = 0;
    entry->treeItem = 0;
  }
}

// Adapts the loader's add-item operation to the tree: every user item goes
// last under its parent, with the folder or tag image.
static_assert(std::is_same_v<TreeItem, DefinitionItem>,
              "the loader hands tree items back to the tree as its own handles");
class TreeDefinitionSink : public DefinitionSink {
 public:
  TreeDefinitionSink(const TagTreeContext& ctx, TreePort& tree) : ctx_(ctx), tree_(tree) {}

  TreeItem AddItem(TreeItem parent, const char* caption, UserItemKind kind,
                   std::int32_t value) override {
    const std::int32_t image = kind == UserItemKind::Folder ? ctx_.imageFolder : ctx_.imageTag;
    return tree_.InsertItem(parent, caption, TREE_INSERT_LAST, image,
                            SelectedImageFor(ctx_, image), value);
  }

 private:
  const TagTreeContext& ctx_;
  TreePort& tree_;
};

}  // namespace

std::int32_t SelectedImageFor(const TagTreeContext& ctx, std::int32_t image) {
  if (image == ctx.imageFolder) return ctx.imageFolderSelected;
  if (image == ctx.imageTag) return ctx.imageTagSelected;
  return image;
}

// A plain copy: a printf here would bring the C runtime's whole formatter
// into the shipped DLL.
void LoadCatalogueCaption(int category, char* buffer, void*) {
  const char* caption = CATEGORY_CAPTIONS[category];
  int length = 0;
  for (; length < CAPTION_BUFFER_SIZE - 1 && caption[length] != '\0'; ++length) buffer[length] = caption[length];
  buffer[length] = '\0';
}

namespace {

void FillCatalogueItems(TagTreeContext& ctx, TreePort& tree, CategoryCaptionLoader captions,
                        void* captionContext) {
  // Nothing of an earlier tree may survive, even where an insertion below is refused.
  ClearCatalogueItems();
  InsertCategoryNodes(ctx, tree, captions, captionContext);
  AssignPrimaryParents(ctx);

  TreeItem lastInserted = ctx.categoryItems[CATEGORY_COUNT - 1];
  for (int id = 0; id < PRIMARY_ENTRY_COUNT; ++id) {
    lastInserted = InsertCatalogueEntry(ctx, tree, PrimaryEntries[id], lastInserted);
  }
  AssignSecondaryParents(ctx);
  for (int i = 0; i < SECONDARY_ENTRY_COUNT; ++i) {
    lastInserted = InsertCatalogueEntry(ctx, tree, SecondaryEntries[i], lastInserted);
  }
}

}  // namespace

void FillTagTreeItems(TagTreeContext& ctx, TreePort& tree, CategoryCaptionLoader captions,
                      void* captionContext, const char* definitionPath) {
  FillCatalogueItems(ctx, tree, captions, captionContext);
  TreeDefinitionSink sink(ctx, tree);
  LoadDefinitionFile(definitionPath ? definitionPath : "", sink);
}

void FillTagTreeItemsFromSource(TagTreeContext& ctx, TreePort& tree, CategoryCaptionLoader captions,
                                void* captionContext, ByteSource& definition) {
  FillCatalogueItems(ctx, tree, captions, captionContext);
  TreeDefinitionSink sink(ctx, tree);
  LoadDefinitionStream(definition, sink);
}

}  // namespace vx
