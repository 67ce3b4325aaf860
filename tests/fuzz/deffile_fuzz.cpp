// libFuzzer target: any bytes through the walk and every reading built on it.
// The first byte picks how the source splits its data and which insertions
// are refused, so block boundaries and refused folders get their share. The
// loader must hand its sink exactly the folders and entries the walk met, the
// checker must count what the walk counted, and a file that converts to UTF-8
// and back without findings must walk as the original does once its last
// line is ended.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "deffile/byte_sources.h"
#include "deffile/definition_check.h"
#include "deffile/definition_loader.h"
#include "deffile/definition_text_table.h"
#include "deffile/definition_walker.h"
#include "deffile/definition_convert.h"

namespace {

[[noreturn]] void Fail() { std::abort(); }

// Made items are numbered from 1; every refuseEvery-th request is refused.
class Refusals {
 public:
  explicit Refusals(unsigned refuseEvery) : refuseEvery_(refuseEvery) {}
  vx::DefinitionItem Next() {
    ++calls_;
    if (refuseEvery_ != 0 && calls_ % refuseEvery_ == 0) return 0;
    return ++made_;
  }
  vx::DefinitionItem Made() const { return made_; }

 private:
  unsigned refuseEvery_;
  unsigned calls_ = 0;
  vx::DefinitionItem made_ = 0;
};

// One folder or entry as the tree would get it.
struct Item {
  bool folder;
  vx::DefinitionItem parent;
  std::string caption;
  std::int32_t value;
  std::string text;
  bool operator==(const Item& other) const {
    return folder == other.folder && parent == other.parent && caption == other.caption && value == other.value &&
           text == other.text;
  }
};

// What the walk meets, with folders made or refused as the sink would.
class RecordingVisitor : public vx::DefinitionVisitor {
 public:
  explicit RecordingVisitor(unsigned refuseEvery) : refusals_(refuseEvery) {}
  vx::DefinitionItem Folder(const vx::DefinitionPiece&, int level, const char* caption,
                            vx::DefinitionItem parent) override {
    if (level < 0 || level >= vx::MAX_FOLDER_DEPTH) Fail();
    items.push_back({true, parent, caption, vx::FOLDER_VALUE, ""});
    return refusals_.Next();
  }
  void Entry(const vx::DefinitionPiece& label, const vx::DefinitionPiece* text, int index,
             vx::DefinitionItem parent) override {
    items.push_back({false, parent, label.bytes, index, text != nullptr ? text->bytes : ""});
    if (text == nullptr) ++entriesWithoutText;
    refusals_.Next();
  }
  std::vector<Item> items;
  std::uint64_t entriesWithoutText = 0;

 private:
  Refusals refusals_;
};

// Holds the loader to what the tree relies on: parents already made, captions
// within a line, entry values counting up from 0 within the table.
class RecordingSink : public vx::DefinitionSink {
 public:
  explicit RecordingSink(unsigned refuseEvery) : refusals_(refuseEvery) {}
  vx::DefinitionItem AddItem(vx::DefinitionItem parent, const char* caption, vx::UserItemKind kind,
                             std::int32_t value) override {
    if (parent > refusals_.Made() || std::strlen(caption) > 255) Fail();
    const bool folder = kind == vx::UserItemKind::Folder;
    if (folder ? value != vx::FOLDER_VALUE : value < 0 || value >= vx::MAX_DEFINITION_TEXTS) Fail();
    const char* text = folder ? "" : vx::DefinitionTextTable[value];
    if (std::strlen(text) > 255) Fail();
    items.push_back({folder, parent, caption, value, text});
    return refusals_.Next();
  }
  std::vector<Item> items;

 private:
  Refusals refusals_;
};

class CountingReport : public vx::CheckReport {
 public:
  void Finding(std::uint64_t line, vx::CheckFinding kind, const char* message) override {
    if (line == 0 || message == nullptr || message[0] == '\0') Fail();
    ++count;
    if (kind == vx::CheckFinding::LabelWithoutText) ++labelsWithoutText;
  }
  std::uint64_t count = 0;
  std::uint64_t labelsWithoutText = 0;
};

std::vector<Item> Walk(const std::string& bytes, vx::DefinitionWalk* walk = nullptr) {
  vx::MemoryByteSource source(bytes.data(), bytes.size());
  RecordingVisitor visitor(0);
  const vx::DefinitionWalk result = vx::WalkDefinition(source, visitor);
  if (walk != nullptr) *walk = result;
  return visitor.items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned control = data[0];
  const std::size_t chunk = (control & 0x0F) == 0 ? static_cast<std::size_t>(-1) : (control & 0x0F) * 37;
  const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

  RecordingVisitor walked(control >> 4);
  vx::MemoryByteSource walkSource(file.data(), file.size(), chunk);
  const vx::DefinitionWalk walk = vx::WalkDefinition(walkSource, walked);
  if (walk.entries > vx::MAX_DEFINITION_TEXTS || walk.folders > vx::MAX_DEFINITION_FOLDERS) Fail();

  RecordingSink sink(control >> 4);
  vx::MemoryByteSource loadSource(file.data(), file.size(), chunk);
  vx::LoadDefinitionStream(loadSource, sink);
  for (const char* slot : vx::DefinitionTextTable)
    if (slot[vx::DEFINITION_TEXT_SIZE - 1] != '\0') Fail();
  if (!(sink.items == walked.items)) Fail();

  vx::MemoryByteSource checkSource(file.data(), file.size(), chunk);
  CountingReport report;
  const vx::CheckSummary summary = vx::CheckDefinitionStream(checkSource, report);
  if (summary.findings != report.count || summary.headerMatches != walk.headerMatches) Fail();
  if (summary.folders != static_cast<std::uint64_t>(walk.folders) ||
      summary.entries != static_cast<std::uint64_t>(walk.entries) ||
      report.labelsWithoutText != walked.entriesWithoutText)
    Fail();

  // Findings are bounded whatever the input holds, and a round trip that
  // raises none loads as the original does.
  const vx::Conversion utf8 = vx::ConvertDefinitionToUtf8(file);
  if (utf8.findings.size() > vx::KEPT_FINDINGS || utf8.findings.size() > utf8.findingCount) Fail();
  if (utf8.findingCount != 0) return 0;
  const vx::Conversion back = vx::ConvertDefinitionToCp932(utf8.output);
  if (back.findings.size() > vx::KEPT_FINDINGS) Fail();
  if (back.findingCount != 0) return 0;
  // Both directions end every line, the last one too; a header alone with no
  // line end, which the loader ignores, therefore loads once converted.
  const std::string ended = file.empty() || file.back() == '\n' ? file : file + "\n";
  vx::DefinitionWalk backWalk, endedWalk;
  if (!(Walk(back.output, &backWalk) == Walk(ended, &endedWalk)) || backWalk.headerMatches != endedWalk.headerMatches)
    Fail();
  return 0;
}
