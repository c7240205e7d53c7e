#include "support/shell.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace rovanel::support {

std::string Shell(const std::string& command, int& status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return out;
  }
  std::array<char, 4096> buffer{};
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
  const int raw = pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

bool Have(const char* tool) {
  int status = 0;
  Shell(std::string("command -v ") + tool + " >/dev/null 2>&1", status);
  return status == 0;
}

}  // namespace rovanel::support
