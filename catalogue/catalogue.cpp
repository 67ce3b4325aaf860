// Hierarchy of the built-in catalogue: which entries are groups and which
// primary entries each category holds. The labels are in catalogue_data.cpp.
#include "catalogue/catalogue.h"

namespace vx {

// Secondary entries are handed to the groups in increasing tag id, so these
// counts alone fix which secondary entry hangs under which group.
// constexpr, so the checks below run at compile time; the header's extern
// declaration keeps the linkage external.
constexpr std::int32_t GROUP_CHILD_COUNTS[PRIMARY_ENTRY_COUNT] = {
    // +0 +1 +2 +3 +4 +5 +6 +7 +8 +9
    0, 0, 0, 0, 0, 6, 2, 6, 3, 2,  //  0..9
    7, 8, 0, 0, 0, 3, 0, 0, 0, 0,  // 10..19
    0, 0, 0, 7, 0, 0, 0, 0, 3, 0,  // 20..29
    5, 2, 0, 0, 0, 3, 2, 2, 0, 0,  // 30..39
    0, 0, 0, 0, 0, 2, 2, 0, 0, 2,  // 40..49
    2, 3, 2, 2, 0, 2, 6, 0, 0, 3,  // 50..59
    3, 0, 0, 2, 0, 2, 0, 0, 9, 0,  // 60..69
    0, 0, 0, 0,                    // 70..73
};

constexpr CategoryRange CATEGORY_RANGES[CATEGORY_COUNT] = {
    {0, 6},    //  0 基本構成
    {7, 16},   //  1 フォント
    {17, 26},  //  2 テキスト
    {27, 33},  //  3 リスト
    {34, 41},  //  4 画像
    {42, 45},  //  5 リンク
    {46, 53},  //  6 表組
    {54, 58},  //  7 フレーム
    {59, 65},  //  8 Netscape3.0拡張
    {66, 70},  //  9 InternetExplorer拡張
    {71, 73},  // 10 プラグイン呼び出し
};

namespace {

constexpr bool CountsCoverSecondaryEntries() {
  int groups = 0;
  int children = 0;
  for (std::int32_t count : GROUP_CHILD_COUNTS) {
    if (count > 0) {
      ++groups;
      children += count;
    }
  }
  return groups == GROUP_ENTRY_COUNT && children == SECONDARY_ENTRY_COUNT;
}
static_assert(CountsCoverSecondaryEntries(), "group child counts must hand out all secondary entries");

constexpr bool RangesTileThePrimaryEntries() {
  std::int32_t next = 0;
  for (const CategoryRange& range : CATEGORY_RANGES) {
    if (range.first != next || range.last < range.first) return false;
    next = range.last + 1;
  }
  return next == PRIMARY_ENTRY_COUNT;
}
static_assert(RangesTileThePrimaryEntries(), "categories must hold every primary entry once, in order");

}  // namespace

TagEntry* CatalogueEntry(std::int32_t tagId) {
  if (tagId < 0 || tagId >= TAG_COUNT) return nullptr;
  if (tagId < PRIMARY_ENTRY_COUNT) return &PrimaryEntries[tagId];
  return &SecondaryEntries[tagId - PRIMARY_ENTRY_COUNT];
}

bool IsGroupEntry(std::int32_t tagId) {
  return tagId >= 0 && tagId < PRIMARY_ENTRY_COUNT && GROUP_CHILD_COUNTS[tagId] > 0;
}

}  // namespace vx
