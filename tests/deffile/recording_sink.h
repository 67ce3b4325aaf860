// A definition sink that keeps every item it is handed, and renders the
// result as one path per item so that expectations read like the file.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "deffile/byte_sources.h"
#include "deffile/definition_loader.h"
#include "deffile/definition_text_table.h"

namespace vx::test_support {

struct RecordedItem {
  DefinitionItem handle;  // 0 when refused
  DefinitionItem parent;
  std::string caption;
  UserItemKind kind;
  std::int32_t value;
};

class RecordingSink : public DefinitionSink {
 public:
  // Insertions are numbered from 0; the listed ones are refused.
  explicit RecordingSink(std::set<int> refused = {}) : refused_(std::move(refused)) {}

  DefinitionItem AddItem(DefinitionItem parent, const char* caption, UserItemKind kind, std::int32_t value) override {
    const int ordinal = static_cast<int>(items.size());
    const DefinitionItem handle = refused_.count(ordinal) ? 0 : static_cast<DefinitionItem>(1000 + ordinal);
    items.push_back({handle, parent, caption, kind, value});
    return handle;
  }

  // "F1/F2/" for a folder, "F1/label #3 = text" for an entry; "~" stands for a
  // refused item in a path.
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const RecordedItem& item : items) {
      std::string path = PathOf(item.parent) + item.caption;
      if (item.kind == UserItemKind::Folder) {
        path += "/";
        if (item.value != FOLDER_VALUE) path += " (value " + std::to_string(item.value) + ")";
      } else {
        path += " #" + std::to_string(item.value) + " = ";
        if (item.value >= 0 && item.value < MAX_DEFINITION_TEXTS) path += DefinitionTextTable[item.value];
      }
      paths.push_back(path);
    }
    return paths;
  }

  std::vector<RecordedItem> items;

 private:
  std::string PathOf(DefinitionItem handle) const {
    if (handle == 0) return "";
    for (const RecordedItem& item : items)
      if (item.handle == handle) return PathOf(item.parent) + item.caption + "/";
    return "?/";
  }
  std::set<int> refused_;
};

inline std::string Header() { return std::string(DEFINITION_HEADER) + "\n"; }

// Loads bytes handed out chunk bytes at a time.
inline std::vector<std::string> LoadPaths(const std::string& bytes, std::size_t chunk = static_cast<std::size_t>(-1)) {
  MemoryByteSource source(bytes.data(), bytes.size(), chunk);
  RecordingSink sink;
  LoadDefinitionStream(source, sink);
  return sink.Paths();
}

}  // namespace vx::test_support
