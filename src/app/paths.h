// Where the program's own files are.
#pragma once

#include <string>

namespace rovanel::app {

// The folder of the running program, with a trailing slash: what it ships
// (the colour strip, the dictionary, help) is read from there.
std::string ProgramDir();

}  // namespace rovanel::app
