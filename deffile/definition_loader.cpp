#include "deffile/definition_loader.h"

#include <cstring>

#include "deffile/byte_sources.h"
#include "deffile/definition_text_table.h"
#include "deffile/definition_walker.h"

namespace vx {
namespace {

// The walk's folders and entries, handed to the sink; each entry's text goes
// to its slot of the table.
class LoadingVisitor final : public DefinitionVisitor {
 public:
  explicit LoadingVisitor(DefinitionSink& sink) : sink_(sink) {}

  DefinitionItem Folder(const DefinitionPiece&, int, const char* caption, DefinitionItem parent) override {
    return sink_.AddItem(parent, caption, UserItemKind::Folder, FOLDER_VALUE);
  }

  // A label at the very end gets an empty text rather than whatever an
  // earlier load left in its slot.
  void Entry(const DefinitionPiece& label, const DefinitionPiece* text, int index, DefinitionItem parent) override {
    char* slot = DefinitionTextTable[index];
    if (text != nullptr) {
      std::memcpy(slot, text->bytes, text->count + 1);
    } else {
      std::memset(slot, 0, DEFINITION_TEXT_SIZE);
    }
    sink_.AddItem(parent, label.bytes, UserItemKind::Entry, index);
  }

 private:
  DefinitionSink& sink_;
};

}  // namespace

void LoadDefinitionStream(ByteSource& source, DefinitionSink& sink) {
  LoadingVisitor loading(sink);
  WalkDefinition(source, loading);
}

void LoadDefinitionFile(const char* path, DefinitionSink& sink) {
  if (path == nullptr || path[0] == '\0') return;
  FileByteSource file(path);
  if (!file.IsOpen()) return;
  LoadDefinitionStream(file, sink);
}

}  // namespace vx
