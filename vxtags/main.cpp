// vxtags: the add-in's protocol and definition-file loading, printed. The
// program's entry is per system (console_posix.cpp, console_win32.cpp).
#include <cstdio>
#include <cstring>

#include "vxtags/commands.h"

namespace {

constexpr const char HELP[] =
    "usage: vxtags recipes [--color RRGGBB | --cancel]\n"
    "       vxtags catalogue\n"
    "       vxtags tree [DEFFILE]\n"
    "       vxtags check DEFFILE\n"
    "       vxtags convert [--to-utf8] INPUT OUTPUT\n"
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
    "convert    writes the definition file INPUT, in UTF-8 (with or without a byte-order\n"
    "           mark, LF or CR LF line ends) and starting with the header line\n"
    "           [VX-HTML\xE5\xAE\x9A\xE7\xBE\xA9\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB], "
    "to OUTPUT in code page 932 with CR LF line ends, as\n"
    "           the add-in reads it. It refuses, writing nothing, when the output would\n"
    "           not load what INPUT says: a character without a code in code page 932\n"
    "           (no look-alike is substituted), a line over 255 bytes once converted,\n"
    "           a label of exactly 255 bytes, bytes that are not UTF-8, no header line,\n"
    "           NUL, U+001A or a carriage return inside a line, lines after the 3000th\n"
    "           entry or folder. Each place is printed as INPUT:LINE:COLUMN: message (columns count\n"
    "           characters from 1).\n"
    "           --to-utf8  the other way: code page 932 to UTF-8 without a byte-order\n"
    "           mark, with LF line ends, for editing; it refuses byte sequences that are\n"
    "           not code page 932 and second codes of a character that converting back\n"
    "           would not restore (such as 0xED 0x40 for 0xFA 0x5C).\n"
    "           OUTPUT is written beside itself and renamed into place, so it is replaced\n"
    "           whole or not at all; it may not be INPUT, by any name or link. An OUTPUT\n"
    "           that exists and is not a regular file (folder, device, FIFO, socket), a\n"
    "           symbolic link (name its target) or a read-only file is refused.\n"
    "           Exit 0 written, 1 refused (findings on stdout), 2 bad arguments or I/O error.\n"
    "\n"
    "DEFFILE and INPUT may be - for standard input.\n"
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
    {"convert", vxtags::RunConvertCommand},
};

}  // namespace

int vxtags::Usage() {
  std::fputs("usage: vxtags recipes [--color RRGGBB | --cancel] | catalogue | tree [DEFFILE] | check DEFFILE\n"
             "       vxtags convert [--to-utf8] INPUT OUTPUT\n",
             stderr);
  return 2;
}

int vxtags::Main(int argc, char** argv) {
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
