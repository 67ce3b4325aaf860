// Walks a definition file as the loader reads it and points out, line by
// line, what the loader will do that a hand-writing author may not expect.
#pragma once
#include <cstdint>

#include "deffile/byte_sources.h"

namespace vx {

enum class CheckFinding {
  HeaderMismatch,      // the whole file is ignored
  LineSplit,           // a line longer than 255 bytes reads as several
  LabelWithoutText,    // a label ends the file
  EmptyText,           // the line after a label is empty
  TextLooksLikeFolder, // the line after a label starts with '.'
  TextLooksLikeLabel,  // the line after a label holds no HTML
  FolderAtTopLevel,    // no folder one level up yet
  ExtraDots,           // more than 100 dots: the rest join the caption
  EntriesBeyondLimit,  // lines after the 3000th entry
  FoldersBeyondLimit,  // lines after the 3000th folder
  BytesAfterEndMark,   // bytes after a 0x1A
  InvalidCp932,        // bytes that are no code page 932 character, in the converter's words
  NulByte,             // a NUL byte cuts the line short
  Utf8File,            // the whole file is ignored: it is UTF-8, which vxtags convert turns into code page 932
};

class CheckReport {
 public:
  virtual ~CheckReport() = default;
  // line counts line feeds from 1; message is plain ASCII without a line end.
  virtual void Finding(std::uint64_t line, CheckFinding kind, const char* message) = 0;
};

struct CheckSummary {
  bool headerMatches = false;
  std::uint64_t folders = 0;
  std::uint64_t entries = 0;
  std::uint64_t findings = 0;
  // A read failed: the findings cover only the part read before it.
  bool readFailed = false;
};

CheckSummary CheckDefinitionStream(ByteSource& source, CheckReport& report);

}  // namespace vx
