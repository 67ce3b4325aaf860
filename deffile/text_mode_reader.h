// Line reads over a ByteSource with the text-mode rules applied by hand, so
// every platform reads a definition file alike: CR bytes vanish, 0x1A ends
// the file, a read error ends it too. No code page conversion.
#pragma once
#include <cstddef>
#include <cstdint>

#include "deffile/byte_sources.h"

namespace vx {

class TextModeReader {
 public:
  explicit TextModeReader(ByteSource& source) : source_(source) {}
  TextModeReader(const TextModeReader&) = delete;
  TextModeReader& operator=(const TextModeReader&) = delete;

  // Delivers the bytes up to and including the next LF, or capacity - 1 bytes
  // if no LF comes within them, then a zero. Returns the count delivered; 0
  // means end of file, and then the buffer is left untouched.
  std::size_t ReadLine(char* buffer, std::size_t capacity);

  // True once a read of the source has failed.
  bool SourceFailed() const { return source_.Failed(); }
  // True once reading has stopped at a 0x1A byte.
  bool StoppedAtEndMark() const { return stoppedAtEndMark_; }
  // After a stop at 0x1A: how many bytes followed the mark within the block
  // that held it. Nothing further is read, as the loader reads nothing further
  // (a pipe or a growing file may never end).
  std::uint64_t BytesSeenAfterEndMark() const { return bytesAfterMarkInBlock_; }

 private:
  bool Refill();

  static constexpr std::size_t BLOCK_SIZE = 16384;
  ByteSource& source_;
  unsigned char block_[BLOCK_SIZE];
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool sourceDone_ = false;
  bool stoppedAtEndMark_ = false;
  std::uint64_t bytesAfterMarkInBlock_ = 0;
};

}  // namespace vx
