#include "deffile/definition_text_table.h"

namespace vx {

// Lives from load to unload of the add-in; each load overwrites it from slot 0 up.
char DefinitionTextTable[MAX_DEFINITION_TEXTS][DEFINITION_TEXT_SIZE] = {};

}  // namespace vx
