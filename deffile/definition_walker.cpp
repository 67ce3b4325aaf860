#include "deffile/definition_walker.h"

#include <cstring>

#include "deffile/definition_text_table.h"
#include "deffile/text_mode_reader.h"

namespace vx {
namespace {

// Each level remembers the last folder made at it in this walk; a shallower
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

class Walker {
 public:
  Walker(ByteSource& source, DefinitionVisitor& visitor) : reader_(source), visitor_(visitor) {}
  DefinitionWalk Run();

 private:
  bool Next(DefinitionPiece& piece, bool keepLineEnd = false);
  void AddFolder();
  void AddEntry();
  void ReadPastLimit();

  TextModeReader reader_;
  DefinitionVisitor& visitor_;
  DefinitionWalk walk_;
  FolderLevels levels_;
  DefinitionPiece line_ = {};
  DefinitionPiece text_ = {};
  std::uint64_t nextLine_ = 1;
  bool midLine_ = false;
  bool ended_ = false;
};

// One read, told to the visitor, then its LF taken off. False at the end.
bool Walker::Next(DefinitionPiece& piece, bool keepLineEnd) {
  piece.count = ended_ ? 0 : reader_.ReadLine(piece.bytes, sizeof piece.bytes);
  piece.line = nextLine_;
  if (piece.count == 0) {
    if (!ended_) visitor_.EndOfFile(nextLine_);
    ended_ = true;
    return false;
  }
  piece.continuation = midLine_;
  piece.endsLine = piece.bytes[piece.count - 1] == '\n';
  visitor_.Read(piece);
  if (piece.endsLine) {
    if (!keepLineEnd) piece.bytes[piece.count - 1] = '\0';
    ++nextLine_;
  }
  midLine_ = !piece.endsLine;
  return true;
}

// The dots count up to MAX_FOLDER_DEPTH; any further dots belong to the caption.
void Walker::AddFolder() {
  int dots = 0;
  while (line_.bytes[dots] == '.' && dots < MAX_FOLDER_DEPTH) ++dots;
  const int level = dots - 1;
  levels_.Set(level, visitor_.Folder(line_, level, line_.bytes + dots, levels_.ParentFor(level)));
  if (++walk_.folders == MAX_DEFINITION_FOLDERS) walk_.limit = DefinitionLimit::Folders;
}

// The line after a label is its text whatever it looks like.
void Walker::AddEntry() {
  visitor_.Label(line_);
  const bool hasText = Next(text_);
  visitor_.Entry(line_, hasText ? &text_ : nullptr, walk_.entries, levels_.Current());
  if (++walk_.entries == MAX_DEFINITION_TEXTS) walk_.limit = DefinitionLimit::Entries;
}

void Walker::ReadPastLimit() {
  while (Next(line_)) {
    if (line_.bytes[0] == '\0') continue;
    visitor_.PastLimit(line_, walk_.limit);
    return;
  }
}

DefinitionWalk Walker::Run() {
  Next(line_, true);  // an empty file leaves the zeroed piece: no header
  walk_.headerMatches = IsDefinitionHeaderLine(line_.bytes, line_.count);
  if (!visitor_.Header(line_, walk_.headerMatches)) return walk_;
  // A NUL byte ends a line's text early, as it ends any zero-terminated text.
  while (walk_.limit == DefinitionLimit::None && Next(line_)) {
    if (line_.bytes[0] == '\0') continue;  // an empty line, or the lone LF after 255 bytes
    if (line_.bytes[0] == '.') {
      AddFolder();
    } else {
      AddEntry();
    }
  }
  if (walk_.limit != DefinitionLimit::None && visitor_.ReadsPastLimit()) ReadPastLimit();
  walk_.stoppedAtEndMark = reader_.StoppedAtEndMark();
  walk_.bytesAfterEndMark = reader_.BytesSeenAfterEndMark();
  return walk_;
}

}  // namespace

DefinitionWalk WalkDefinition(ByteSource& source, DefinitionVisitor& visitor) {
  Walker walker(source, visitor);
  return walker.Run();
}

}  // namespace vx
