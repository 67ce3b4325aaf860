#include "deffile/byte_sources.h"

#include <cstring>

namespace vx {

FileByteSource::FileByteSource(const char* path) {
  if (path != nullptr && path[0] != '\0') file_ = std::fopen(path, "rb");
}

FileByteSource::~FileByteSource() {
  if (file_ != nullptr) std::fclose(file_);
}

std::size_t FileByteSource::Read(unsigned char* buffer, std::size_t capacity) {
  if (file_ == nullptr || failed_ || capacity == 0) return 0;
  const std::size_t got = std::fread(buffer, 1, capacity, file_);
  // A failing read ends the file after whatever it still delivered.
  if (got < capacity && std::ferror(file_)) failed_ = true;
  return got;
}

MemoryByteSource::MemoryByteSource(const void* data, std::size_t size, std::size_t chunk)
    : data_(static_cast<const unsigned char*>(data)),
      size_(data != nullptr ? size : 0),
      chunk_(chunk == 0 ? 1 : chunk) {}

std::size_t MemoryByteSource::Read(unsigned char* buffer, std::size_t capacity) {
  std::size_t count = size_ - position_;
  if (count > capacity) count = capacity;
  if (count > chunk_) count = chunk_;
  if (count > 0) std::memcpy(buffer, data_ + position_, count);
  position_ += count;
  return count;
}

}  // namespace vx
