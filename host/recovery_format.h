// The recovery file's bytes: a header of "name=value" lines that names the
// document, how to write it back and how its file stood on disk when the
// work was kept, the lines it keeps as original bytes, then the text in
// UTF-8. The length lets a cut-off file be told from a whole one. Files of
// the first version (no disk state, no kept lines) are still read.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/encoding.h"
#include "host/kept_lines.h"

namespace vxhost {

// A document's file as it stood: what tells a later change on disk.
struct DiskState {
  std::uint64_t size = 0;
  std::uint64_t writeTime = 0;  // in the file system's own units
  bool operator==(const DiskState& other) const { return size == other.size && writeTime == other.writeTime; }
  bool operator!=(const DiskState& other) const { return !(*this == other); }
};

struct RecoveryRecord {
  std::string document;  // UTF-8; empty for an untitled document
  Encoding encoding = Encoding::Utf8;
  bool byteOrderMark = false;
  std::optional<DiskState> disk;  // none: the document had no file, or it could not be read
  bool diskRecorded = true;       // false for a file of the first version, which kept no disk state
  std::vector<KeptLine> kept;     // lines of text (from 0) written as these bytes
  std::string text;               // UTF-8
};

std::string FormatRecovery(const RecoveryRecord& record);
// False for anything that is not a whole recovery file as written.
bool ParseRecovery(std::string_view bytes, RecoveryRecord& record);

}  // namespace vxhost
