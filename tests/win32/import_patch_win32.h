// Redirects one function that a loaded module imports, by rewriting that
// module's import address table: what the module calls can then be counted
// without changing the module. Used for calls whose effect Wine does not show
// (MessageBeep makes no sound here).
#pragma once
#include <windows.h>

namespace vx::test_support {

// Replaces module's import of function from dll (both names as in the import
// table, the DLL name compared without case) with replacement. Returns the
// original address, or null when the module does not import it.
FARPROC PatchImport(HMODULE module, const char* dll, const char* function, FARPROC replacement);

}  // namespace vx::test_support
