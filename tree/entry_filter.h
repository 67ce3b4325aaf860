// The entries of a tag tree as the filter box finds them: every entry's
// caption, folder and inserted text, folded once when the filter first
// opens, so that each keystroke only compares.
#pragma once
#include <cstddef>
#include <cstdint>

#include "catalogue/catalogue.h"  // TreeItem

namespace vx {

// The most units of typed text a search reads; the box takes no more.
inline constexpr std::size_t FILTER_TEXT_LIMIT = 255;

class EntryIndex {
 public:
  EntryIndex() = default;
  ~EntryIndex();
  EntryIndex(const EntryIndex&) = delete;
  EntryIndex& operator=(const EntryIndex&) = delete;

  // Adds the next entry in tree order. caption and folder are the texts the
  // tree shows (zero-terminated UTF-16, null for none); insertion is what the
  // entry inserts, as code page 932 bytes (null for none).
  void Add(TreeItem item, const char16_t* caption, const char16_t* folder, const char* insertion);

  std::size_t Count() const { return count_; }
  TreeItem Item(std::size_t entry) const { return records_[entry].item; }
  const char16_t* Caption(std::size_t entry) const { return pool_ + records_[entry].caption; }
  const char16_t* Folder(std::size_t entry) const { return pool_ + records_[entry].folder; }
  // What the entry inserts, up to its first line end.
  const char16_t* FirstLine(std::size_t entry) const { return pool_ + records_[entry].firstLine; }

  // The entries whose caption or inserted text holds every word of typed
  // (length units, words parted by spaces), folded alike: first those whose
  // tag name starts with the first word, then the rest, each part in tree
  // order. Writes their numbers to out, which has room for Count(), and
  // returns how many. No words, no results.
  std::size_t Find(const char16_t* typed, std::size_t length, std::uint32_t* out) const;

 private:
  struct Record {
    TreeItem item;
    std::uint32_t caption, folder, firstLine;  // zero-terminated, in pool_
    std::uint32_t folded, foldedLength;        // caption, U+0001, insertion
    std::uint32_t tag, tagLength;              // the tag name, inside the folded text
  };

  std::uint32_t Append(const char16_t* text, std::size_t length, bool terminate);
  void Reserve(std::size_t records, std::size_t units);

  Record* records_ = nullptr;
  std::size_t count_ = 0;
  std::size_t recordCapacity_ = 0;
  char16_t* pool_ = nullptr;
  std::size_t poolLength_ = 0;
  std::size_t poolCapacity_ = 0;
};

}  // namespace vx
