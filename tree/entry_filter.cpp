#include "tree/entry_filter.h"

#include <cstring>

#include "catalogue/recipes.h"
#include "tree/text_fold.h"

namespace vx {
namespace {

// Stands between the caption and the inserted text in the folded text: no
// typed word holds it (folding makes every control character a space), so
// no match spans the two.
constexpr char16_t PART_SEPARATOR = 0x0001;
constexpr std::size_t INSERTION_UNITS = RECIPE_BUFFER_SIZE;
constexpr std::size_t FIRST_RECORDS = 256;
constexpr std::size_t FIRST_POOL_UNITS = 16384;

struct Word {
  std::size_t start;
  std::size_t length;
};

std::size_t LengthOf(const char16_t* text) {
  std::size_t length = 0;
  if (text) {
    while (text[length] != 0) ++length;
  }
  return length;
}

std::size_t FirstLineLength(const char16_t* text, std::size_t length) {
  std::size_t end = 0;
  while (end < length && text[end] != u'\r' && text[end] != u'\n') ++end;
  return end;
}

bool IsTagNameUnit(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'); }

// The letters and digits after the first "<" (or "</", "<!") of text[from, to),
// as a start and a length; length 0 when there is no such name.
Word TagNameIn(const char16_t* text, std::size_t from, std::size_t to) {
  for (std::size_t at = from; at < to; ++at) {
    if (text[at] != u'<') continue;
    std::size_t start = at + 1;
    if (start < to && (text[start] == u'/' || text[start] == u'!')) ++start;
    std::size_t end = start;
    while (end < to && IsTagNameUnit(text[end])) ++end;
    return {start, end - start};
  }
  return {0, 0};
}

bool Contains(const char16_t* text, std::size_t length, const char16_t* word, std::size_t wordLength) {
  if (wordLength > length) return false;
  const std::size_t last = length - wordLength;
  for (std::size_t at = 0; at <= last; ++at) {
    if (text[at] != word[0]) continue;
    std::size_t i = 1;
    while (i < wordLength && text[at + i] == word[i]) ++i;
    if (i == wordLength) return true;
  }
  return false;
}

template <class T>
T* Grown(T* old, std::size_t used, std::size_t capacity) {
  T* grown = new T[capacity];
  if (old) std::memcpy(grown, old, used * sizeof(T));
  delete[] old;
  return grown;
}

}  // namespace

EntryIndex::~EntryIndex() {
  delete[] records_;
  delete[] pool_;
}

void EntryIndex::Reserve(std::size_t records, std::size_t units) {
  if (count_ + records > recordCapacity_) {
    std::size_t capacity = recordCapacity_ ? recordCapacity_ * 2 : FIRST_RECORDS;
    while (capacity < count_ + records) capacity *= 2;
    records_ = Grown(records_, count_, capacity);
    recordCapacity_ = capacity;
  }
  if (poolLength_ + units > poolCapacity_) {
    std::size_t capacity = poolCapacity_ ? poolCapacity_ * 2 : FIRST_POOL_UNITS;
    while (capacity < poolLength_ + units) capacity *= 2;
    pool_ = Grown(pool_, poolLength_, capacity);
    poolCapacity_ = capacity;
  }
}

std::uint32_t EntryIndex::Append(const char16_t* text, std::size_t length, bool terminate) {
  const auto at = static_cast<std::uint32_t>(poolLength_);
  if (length) std::memcpy(pool_ + poolLength_, text, length * sizeof(char16_t));
  poolLength_ += length;
  if (terminate) pool_[poolLength_++] = 0;
  return at;
}

void EntryIndex::Add(TreeItem item, const char16_t* caption, const char16_t* folder,
                     const char* insertion) {
  char16_t inserted[INSERTION_UNITS];
  const std::size_t insertedLength = insertion ? DecodeCp932Text(insertion, inserted, INSERTION_UNITS) : 0;
  const std::size_t captionLength = LengthOf(caption);
  const std::size_t folderLength = LengthOf(folder);
  const std::size_t lineLength = FirstLineLength(inserted, insertedLength);
  // Shown texts with their zeros, then the folded text with its separator.
  Reserve(1, captionLength + folderLength + lineLength + 3 + captionLength + 1 + insertedLength);

  Record& record = records_[count_];
  record.item = item;
  record.caption = Append(caption, captionLength, true);
  record.folder = Append(folder, folderLength, true);
  record.firstLine = Append(inserted, lineLength, true);
  record.folded = static_cast<std::uint32_t>(poolLength_);
  char16_t* folded = pool_ + poolLength_;
  std::size_t length = FoldText(caption ? caption : u"", captionLength, folded);
  const std::size_t captionEnd = length;
  folded[length++] = PART_SEPARATOR;
  length += FoldText(inserted, insertedLength, folded + length);
  poolLength_ += length;
  record.foldedLength = static_cast<std::uint32_t>(length);

  // The caption names the tag where it can; else the inserted text does.
  Word tag = TagNameIn(folded, 0, captionEnd);
  if (tag.length == 0) tag = TagNameIn(folded, captionEnd + 1, length);
  record.tag = static_cast<std::uint32_t>(tag.start);
  record.tagLength = static_cast<std::uint32_t>(tag.length);
  ++count_;
}

std::size_t EntryIndex::Find(const char16_t* typed, std::size_t length, std::uint32_t* out) const {
  if (length > FILTER_TEXT_LIMIT) length = FILTER_TEXT_LIMIT;
  char16_t folded[FILTER_TEXT_LIMIT];
  const std::size_t foldedLength = FoldText(typed, length, folded);

  Word words[FILTER_TEXT_LIMIT / 2 + 1];
  std::size_t wordCount = 0;
  for (std::size_t at = 0; at < foldedLength;) {
    while (at < foldedLength && folded[at] == u' ') ++at;
    const std::size_t start = at;
    while (at < foldedLength && folded[at] != u' ') ++at;
    if (at > start) words[wordCount++] = {start, at - start};
  }
  if (wordCount == 0) return 0;

  // Ranking asks whether the tag name starts with the first word, read
  // without the "<" or "</" a user may type before a name.
  Word prefix = words[0];
  while (prefix.length > 0 && (folded[prefix.start] == u'<' || folded[prefix.start] == u'/')) {
    ++prefix.start;
    --prefix.length;
  }

  // Entries named by the prefix fill out from the front, the others from the
  // back (reversed), so that no second buffer is needed.
  std::size_t front = 0;
  std::size_t back = count_;
  for (std::size_t entry = 0; entry < count_; ++entry) {
    const Record& record = records_[entry];
    const char16_t* text = pool_ + record.folded;
    bool all = true;
    for (std::size_t w = 0; w < wordCount && all; ++w) {
      all = Contains(text, record.foldedLength, folded + words[w].start, words[w].length);
    }
    if (!all) continue;
    const bool named = prefix.length > 0 && prefix.length <= record.tagLength &&
                       std::memcmp(text + record.tag, folded + prefix.start,
                                   prefix.length * sizeof(char16_t)) == 0;
    if (named) {
      out[front++] = static_cast<std::uint32_t>(entry);
    } else {
      out[--back] = static_cast<std::uint32_t>(entry);
    }
  }
  for (std::size_t low = back, high = count_; low + 1 < high; ++low, --high) {
    const std::uint32_t kept = out[low];
    out[low] = out[high - 1];
    out[high - 1] = kept;
  }
  std::memmove(out + front, out + back, (count_ - back) * sizeof *out);
  return front + (count_ - back);
}

}  // namespace vx
