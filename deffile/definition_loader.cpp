#include "deffile/definition_loader.h"

#include <cstring>

#include "deffile/byte_sources.h"
#include "deffile/definition_lines.h"
#include "deffile/definition_text_table.h"
#include "deffile/text_mode_reader.h"

namespace vx {
namespace {

// Each level remembers the last folder made at it in this load; a shallower
// folder line leaves the deeper levels as they were.
class FolderLevels {
 public:
  DefinitionItem ParentFor(int level) const { return level == 0 ? 0 : slots_[level - 1]; }
  DefinitionItem Current() const { return slots_[current_]; }
  void Set(int level, DefinitionItem folder) {
    slots_[level] = folder;  // a refused folder leaves none here
    current_ = level;
  }

 private:
  DefinitionItem slots_[MAX_FOLDER_DEPTH] = {};
  int current_ = 0;
};

void AddFolder(const char* line, FolderLevels& levels, DefinitionSink& sink) {
  const FolderLine folder = SplitFolderLine(line);
  const DefinitionItem parent = levels.ParentFor(folder.level);
  levels.Set(folder.level, sink.AddItem(parent, folder.caption, UserItemKind::Folder, FOLDER_VALUE));
}

// The line after a label is its text whatever it looks like. A label at the
// very end gets an empty text rather than whatever an earlier load left in
// its slot.
void AddEntry(const char* label, int index, TextModeReader& reader, const FolderLevels& levels,
              DefinitionSink& sink) {
  char* slot = DefinitionTextTable[index];
  if (reader.ReadLine(slot, DEFINITION_TEXT_SIZE) == 0) std::memset(slot, 0, DEFINITION_TEXT_SIZE);
  slot[DEFINITION_TEXT_SIZE - 1] = '\0';
  RemoveLineEnd(slot);
  sink.AddItem(levels.Current(), label, UserItemKind::Entry, index);
}

}  // namespace

void LoadDefinitionStream(ByteSource& source, DefinitionSink& sink) {
  TextModeReader reader(source);
  char line[DEFINITION_LINE_SIZE] = {};
  if (!IsDefinitionHeaderLine(line, reader.ReadLine(line, sizeof line))) return;

  FolderLevels levels;
  int entries = 0;
  int folders = 0;
  std::memset(line, 0, sizeof line);  // a file of the header alone reads as one empty line
  reader.ReadLine(line, sizeof line);
  do {
    RemoveLineEnd(line);
    if (line[0] == '\0') continue;
    if (line[0] == '.') {
      AddFolder(line, levels, sink);
      ++folders;
    } else {
      AddEntry(line, entries, reader, levels, sink);
      ++entries;
    }
  } while (entries < MAX_DEFINITION_TEXTS && folders < MAX_DEFINITION_FOLDERS &&
           reader.ReadLine(line, sizeof line) > 0);
}

void LoadDefinitionFile(const char* path, DefinitionSink& sink) {
  if (path == nullptr || path[0] == '\0') return;
  FileByteSource file(path);
  if (!file.IsOpen()) return;
  LoadDefinitionStream(file, sink);
}

}  // namespace vx
