#include "app/paths.h"

#include <filesystem>
#include <system_error>

namespace rovanel::app {

std::string ProgramDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  return exe.parent_path().string() + "/";
}

}  // namespace rovanel::app
