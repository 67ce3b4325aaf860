// The built-in tag catalogue: 11 categories, 74 primary and 103 secondary
// entries. Labels are code page 932 bytes.
#pragma once
#include <cstdint>

namespace vx {

// Opaque tree item handle (HTREEITEM's width on every build); 0 is none.
using TreeItem = std::uintptr_t;

inline constexpr int PRIMARY_ENTRY_COUNT = 74;
inline constexpr int SECONDARY_ENTRY_COUNT = 103;
inline constexpr int TAG_COUNT = PRIMARY_ENTRY_COUNT + SECONDARY_ENTRY_COUNT;  // 177
inline constexpr int CATEGORY_COUNT = 11;
inline constexpr int GROUP_ENTRY_COUNT = 29;
inline constexpr int LABEL_SIZE = 120;
inline constexpr int CATEGORY_CAPTION_FIRST_ID = 5002;

struct TagEntry {
  char label[LABEL_SIZE];
  std::int32_t image;
  TreeItem parentItem;
  TreeItem treeItem;
};

struct CategoryRange {
  std::int32_t first;
  std::int32_t last;
};

extern TagEntry PrimaryEntries[PRIMARY_ENTRY_COUNT];
extern TagEntry SecondaryEntries[SECONDARY_ENTRY_COUNT];
extern const std::int32_t GROUP_CHILD_COUNTS[PRIMARY_ENTRY_COUNT];
extern const CategoryRange CATEGORY_RANGES[CATEGORY_COUNT];
// Category captions in code page 932, the same texts as string resources 5002..5012.
extern const char* const CATEGORY_CAPTIONS[CATEGORY_COUNT];

// The record of tag id 0..176, or nullptr outside that range.
TagEntry* CatalogueEntry(std::int32_t tagId);
// A primary entry with entries under it: it has no text of its own.
bool IsGroupEntry(std::int32_t tagId);

}  // namespace vx
