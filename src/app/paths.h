// Where the program's own files are.
#pragma once

#include <string>

namespace rovanel::app {

// The folder of the running program, with a trailing slash.
std::string ProgramDir();

// The folder of what the program ships (the colour strip, the dictionary,
// help, lamp lines), with a trailing slash: the program's folder when they
// lie beside it (a build tree, a copied folder), else the installed data
// folder seen from it (../share/rovanel/ from /usr/bin) when they are
// there, else the program's folder, which the messages then name.
std::string ShippedFilesDir();
std::string ShippedFilesDir(const std::string& programDir);

// The program's folder when the user's files may go beside it (it is not an
// installed program's bin/), else empty: an installed program writes
// nothing below its prefix, even when run by root.
std::string PortableProgramDir();

}  // namespace rovanel::app
