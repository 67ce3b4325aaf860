// libFuzzer target: any bytes through the loader and the checker. The first
// byte picks how the source splits its data and which insertions the sink
// refuses, so block boundaries and refused folders get their share. The
// checker's counts must be the loader's.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "deffile/byte_sources.h"
#include "deffile/definition_check.h"
#include "deffile/definition_loader.h"
#include "deffile/definition_text_table.h"

namespace {

[[noreturn]] void Fail() { std::abort(); }

// Holds the loader to what the tree relies on: parents already made, captions
// within a line, entry values counting up from 0 within the table.
class CheckingSink : public vx::DefinitionSink {
 public:
  explicit CheckingSink(unsigned refuseEvery) : refuseEvery_(refuseEvery) {}
  vx::DefinitionItem AddItem(vx::DefinitionItem parent, const char* caption, vx::UserItemKind kind,
                             std::int32_t value) override {
    if (parent > made_) Fail();
    if (std::strlen(caption) > 255) Fail();
    if (kind == vx::UserItemKind::Entry) {
      if (value != nextEntry_++ || value >= vx::MAX_DEFINITION_TEXTS) Fail();
      if (std::strlen(vx::DefinitionTextTable[value]) > 255) Fail();
    } else if (value != vx::FOLDER_VALUE) {
      Fail();
    }
    ++(kind == vx::UserItemKind::Entry ? entries : folders);
    ++calls_;
    if (refuseEvery_ != 0 && calls_ % refuseEvery_ == 0) return 0;
    return ++made_;
  }

  // Asked for, refused or not: what the checker counts.
  std::uint64_t folders = 0;
  std::uint64_t entries = 0;

 private:
  unsigned refuseEvery_;
  unsigned calls_ = 0;
  vx::DefinitionItem made_ = 0;
  std::int32_t nextEntry_ = 0;
};

class CountingReport : public vx::CheckReport {
 public:
  void Finding(std::uint64_t line, vx::CheckFinding, const char* message) override {
    if (line == 0 || message == nullptr || message[0] == '\0') Fail();
    ++count;
  }
  std::uint64_t count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned control = data[0];
  const std::size_t chunk = (control & 0x0F) == 0 ? static_cast<std::size_t>(-1) : (control & 0x0F) * 37;
  CheckingSink sink(control >> 4);
  {
    vx::MemoryByteSource source(data + 1, size - 1, chunk);
    vx::LoadDefinitionStream(source, sink);
  }
  for (const char* slot : vx::DefinitionTextTable)
    if (slot[vx::DEFINITION_TEXT_SIZE - 1] != '\0') Fail();
  vx::MemoryByteSource source(data + 1, size - 1, chunk);
  CountingReport report;
  const vx::CheckSummary summary = vx::CheckDefinitionStream(source, report);
  if (summary.findings != report.count || summary.entries > vx::MAX_DEFINITION_TEXTS) Fail();
  // The checker may not drift from the loader it explains.
  if (summary.folders != sink.folders || summary.entries != sink.entries) Fail();
  return 0;
}
