// Where the shipped files are found: beside the program (a build tree, a
// copied folder) or in ../share/rovanel of an installed program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/paths.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;

TEST(ShippedFiles, AreBesideTheProgramElseInTheInstalledShareFolder) {
  const fs::path root = fs::temp_directory_path() / ("rovanel-paths-" + std::to_string(::getpid()));
  fs::remove_all(root);
  auto ship = [](const fs::path& dir) {
    fs::create_directories(dir);
    std::ofstream(dir / "RESC0002.UO") << "x";
  };
  ship(root / "build/bin");                 // a build tree
  ship(root / "usr/share/rovanel");         // an installed program
  fs::create_directories(root / "usr/bin");
  fs::create_directories(root / "bare/bin");  // nothing shipped anywhere
  ship(root / "both/bin");                  // beside wins over share
  ship(root / "both/share/rovanel");

  const std::string r = root.string();
  struct Case {
    std::string program, shipped;
  };
  for (const Case& c : std::vector<Case>{{r + "/build/bin/", r + "/build/bin/"},
                                         {r + "/usr/bin/", r + "/usr/share/rovanel/"},
                                         {r + "/bare/bin/", r + "/bare/bin/"},
                                         {r + "/both/bin/", r + "/both/bin/"}})
    EXPECT_EQ(ShippedFilesDir(c.program), c.shipped) << c.program;
  fs::remove_all(root);
}

}  // namespace
}  // namespace rovanel::app
