// Compiled with the execution character set CP932, so the literal below holds
// the Shift-JIS bytes that a definition file carries.
#include "deffile/definition_format.h"

namespace vx {

extern const char DEFINITION_HEADER[] = "[VX-HTML定義ファイル]";
static_assert(sizeof(DEFINITION_HEADER) == 22, "the header is 21 bytes of code page 932");

}  // namespace vx
