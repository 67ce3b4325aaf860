// The subcommands of vxtags. Each takes the arguments after its own name and
// returns the exit status: 0 done, 1 findings (check, convert), 2 bad arguments or
// unreadable input.
#pragma once

namespace vxtags {

int RunRecipesCommand(int argc, char** argv);
int RunCatalogueCommand(int argc, char** argv);
int RunTreeCommand(int argc, char** argv);
int RunCheckCommand(int argc, char** argv);
int RunConvertCommand(int argc, char** argv);

// The whole program, once the system's entry has the arguments in UTF-8 and
// the standard streams ready to take UTF-8 bytes.
int Main(int argc, char** argv);

// The usage line printed on stderr for bad arguments.
int Usage();

}  // namespace vxtags
