// Where definition bytes come from: a file, opened in binary mode because
// the reader applies the text-mode rules itself, and memory.
#pragma once
#include <cstddef>
#include <cstdio>

namespace vx {

// A source of file bytes; Read returns the count delivered, 0 at end or error.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::size_t Read(unsigned char* buffer, std::size_t capacity) = 0;
  // True once a read has failed (as opposed to reaching the end).
  virtual bool Failed() const { return false; }
};

class FileByteSource final : public ByteSource {
 public:
  explicit FileByteSource(const char* path);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // True once a read has failed; the reads after it deliver nothing.
  bool Failed() const override { return failed_; }
  std::size_t Read(unsigned char* buffer, std::size_t capacity) override;

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

// Hands out at most chunk bytes per Read, so callers can be tried against
// every way a source may split its data.
class MemoryByteSource final : public ByteSource {
 public:
  MemoryByteSource(const void* data, std::size_t size, std::size_t chunk = static_cast<std::size_t>(-1));
  std::size_t Read(unsigned char* buffer, std::size_t capacity) override;

 private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t chunk_;
  std::size_t position_ = 0;
};

}  // namespace vx
