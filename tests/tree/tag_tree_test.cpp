// The shape of the tag tree as a fill leaves it: items, parents, order,
// images and item values, checked on a model tree.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "tests/fakes/scripted_tree.h"
#include "tests/tree/model_fill.h"

namespace vx {
namespace {

using test_support::ContextWithImages;
using test_support::DefinitionFile;
using test_support::FillModel;

std::vector<std::int32_t> TagIdsUnder(const ModelTree& tree, TreeItem parent) {
  std::vector<std::int32_t> ids;
  for (TreeItem child : tree.Children(parent)) {
    std::int32_t found = -1;
    for (std::int32_t id = 0; id < TAG_COUNT; ++id) {
      if (CatalogueEntry(id)->treeItem == child) found = id;
    }
    ids.push_back(found);
  }
  return ids;
}

std::vector<std::int32_t> IdRun(std::int32_t first, std::int32_t last) {
  std::vector<std::int32_t> ids;
  for (std::int32_t id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

void ExpectCatalogueItem(const ModelTree& tree, std::int32_t id) {
  SCOPED_TRACE(id);
  const TagEntry& entry = *CatalogueEntry(id);
  const ModelItem* item = tree.Find(entry.treeItem);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->caption, entry.label);
  EXPECT_EQ(item->parent, entry.parentItem);
  EXPECT_EQ(item->image, 5);
  EXPECT_EQ(item->selectedImage, 7);
  EXPECT_EQ(item->value, FOLDER_VALUE);
  EXPECT_EQ(entry.image, 5);
}

TEST(TagTreeFill, CatalogueAloneGives188ItemsInCategoryAndGroupOrder) {
  TagTreeContext ctx = ContextWithImages();
  ModelTree tree;
  FillModel(ctx, tree);

  EXPECT_EQ(tree.Count(), 188u);
  ASSERT_EQ(tree.Children(0).size(), 11u);
  for (int k = 0; k < CATEGORY_COUNT; ++k) {
    SCOPED_TRACE(k);
    const ModelItem* node = tree.Find(tree.Children(0)[k]);
    EXPECT_EQ(node->handle, ctx.categoryItems[k]);
    EXPECT_EQ(node->caption, CATEGORY_CAPTIONS[k]);
    EXPECT_EQ(node->image, 1);
    EXPECT_EQ(node->selectedImage, 3);
    EXPECT_EQ(node->value, FOLDER_VALUE);
    EXPECT_EQ(TagIdsUnder(tree, node->handle),
              IdRun(CATEGORY_RANGES[k].first, CATEGORY_RANGES[k].last));
  }
  EXPECT_EQ(TagIdsUnder(tree, ctx.categoryItems[0]), IdRun(0, 6));
  EXPECT_EQ(TagIdsUnder(tree, ctx.categoryItems[10]), IdRun(71, 73));

  // Secondary entries are handed out to the groups in tag-id order, no gaps.
  std::int32_t nextSecondary = PRIMARY_ENTRY_COUNT;
  int groups = 0;
  for (std::int32_t id = 0; id < PRIMARY_ENTRY_COUNT; ++id) {
    const TreeItem item = PrimaryEntries[id].treeItem;
    const std::int32_t count = GROUP_CHILD_COUNTS[id];
    EXPECT_EQ(TagIdsUnder(tree, item), IdRun(nextSecondary, nextSecondary + count - 1)) << id;
    nextSecondary += count;
    groups += count > 0;
  }
  EXPECT_EQ(nextSecondary, TAG_COUNT);
  EXPECT_EQ(groups, GROUP_ENTRY_COUNT);
  EXPECT_EQ(TagIdsUnder(tree, PrimaryEntries[5].treeItem), IdRun(74, 79));
  EXPECT_EQ(TagIdsUnder(tree, PrimaryEntries[6].treeItem), IdRun(80, 81));
  EXPECT_EQ(TagIdsUnder(tree, PrimaryEntries[68].treeItem), IdRun(168, 176));

  for (std::int32_t id = 0; id < TAG_COUNT; ++id) ExpectCatalogueItem(tree, id);
}

TEST(TagTreeFill, CatalogueInsertionsChainOnTheItemInsertedJustBefore) {
  TagTreeContext ctx = ContextWithImages();
  fakes::ScriptedTree tree;
  FillModel(ctx, tree);

  EXPECT_EQ(tree.InsertAfterOf(ctx.categoryItems[0]), TREE_INSERT_ROOT);
  for (int k = 1; k < CATEGORY_COUNT; ++k) {
    EXPECT_EQ(tree.InsertAfterOf(ctx.categoryItems[k]), ctx.categoryItems[k - 1]) << k;
  }
  TreeItem previous = ctx.categoryItems[CATEGORY_COUNT - 1];
  for (std::int32_t id = 0; id < TAG_COUNT; ++id) {
    const TreeItem item = CatalogueEntry(id)->treeItem;
    EXPECT_EQ(tree.InsertAfterOf(item), previous) << id;
    previous = item;
  }
}

TEST(TagTreeFill, ImagesFollowTheSelectedImageRule) {
  const TagTreeContext ctx = ContextWithImages();
  EXPECT_EQ(SelectedImageFor(ctx, 1), 3);
  EXPECT_EQ(SelectedImageFor(ctx, 5), 7);
  EXPECT_EQ(SelectedImageFor(ctx, 0), 0);  // HTML0, used by no item
  EXPECT_EQ(SelectedImageFor(ctx, 42), 42);
}

TEST(TagTreeFill, UserItemsFollowCategoryTenWithFolderAndTagImages) {
  DefinitionFile file(
      "top entry\n<top>\n"
      ".Folder\n"
      "inner entry\n<inner>\n"
      "..Sub\n"
      "deep entry\n<deep>\n");
  TagTreeContext ctx = ContextWithImages();
  fakes::ScriptedTree tree;
  FillModel(ctx, tree, file.path());

  const std::vector<TreeItem>& top = tree.Children(0);
  ASSERT_EQ(top.size(), 13u);
  EXPECT_EQ(top[10], ctx.categoryItems[10]);

  const ModelItem* topEntry = tree.Find(top[11]);
  EXPECT_EQ(topEntry->caption, "top entry");
  EXPECT_EQ(topEntry->value, 0);
  EXPECT_EQ(topEntry->image, 5);
  EXPECT_EQ(topEntry->selectedImage, 7);
  EXPECT_EQ(tree.InsertAfterOf(top[11]), TREE_INSERT_LAST);

  const ModelItem* folder = tree.Find(top[12]);
  EXPECT_EQ(folder->caption, "Folder");
  EXPECT_EQ(folder->value, FOLDER_VALUE);
  EXPECT_EQ(folder->image, 1);
  EXPECT_EQ(folder->selectedImage, 3);
  ASSERT_EQ(folder->children.size(), 2u);

  const ModelItem* inner = tree.Find(folder->children[0]);
  EXPECT_EQ(inner->caption, "inner entry");
  EXPECT_EQ(inner->value, 1);
  const ModelItem* sub = tree.Find(folder->children[1]);
  EXPECT_EQ(sub->caption, "Sub");
  ASSERT_EQ(sub->children.size(), 1u);
  EXPECT_EQ(tree.Find(sub->children[0])->value, 2);
  EXPECT_EQ(tree.Count(), 188u + 5u);
}

TEST(TagTreeFill, MissingDefinitionFileGivesTheCatalogueAlone) {
  TagTreeContext ctx = ContextWithImages();
  ModelTree tree;
  FillModel(ctx, tree, "/nonexistent/definitions.txt");
  EXPECT_EQ(tree.Count(), 188u);
  ModelTree noPath;
  FillTagTreeItems(ctx, noPath, LoadCatalogueCaption, nullptr, nullptr);
  EXPECT_EQ(noPath.Count(), 188u);
}

TEST(TagTreeFill, SecondFillLeavesNoHandleOfTheFirst) {
  TagTreeContext ctx = ContextWithImages();
  ModelTree first;
  FillModel(ctx, first);
  ModelTree second;
  FillModel(ctx, second);

  for (std::int32_t id = 0; id < TAG_COUNT; ++id) {
    const TagEntry& entry = *CatalogueEntry(id);
    EXPECT_EQ(first.Find(entry.treeItem), nullptr) << id;
    EXPECT_NE(second.Find(entry.treeItem), nullptr) << id;
    EXPECT_NE(second.Find(entry.parentItem), nullptr) << id;
  }
  for (TreeItem item : ctx.categoryItems) EXPECT_NE(second.Find(item), nullptr);
}

TEST(TagTreeFill, RefusedInsertionsPutWhatWentUnderThemAtTheTopLevel) {
  TagTreeContext ctx = ContextWithImages();
  fakes::ScriptedTree tree;
  tree.refuseNumber = 2;  // category node 2
  FillModel(ctx, tree);

  EXPECT_EQ(ctx.categoryItems[2], 0u);
  EXPECT_EQ(tree.Count(), 187u);
  // Category 2's entries hang at the top level, and the fill went on after them.
  std::set<TreeItem> top(tree.Children(0).begin(), tree.Children(0).end());
  for (std::int32_t id = 17; id <= 26; ++id) {
    EXPECT_EQ(PrimaryEntries[id].parentItem, 0u) << id;
    EXPECT_EQ(top.count(PrimaryEntries[id].treeItem), 1u) << id;
  }
  EXPECT_EQ(tree.InsertAfterOf(ctx.categoryItems[3]), TREE_INSERT_LAST);
  EXPECT_EQ(TagIdsUnder(tree, ctx.categoryItems[10]), IdRun(71, 73));
  EXPECT_EQ(TagIdsUnder(tree, PrimaryEntries[68].treeItem), IdRun(168, 176));
}

TEST(TagTreeFill, RefusedGroupEntryLeavesNoStaleHandleBehind) {
  TagTreeContext ctx = ContextWithImages();
  ModelTree earlier;
  FillModel(ctx, earlier);
  fakes::ScriptedTree tree;
  tree.refuseNumber = 11 + 5;  // primary entry 5, the first group
  FillModel(ctx, tree);

  EXPECT_EQ(PrimaryEntries[5].treeItem, 0u);
  for (std::int32_t id = 74; id <= 79; ++id) {
    EXPECT_EQ(SecondaryEntries[id - 74].parentItem, 0u) << id;
    EXPECT_EQ(tree.Find(SecondaryEntries[id - 74].treeItem)->parent, 0u) << id;
  }
  // The entry after the refused one is placed as if the chain were unbroken.
  EXPECT_EQ(tree.InsertAfterOf(PrimaryEntries[6].treeItem), TREE_INSERT_LAST);
  EXPECT_EQ(TagIdsUnder(tree, ctx.categoryItems[0]), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 6}));
}

void CaptionsWithGaps(int category, char* buffer, void*) {
  // Categories 3 and 7 have no caption resource: the loader writes nothing.
  if (category == 3 || category == 7) return;
  LoadCatalogueCaption(category, buffer, nullptr);
}

TEST(TagTreeFill, CaptionThatCannotBeLoadedIsEmpty) {
  TagTreeContext ctx = ContextWithImages();
  ModelTree tree;
  FillTagTreeItems(ctx, tree, CaptionsWithGaps, nullptr, "");
  EXPECT_EQ(tree.Find(ctx.categoryItems[2])->caption, CATEGORY_CAPTIONS[2]);
  EXPECT_EQ(tree.Find(ctx.categoryItems[3])->caption, "");
  EXPECT_EQ(tree.Find(ctx.categoryItems[7])->caption, "");
  EXPECT_EQ(tree.Find(ctx.categoryItems[8])->caption, CATEGORY_CAPTIONS[8]);
}

}  // namespace
}  // namespace vx
