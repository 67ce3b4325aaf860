// vxtags: the add-in's protocol and definition-file loading, printed.
#include <cstdio>
#include <cstring>

#include "tools/vxtags/commands.h"

namespace {

constexpr const char HELP[] =
    "usage: vxtags recipes [--color RRGGBB | --cancel]\n"
    "       vxtags catalogue\n"
    "       vxtags tree [DEFFILE]\n"
    "       vxtags check DEFFILE\n"
    "\n"
    "recipes    every insert request of tag ids 0 to 176 in order, one per line:\n"
    "           tag id TAB insert code (signed decimal) TAB text as sent.\n"
    "           Codes: 0 lead, 1 trail, 2 line end, -1 link trail, -2 definition text.\n"
    "           --color RRGGBB  every colour choice accepts that colour (hex, red first)\n"
    "           --cancel        every colour choice is cancelled\n"
    "           with neither, each choice accepts the colour the dialog opens on\n"
    "           (the last accepted one, first FF8080).\n"
    "catalogue  categories and entries in tree order: depth (0-2) TAB kind\n"
    "           (category, entry, group) TAB number (category index or tag id)\n"
    "           TAB label converted from code page 932 to UTF-8.\n"
    "tree       the whole tag tree as the tag window holds it, catalogue first, then\n"
    "           the user items of DEFFILE, in pre-order: depth TAB kind (category,\n"
    "           entry, group, folder, user) TAB number (category index, tag id, -2 for\n"
    "           a folder, the item value of a user entry) TAB caption [TAB text].\n"
    "check      reports, with line numbers, what the loader will do with DEFFILE that\n"
    "           its author may not expect. Exit 0 nothing found, 1 findings, 2 unreadable.\n"
    "\n"
    "Text fields: \\\\ for a backslash, \\t for TAB, \\xHH for other bytes below 0x20,\n"
    "for 0x7F and for each byte that is not valid code page 932.\n"
    "Bad arguments: a usage line on stderr and exit status 2.\n";

struct Command {
  const char* name;
  int (*run)(int, char**);
};

constexpr Command COMMANDS[] = {
    {"recipes", vxtags::RunRecipesCommand},
    {"catalogue", vxtags::RunCatalogueCommand},
    {"tree", vxtags::RunTreeCommand},
    {"check", vxtags::RunCheckCommand},
};

}  // namespace

int vxtags::Usage() {
  std::fputs("usage: vxtags recipes [--color RRGGBB | --cancel] | catalogue | tree [DEFFILE] | check DEFFILE\n",
             stderr);
  return 2;
}

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(HELP, stdout);
    return 0;
  }
  if (argc < 2) return vxtags::Usage();
  for (const Command& command : COMMANDS) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
  }
  return vxtags::Usage();
}
