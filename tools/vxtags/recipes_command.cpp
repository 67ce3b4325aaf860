// Placeholder until the command is written.
#include <cstdio>

#include "tools/vxtags/commands.h"

int vxtags::RunRecipesCommand(int, char**) {
  std::fputs("vxtags: this command is not built yet\n", stderr);
  return 2;
}
