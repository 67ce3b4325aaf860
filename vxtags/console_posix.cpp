// The program's entry on POSIX systems: arguments and standard streams are
// bytes already.
#include "vxtags/commands.h"

int main(int argc, char** argv) { return vxtags::Main(argc, argv); }
