// Stored definition texts of user entries; slot i belongs to item value i.
#pragma once

namespace vx {

inline constexpr int MAX_DEFINITION_TEXTS = 3000;
inline constexpr int DEFINITION_TEXT_SIZE = 256;

extern char DefinitionTextTable[MAX_DEFINITION_TEXTS][DEFINITION_TEXT_SIZE];

}  // namespace vx
