// vxtags catalogue: categories and entries in tree order, labels in UTF-8.
#include <cstdio>
#include <string>

#include "catalogue/catalogue.h"
#include "vxtags/commands.h"
#include "vxtags/text_output.h"

namespace {

void PrintLine(int depth, const char* kind, int number, const char* cp932Text) {
  const std::string label = vxtags::Cp932FieldToUtf8(cp932Text);
  std::printf("%d\t%s\t%d\t%s\n", depth, kind, number, label.c_str());
}

}  // namespace

int vxtags::RunCatalogueCommand(int argc, char**) {
  if (argc != 0) return Usage();
  // Secondary entries go to the groups in increasing tag id, with no gap.
  std::int32_t nextSecondary = vx::PRIMARY_ENTRY_COUNT;
  for (int category = 0; category < vx::CATEGORY_COUNT; ++category) {
    PrintLine(0, "category", category, vx::CATEGORY_CAPTIONS[category]);
    const vx::CategoryRange& range = vx::CATEGORY_RANGES[category];
    for (std::int32_t tagId = range.first; tagId <= range.last; ++tagId) {
      const bool group = vx::IsGroupEntry(tagId);
      PrintLine(1, group ? "group" : "entry", tagId, vx::CatalogueEntry(tagId)->label);
      if (!group) continue;
      for (std::int32_t i = 0; i < vx::GROUP_CHILD_COUNTS[tagId]; ++i, ++nextSecondary) {
        PrintLine(2, "entry", nextSecondary, vx::CatalogueEntry(nextSecondary)->label);
      }
    }
  }
  return 0;
}
