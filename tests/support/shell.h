// Runs a shell command as a user would, for the tests of the programs
// themselves.
#pragma once

#include <string>

namespace rovanel::support {

// The command's standard output; `status` is its exit status (-1 when it
// could not run).
std::string Shell(const std::string& command, int& status);

// True when `tool` is on the PATH.
bool Have(const char* tool);

}  // namespace rovanel::support
