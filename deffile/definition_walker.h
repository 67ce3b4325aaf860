// The one reading of a definition file. The walk reads it exactly as the
// loader must (the text-mode rules, 255-byte reads, the header, blank lines,
// folder lines and their depth, label and text pairs, the bounds on entries
// and folders) and tells a visitor what it meets, in file order. The loader,
// the checker and the tools each add only their own concern on top.
#pragma once
#include <cstddef>
#include <cstdint>

#include "deffile/definition_format.h"
#include "deffile/definition_loader.h"

namespace vx {

// One read of the file: at most 255 bytes and a zero. Read() and Header()
// see the bytes as delivered; every other hook sees them as the loader takes
// them, a zero-terminated text without its LF.
struct DefinitionPiece {
  char bytes[DEFINITION_LINE_SIZE];
  std::size_t count;          // bytes delivered, LF included; 0 only for an empty file's header
  bool endsLine;              // the read delivered an LF
  bool continuation;          // the line was cut at 255 bytes just before this piece
  std::uint64_t line;         // counts LFs from 1
  // The LF alone, after a line of exactly 255 bytes.
  bool IsLoneLineEnd() const { return continuation && count == 1 && endsLine; }
};

enum class DefinitionLimit { None, Entries, Folders };

class DefinitionVisitor {
 public:
  virtual ~DefinitionVisitor() = default;
  // Every read that delivered bytes, header included, before anything else is told of it.
  virtual void Read(const DefinitionPiece&) {}
  // The first read (an empty file's is empty); the walk goes on only when this returns true.
  virtual bool Header(const DefinitionPiece&, bool matches) { return matches; }
  // A folder line: level 0..99, caption the rest after the counted dots, parent
  // the folder it goes into (0: the top level). Returns the folder made, 0 for none.
  virtual DefinitionItem Folder(const DefinitionPiece& /*line*/, int /*level*/, const char* /*caption*/,
                                DefinitionItem /*parent*/) {
    return 0;
  }
  // A label line, before its text line is read.
  virtual void Label(const DefinitionPiece&) {}
  // The entry of a label and its text line (nullptr: the file ended first);
  // index counts entries from 0, parent as for Folder.
  virtual void Entry(const DefinitionPiece& /*label*/, const DefinitionPiece* /*text*/, int /*index*/,
                     DefinitionItem /*parent*/) {}
  // Whether to read on past the last entry or folder the loader takes, to
  // hand the first non-empty line after it to PastLimit.
  virtual bool ReadsPastLimit() const { return false; }
  virtual void PastLimit(const DefinitionPiece& /*line*/, DefinitionLimit) {}
  // A read delivered nothing: the file ends (or could not be read further) before line.
  virtual void EndOfFile(std::uint64_t /*line*/) {}
};

struct DefinitionWalk {
  bool headerMatches = false;
  int folders = 0;
  int entries = 0;
  DefinitionLimit limit = DefinitionLimit::None;  // which bound stopped the walk
  // The walk ended at a 0x1A byte, and how many bytes followed it within the
  // block that held it (nothing further is read: a pipe may never end).
  bool stoppedAtEndMark = false;
  std::uint64_t bytesAfterEndMark = 0;
};

DefinitionWalk WalkDefinition(ByteSource& source, DefinitionVisitor& visitor);

}  // namespace vx
