// The simulated mercury lamp calibrated as a student would with Identify:
// the lines proposed must be mercury's, where the simulated grating puts
// them, and the spline through them must hold each line to better than
// 1 nm when it is left out.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "device/sim/grating.h"
#include "device/sim/optical_bench.h"
#include "support/shell.h"

namespace rovanel::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text, const std::string& prefix) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
  return out;
}

TEST(IdentifyLines, SimulatedMercuryLampGivesAGoodSplineCalibration) {
  const fs::path dir = fs::temp_directory_path() / "rovanel-identify-lines";
  fs::remove_all(dir);
  fs::create_directories(dir);
  int status = 0;
  const std::string out = support::Shell(
      "cd '" + dir.string() + "' && ROVANEL_HOME='" + dir.string() + "' timeout 60 '" ROVANEL_BIN_DIR
      "/rovanel-cli' --lang 2 --box sim --scene lamp click:spectro click:acquisition "
      "click:spIdentify dump:Identified 'dialog:Tparaint rdbSpline=1 ok' click:spCalcul "
      "dump:Calibration 2>/dev/null",
      status);
  fs::remove_all(dir);
  ASSERT_EQ(status, 0) << out;

  // Each proposal within two pixels of where the bench's grating puts a
  // line of its lamp, with that line's wavelength.
  const device::sim::OpticalBench bench;
  const device::sim::Grating grating(bench.LampGrating);
  int correct = 0;
  for (const std::string& line : Lines(out, "line=")) {
    double pixel = 0, nm = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf", &pixel, &nm), 2) << line;
    bool known = false;
    for (const auto& lamp : bench.LampLines)
      if (std::fabs(lamp.wavelengthNm - nm) < 1e-3) {
        known = true;
        EXPECT_NEAR(pixel, grating.PixelOfWavelength(nm), 2.0) << line;
        correct += std::fabs(pixel - grating.PixelOfWavelength(nm)) <= 2.0;
      }
    EXPECT_TRUE(known) << "not a line of the lamp: " << line;
  }
  EXPECT_GE(correct, 4) << out;

  const std::vector<std::string> refs = Lines(out, "ref=");
  EXPECT_EQ(refs.size(), Lines(out, "line=").size()) << out;
  for (const std::string& ref : refs) {
    double pixel = 0, nm = 0, table = 0, diff = 0;
    ASSERT_EQ(std::sscanf(ref.c_str(), "%lf,%lf,%lf,%lf", &pixel, &nm, &table, &diff), 4) << ref;
    EXPECT_LT(std::fabs(diff), 1.0) << ref;
    EXPECT_NEAR(table - nm, diff, 2e-3) << ref;
  }
  EXPECT_EQ(Lines(out, "kind=").at(0), "spline");
  ASSERT_EQ(Lines(out, "rms=").size(), 1u);
  EXPECT_LT(std::stod(Lines(out, "rms=")[0]), 1.0);
}

}  // namespace
}  // namespace rovanel::cli
