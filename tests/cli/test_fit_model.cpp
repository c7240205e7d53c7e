// The fit names the model it used; on the simulated double slit fitted with
// the Gaussian beam of the start page, the other models are offered with
// their residuals, and none is offered once the two-slit model is chosen.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/shell.h"

namespace rovanel::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Values(const std::string& text, const std::string& name) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(name + "=", 0) == 0) out.push_back(line.substr(name.size() + 1));
  return out;
}

TEST(FitModel, NamedAndTheOthersOfferedWhenOnePlainlyFitsBetter) {
  const fs::path dir = fs::temp_directory_path() / "rovanel-fit-model";
  fs::create_directories(dir);
  const auto run = [&](const std::string& before) {
    int status = 0;
    const std::string out = support::Shell(
        "cd '" + dir.string() + "' && ROVANEL_HOME='" + dir.string() + "' timeout 60 '" ROVANEL_BIN_DIR
        "/rovanel-cli' --lang 2 --box sim --scene slits click:int click:acquisition " + before +
            " click:Ajuster dump:Fit 2>&1",
        status);
    EXPECT_EQ(status, 0) << out;
    return out;
  };
  const std::string gaussian = run("");
  EXPECT_NE(gaussian.find("Model: Gaussian beam"), std::string::npos) << gaussian;
  EXPECT_EQ(Values(gaussian, "model"), std::vector<std::string>{"3"});
  const double rms = std::stod(Values(gaussian, "rms").at(0));
  const std::vector<std::string> others = Values(gaussian, "other");
  ASSERT_GE(others.size(), 2u) << gaussian;  // a model that does not converge is left out
  bool better = false;
  for (const std::string& o : others) better = better || std::stod(o.substr(2)) < 0.67 * rms;
  EXPECT_TRUE(better) << gaussian;
  EXPECT_NE(gaussian.find("model describes this curve better"), std::string::npos);

  const std::string slits = run("'dialog:Tparaint page=1 ok' click:paramint");
  fs::remove_all(dir);
  EXPECT_NE(slits.find("Model: 2 slits"), std::string::npos) << slits;
  EXPECT_EQ(Values(slits, "model"), std::vector<std::string>{"1"});
  EXPECT_EQ(slits.find("model describes this curve better"), std::string::npos) << slits;
}

}  // namespace
}  // namespace rovanel::cli
