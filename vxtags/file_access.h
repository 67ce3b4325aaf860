// The files vxtags reads and writes, behind one interface with a POSIX and a
// Windows side (file_access_posix.cpp, file_access_win32.cpp), so that every
// command reads, refuses and reports alike on both systems. Paths are UTF-8;
// reasons are worded the same on both sides.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "deffile/byte_sources.h"

namespace vxtags {

// What names one file whatever path reaches it: device and inode, or volume
// serial number and file index. Links, case and short names all meet here.
// The name that stands for standard input wherever an input file is named.
inline constexpr char STANDARD_INPUT[] = "-";

struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool known = false;
  bool operator==(const FileIdentity& other) const {
    return known && other.known && volume == other.volume && index == other.index;
  }
};

// An input opened without waiting for anyone: a regular file or a pipe (a
// FIFO with no writer reads as empty); "-" is standard input, which is left
// open. Anything else is refused with its reason. Read once, front to back,
// so a pipe serves as well as a file.
class InputFile final : public vx::ByteSource {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile() override;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return open_; }
  // Why the open or a read failed, e.g. "Is a directory".
  const std::string& Reason() const { return reason_; }
  const FileIdentity& Identity() const { return identity_; }
  // A file on a disk rather than a pipe: one that a name can reach again.
  bool IsRegularFile() const { return regular_; }
  bool Failed() const override { return failed_; }
  std::size_t Read(unsigned char* buffer, std::size_t capacity) override;

 private:
  std::intptr_t handle_ = -1;
  bool open_ = false;
  bool owned_ = true;
  bool regular_ = false;
  bool failed_ = false;
  std::string reason_;
  FileIdentity identity_;
};

enum class WriteOutcome { Written, Refused, Failed };

struct WriteResult {
  WriteOutcome outcome;
  std::string reason;  // empty when written
};

// Replaces the file at path by bytes, whole or not at all: written to a
// temporary file beside it and renamed over it. Refused, touching nothing:
// the input itself by any name, anything that exists and is not a regular
// file (folder, device, pipe, socket), a symbolic link (its target is named
// instead) and a read-only file. Temporary files left by a run that was
// killed are removed on the way; an interrupt removes this run's own.
WriteResult ReplaceOutputFile(const std::string& path, const std::string& bytes, const FileIdentity& input);

// The refusals of ReplaceOutputFile alone, for a caller that asks before it
// does the work (Written: the output may be written).
WriteResult CheckOutputFile(const std::string& path, const FileIdentity& input);

}  // namespace vxtags
