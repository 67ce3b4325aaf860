// Stored definition texts of user entries; slot i belongs to item value i.
#pragma once

#include "deffile/definition_format.h"

namespace vx {

extern char DefinitionTextTable[MAX_DEFINITION_TEXTS][DEFINITION_TEXT_SIZE];

}  // namespace vx
