// Loader of the user's definition file: folders and entries after the catalogue.
#pragma once
#include <cstddef>
#include <cstdint>

#include "deffile/definition_format.h"

namespace vx {

// The sink's handle of an added folder or entry, 0 when refused. Wide enough
// for a window system's item handle, so a sink can hand its own handles back.
using DefinitionItem = std::uintptr_t;

enum class UserItemKind { Folder, Entry };

class ByteSource;  // byte_sources.h

// The add-item operation: returns the new item, or 0 when refused.
class DefinitionSink {
 public:
  virtual ~DefinitionSink() = default;
  virtual DefinitionItem AddItem(DefinitionItem parent, const char* caption, UserItemKind kind,
                                 std::int32_t value) = 0;
};

// Empty or null path, unopenable file, wrong header: nothing is added.
void LoadDefinitionFile(const char* path, DefinitionSink& sink);
void LoadDefinitionStream(ByteSource& source, DefinitionSink& sink);

}  // namespace vx
