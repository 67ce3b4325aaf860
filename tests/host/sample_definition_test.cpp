// The shipped sample definition file loads into the tree the editor promises:
// a few folders, one nested, each with entries whose texts are stored whole.
// Texts of this file are code page 932 in the binary (vx_cp932_sources).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "deffile/definition_loader.h"
#include "deffile/definition_text_table.h"

namespace {

struct Item {
  vx::DefinitionItem parent;
  std::string caption;
  vx::UserItemKind kind;
  std::int32_t value;
};

struct RecordingSink : vx::DefinitionSink {
  std::vector<Item> items;
  vx::DefinitionItem AddItem(vx::DefinitionItem parent, const char* caption, vx::UserItemKind kind,
                             std::int32_t value) override {
    items.push_back({parent, caption, kind, value});
    return items.size();  // item handles 1, 2, ...
  }
};

std::string SamplePath() {
  const char* root = std::getenv("VX_SOURCE_DIR");
  return std::string(root ? root : "..") + "/host/sample.def";
}

TEST(HostSampleDefinition, LoadsFoldersNestedFolderAndEntries) {
  RecordingSink sink;
  vx::LoadDefinitionFile(SamplePath().c_str(), sink);

  std::vector<std::string> folders;
  int entries = 0;
  for (const Item& item : sink.items) {
    if (item.kind == vx::UserItemKind::Folder) {
      folders.push_back(item.caption);
    } else {
      EXPECT_EQ(item.value, entries++) << item.caption;
      EXPECT_NE(item.parent, 0u) << item.caption << " is outside every folder";
    }
  }
  ASSERT_EQ(folders.size(), 4u);
  EXPECT_EQ(entries, 13);

  // The second folder line has two dots: it hangs in the first folder.
  ASSERT_GE(sink.items.size(), 6u);
  EXPECT_EQ(sink.items[0].parent, 0u);
  EXPECT_EQ(sink.items[5].kind, vx::UserItemKind::Folder);
  EXPECT_EQ(sink.items[5].parent, 1u);

  EXPECT_STREQ(vx::DefinitionTextTable[0], "<A HREF=\"#top\">ページの先頭へ</A>");
  for (int i = 0; i < entries; ++i) EXPECT_NE(vx::DefinitionTextTable[i][0], '\0') << "entry " << i;
}

}  // namespace
