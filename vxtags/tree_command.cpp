// vxtags tree [DEFFILE]: the tag tree as the tag window holds it, built by the
// same fill on a model tree, printed in pre-order.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "catalogue/catalogue.h"
#include "deffile/byte_sources.h"
#include "deffile/definition_loader.h"
#include "deffile/definition_text_table.h"
#include "deffile/definition_walker.h"
#include "vxtags/commands.h"
#include "vxtags/file_access.h"
#include "vxtags/text_output.h"
#include "tree/activation.h"
#include "tree/model_tree.h"
#include "tree/tag_tree.h"

namespace {

enum class FileState { Usable, Unreadable, WrongHeader };

// Walks no further than the header.
class HeaderOnly final : public vx::DefinitionVisitor {
 public:
  bool Header(const vx::DefinitionPiece&, bool) override { return false; }
};

// Hands on the bytes of another source, keeping those read while recording
// so that they are handed out again once replayed: the header is judged and
// the file loaded from one reading, which is all a pipe allows.
class ReplayingSource final : public vx::ByteSource {
 public:
  explicit ReplayingSource(vx::ByteSource& source) : source_(source) {}
  void Replay() { replaying_ = true; }
  bool Failed() const override { return source_.Failed(); }
  std::size_t Read(unsigned char* buffer, std::size_t capacity) override {
    if (replaying_ && replayed_ < kept_.size()) {
      const std::size_t count = std::min(capacity, kept_.size() - replayed_);
      std::memcpy(buffer, kept_.data() + replayed_, count);
      replayed_ += count;
      return count;
    }
    const std::size_t count = source_.Read(buffer, capacity);
    if (!replaying_) kept_.append(reinterpret_cast<const char*>(buffer), count);
    return count;
  }

 private:
  vx::ByteSource& source_;
  std::string kept_;
  std::size_t replayed_ = 0;
  bool replaying_ = false;
};

// The loader says nothing about a file it ignores; the reader of our output
// should learn why no user items appear. The first line is read and judged
// by the loader's own walk, from the replaying source, so that the loader
// reads the same bytes again.
FileState InspectDefinitionFile(vx::ByteSource& source) {
  HeaderOnly headerOnly;
  const bool matches = vx::WalkDefinition(source, headerOnly).headerMatches;
  if (source.Failed()) return FileState::Unreadable;
  return matches ? FileState::Usable : FileState::WrongHeader;
}

int CategoryIndexOf(const vx::TagTreeContext& ctx, vx::TreeItem item) {
  for (int k = 0; k < vx::CATEGORY_COUNT; ++k) {
    if (ctx.categoryItems[k] == item) return k;
  }
  return -1;
}

void PrintItem(const vx::TagTreeContext& ctx, const vx::ModelItemAtDepth& row) {
  const vx::ModelItem& item = *row.item;
  const std::string caption = vxtags::Cp932FieldToUtf8(item.caption.data(), item.caption.size());
  const int category = CategoryIndexOf(ctx, item.handle);
  const std::int32_t tagId = vx::FindCatalogueEntry(item.handle);
  if (category >= 0) {
    std::printf("%d\tcategory\t%d\t%s\n", row.depth, category, caption.c_str());
  } else if (tagId != vx::CATALOGUE_NOT_FOUND) {
    const bool group = vx::IsGroupEntry(tagId);
    std::printf("%d\t%s\t%d\t%s\n", row.depth, group ? "group" : "entry", tagId, caption.c_str());
  } else if (item.value < 0 || item.value >= vx::MAX_DEFINITION_TEXTS) {
    std::printf("%d\tfolder\t%d\t%s\n", row.depth, item.value, caption.c_str());
  } else {
    const std::string text = vxtags::Cp932FieldToUtf8(vx::DefinitionTextTable[item.value]);
    std::printf("%d\tuser\t%d\t%s\t%s\n", row.depth, item.value, caption.c_str(), text.c_str());
  }
}

}  // namespace

int vxtags::RunTreeCommand(int argc, char** argv) {
  if (argc > 1 || (argc == 1 && argv[0][0] == '-' && std::strcmp(argv[0], vxtags::STANDARD_INPUT) != 0))
    return Usage();
  const char* path = argc == 1 ? argv[0] : "";

  int status = 0;
  vxtags::InputFile file(path);
  ReplayingSource source(file);
  FileState state = FileState::Usable;
  if (path[0] != '\0') state = file.IsOpen() ? InspectDefinitionFile(source) : FileState::Unreadable;
  switch (state) {
    case FileState::Usable:
      break;
    case FileState::Unreadable:
      std::fprintf(stderr, "vxtags: cannot read %s: %s; the tree holds the catalogue alone\n", path,
                   file.Reason().c_str());
      status = 2;
      break;
    case FileState::WrongHeader:
      std::fprintf(stderr,
                   "vxtags: %s does not begin with the definition file's header line; "
                   "the tree holds the catalogue alone\n",
                   path);
      break;
  }

  // The image indices a complete image list gives; the output shows none of them.
  vx::TagTreeContext ctx{};
  ctx.imageHome = 0;
  ctx.imageFolder = 1;
  ctx.imageFolderSelected = 3;
  ctx.imageTag = 5;
  ctx.imageTagSelected = 7;
  vx::ModelTree tree;
  source.Replay();
  vx::MemoryByteSource nothing(nullptr, 0);
  vx::FillTagTreeItemsFromSource(ctx, tree, vx::LoadCatalogueCaption, nullptr,
                                 state == FileState::Usable && path[0] != '\0' ? static_cast<vx::ByteSource&>(source)
                                                                               : nothing);
  for (const vx::ModelItemAtDepth& row : tree.PreOrder()) PrintItem(ctx, row);
  return status;
}
