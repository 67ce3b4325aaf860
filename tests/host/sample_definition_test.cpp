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
  vx::DefinitionItem Parent;
  std::string Caption;
  vx::UserItemKind Kind;
  std::int32_t Value;
};

struct RecordingSink : vx::DefinitionSink {
  std::vector<Item> Items;
  vx::DefinitionItem AddItem(vx::DefinitionItem parent, const char* caption, vx::UserItemKind kind,
                             std::int32_t value) override {
    Items.push_back({parent, caption, kind, value});
    return Items.size();  // item handles 1, 2, ...
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
  for (const Item& item : sink.Items) {
    if (item.Kind == vx::UserItemKind::Folder) {
      folders.push_back(item.Caption);
    } else {
      EXPECT_EQ(item.Value, entries++) << item.Caption;
      EXPECT_NE(item.Parent, 0u) << item.Caption << " is outside every folder";
    }
  }
  ASSERT_EQ(folders.size(), 4u);
  EXPECT_EQ(entries, 13);

  // The second folder line has two dots: it hangs in the first folder.
  ASSERT_GE(sink.Items.size(), 6u);
  EXPECT_EQ(sink.Items[0].Parent, 0u);
  EXPECT_EQ(sink.Items[5].Kind, vx::UserItemKind::Folder);
  EXPECT_EQ(sink.Items[5].Parent, 1u);

  EXPECT_STREQ(vx::DefinitionTextTable[0], "<A HREF=\"#top\">ページの先頭へ</A>");
  for (int i = 0; i < entries; ++i) EXPECT_NE(vx::DefinitionTextTable[i][0], '\0') << "entry " << i;
}

}  // namespace
