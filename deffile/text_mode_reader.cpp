#include "deffile/text_mode_reader.h"

#include <cstring>

namespace vx {
namespace {

constexpr unsigned char CARRIAGE_RETURN = 0x0D;
constexpr unsigned char END_MARK = 0x1A;

// Squeezes the CR bytes out of data in place and returns the new length.
// Whole runs between CRs move at once, so CR LF files cost one move a line.
std::size_t DropCarriageReturns(unsigned char* data, std::size_t length) {
  unsigned char* cr = static_cast<unsigned char*>(std::memchr(data, CARRIAGE_RETURN, length));
  if (cr == nullptr) return length;
  unsigned char* write = cr;
  const unsigned char* read = cr + 1;
  const unsigned char* end = data + length;
  while (read < end) {
    const unsigned char* next =
        static_cast<const unsigned char*>(std::memchr(read, CARRIAGE_RETURN, end - read));
    const unsigned char* runEnd = next != nullptr ? next : end;
    std::memmove(write, read, runEnd - read);
    write += runEnd - read;
    read = runEnd + (next != nullptr ? 1 : 0);
  }
  return write - data;
}

}  // namespace

// Cleans each block as it arrives, so that ReadLine only has to look for LF.
bool TextModeReader::Refill() {
  while (!sourceDone_) {
    std::size_t got = source_.Read(block_, BLOCK_SIZE);
    if (got == 0 || got > BLOCK_SIZE) {
      sourceDone_ = true;
      break;
    }
    const unsigned char* mark = static_cast<const unsigned char*>(std::memchr(block_, END_MARK, got));
    if (mark != nullptr) {
      bytesAfterMarkInBlock_ = got - (mark - block_) - 1;
      got = mark - block_;
      sourceDone_ = true;
      stoppedAtEndMark_ = true;
    }
    begin_ = 0;
    end_ = DropCarriageReturns(block_, got);
    if (end_ > 0) return true;
  }
  begin_ = end_ = 0;
  return false;
}

std::size_t TextModeReader::ReadLine(char* buffer, std::size_t capacity) {
  if (buffer == nullptr || capacity < 2) return 0;
  const std::size_t limit = capacity - 1;
  std::size_t count = 0;
  while (count < limit) {
    if (begin_ == end_ && !Refill()) break;
    const unsigned char* from = block_ + begin_;
    std::size_t available = end_ - begin_;
    if (available > limit - count) available = limit - count;
    const void* lineFeed = std::memchr(from, '\n', available);
    const std::size_t take =
        lineFeed != nullptr ? static_cast<const unsigned char*>(lineFeed) - from + 1 : available;
    std::memcpy(buffer + count, from, take);
    count += take;
    begin_ += take;
    if (lineFeed != nullptr) break;
  }
  if (count > 0) buffer[count] = '\0';
  return count;
}

}  // namespace vx
