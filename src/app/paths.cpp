#include "app/paths.h"

#include <filesystem>
#include <system_error>

#include "app/install_dirs.h"
#include "app/lang/dictionary.h"

namespace rovanel::app {

namespace {

bool HoldsShippedFiles(const std::string& dir) {
  std::error_code ec;
  return std::filesystem::is_regular_file(dir + std::string(kDictionaryFile), ec);
}

}  // namespace

std::string ProgramDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  return exe.parent_path().string() + "/";
}

std::string ShippedFilesDir(const std::string& programDir) {
  if (HoldsShippedFiles(programDir)) return programDir;
  if (const std::string share = programDir + kShippedFromBin; HoldsShippedFiles(share)) {
    std::error_code ec;
    const auto clean = std::filesystem::weakly_canonical(share, ec);
    return ec ? share : clean.string() + (clean.string().back() == '/' ? "" : "/");
  }
  return programDir;
}

std::string ShippedFilesDir() {
  return ShippedFilesDir(ProgramDir());
}

std::string PortableProgramDir() {
  const std::string dir = ProgramDir();
  return ShippedFilesDir(dir) == dir ? dir : std::string();
}

}  // namespace rovanel::app
