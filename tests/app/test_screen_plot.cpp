// The window's scaled plot through the model: the ticks dump:axes prints,
// the wheel's zoom round the pointer, the arrow keys on the cursors, the
// legend's file names and the cursors' place in the band mode.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/main_window.h"
#include "app/script/action_runner.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;

struct ScreenPlot : ::testing::Test, support::NoBoxRig {
  // Runs actions; the output, or the error line when one fails.
  std::string Run(const std::vector<std::string>& actions) {
    std::ostringstream out, err;
    script::ActionRunner runner(fp, out, err);
    return runner.RunAll(actions) ? out.str() : "failed: " + err.str();
  }
  std::string Caption(const char* name) { return fp.Controls().Find(name)->caption; }
};

std::string Lines(char axis, double from, double step, int count) {
  std::string text;
  for (int k = 0; k < count; ++k) {
    const std::string v = std::to_string(static_cast<long long>(from + k * step));
    text += std::string(1, axis) + "=" + v + " " + v + "\n";
  }
  return text;
}

TEST_F(ScreenPlot, DumpAxesGivesTheTicksInTheCurrentUnitAtThePlotsSize) {
  // 2048 samples of 14 µm: 0 .. 28658 µm. At 1600 x 900, 16 labels wanted:
  // a raw step of 1791 rounds to 2000. Y: 10 % steps in the band mode's
  // upper half, which is tall enough for them.
  fp.SetPlotSize(1600, 900, 96);
  EXPECT_EQ(Run({"dump:axes"}), Lines('x', 0, 2000, 15) + Lines('y', 0, 10, 11));
  // Small: 400 x 300 leaves a 332-pixel frame, 3 labels wanted (a raw
  // step of 9553 rounds to 10000), and a half too short for 10 % steps.
  fp.SetPlotSize(400, 300, 96);
  EXPECT_EQ(Run({"dump:axes"}), Lines('x', 0, 10000, 3) + Lines('y', 0, 20, 6));
  // Zoomed in on the start: 512 samples, 0 .. 7154 µm, steps of 500.
  fp.SetPlotSize(1600, 900, 96);
  fp.SetZoom(2048, 1);
  ASSERT_EQ(fp.Plot().ViewStart(), 0);
  EXPECT_EQ(Run({"dump:axes"}).substr(0, Lines('x', 0, 500, 3).size()), Lines('x', 0, 500, 3));
}

TEST_F(ScreenPlot, WheelZoomsOneStepKeepingTheSampleUnderThePointer) {
  ASSERT_EQ(fp.Plot().ZoomStep(), 4);
  ASSERT_EQ(fp.Plot().ViewStart(), 0);
  // Column 200 shows sample 800; after one notch in, 3 samples a column.
  EXPECT_EQ(Run({"mouse:wheel:200,1"}), "");
  EXPECT_EQ(fp.Plot().ZoomStep(), 3);
  EXPECT_EQ(Caption("ZoomAff"), "1:3");
  // The view starts on the scroll bar's 32-sample steps.
  EXPECT_NEAR(fp.Plot().ViewStart() + 200 * 3, 800, 32);
  // Out again, then as far as the steps go each way.
  Run({"mouse:wheel:200,-1"});
  EXPECT_EQ(fp.Plot().ZoomStep(), 4);
  Run({"mouse:wheel:400,10"});
  EXPECT_EQ(fp.Plot().ZoomStep(), 1);
  EXPECT_NEAR(fp.Plot().ViewStart() + 400, 1600, 32);
  Run({"mouse:wheel:0,-10"});
  EXPECT_EQ(fp.Plot().ZoomStep(), 4);
  EXPECT_EQ(fp.Plot().ViewStart(), 0);
  EXPECT_NE(Run({"mouse:wheel:1"}).find("failed"), std::string::npos);
}

TEST_F(ScreenPlot, ArrowKeysMoveTheSelectedCursorShiftTenTimes) {
  EXPECT_NE(Run({"key:ecran=right"}).find("switch its pair on"), std::string::npos);
  Run({"click:cursv"});
  // X1 (column 100 = 5600 µm) moved last at the start: one column is 56 µm.
  EXPECT_EQ(Run({"key:ecran=right"}), "");
  EXPECT_EQ(fp.Plot().Cursor().x1, 101);
  EXPECT_EQ(Caption("coorv1"), "X1 =   5656.00µm");
  Run({"key:ecran=shift+right"});
  EXPECT_EQ(fp.Plot().Cursor().x1, 111);
  // X2 once grabbed; it stops at the right edge.
  Run({"mouse:down:300,50", "mouse:up:300,50"});
  Run(std::vector<std::string>(60, "key:ecran=shift+right"));
  EXPECT_EQ(fp.Plot().Cursor().x2, 511);
  EXPECT_EQ(fp.Plot().Cursor().x1, 111);
  // Up and down move the horizontal pair, its rows halved in the band mode
  // (Y1 at 50) and kept in the upper half.
  Run({"click:cursh", "key:ecran=down"});
  EXPECT_EQ(fp.Plot().Cursor().y1, 51);
  Run(std::vector<std::string>(10, "key:ecran=shift+down"));
  EXPECT_EQ(fp.Plot().Cursor().y1, 127);
  Run({"key:ecran=shift+up"});
  EXPECT_EQ(fp.Plot().Cursor().y1, 117);
  EXPECT_NE(Run({"key:ecran=sideways"}).find("failed"), std::string::npos);
}

TEST_F(ScreenPlot, CursorsAndBandAsTheScreenDrawsThem) {
  fp.Click("cursv");
  fp.Click("cursh");
  const display::PageFrame frame{0, 0, 1000, 500};
  // The band mode at the start: the curves in the upper half, the band's
  // picture under them; row r of ecran at r/255 of the frame.
  TFp::ScreenPlot s = fp.MakeScreenPlot(frame, 96);
  EXPECT_TRUE(s.options.upperHalf);
  EXPECT_EQ(s.options.band, &fp.Plot().Drawing());
  EXPECT_EQ(s.page.cursorsX, (std::vector<double>{100 / 512.0, 300 / 512.0}));
  EXPECT_EQ(s.page.cursorsY, (std::vector<double>{50 / 255.0, 100 / 255.0}));
  fp.Click("realgris");
  s = fp.MakeScreenPlot(frame, 96);
  EXPECT_FALSE(s.options.upperHalf);
  // The grid button: lines across, or ticks on the frame only.
  const bool grid = fp.Controls().Grid.down;
  EXPECT_EQ(s.options.gridLines, grid);
}

TEST_F(ScreenPlot, TheLegendNamesTheCurvesLoadedFromFiles) {
  const fs::path dir = fs::temp_directory_path() / ("rovanel-legend-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string file = (dir / "young.CCD").string();
  fp.Answers().Queue({"Save", {{"FileName", file}}, true});
  ASSERT_TRUE(fp.Click("Sauver"));
  fp.Click("superposition");
  fp.Answers().Queue({"open", {{"FileName", file}}, true});
  ASSERT_TRUE(fp.Click("ouvrir"));
  ASSERT_EQ(fp.Curves().Count(), 2);
  const TFp::ScreenPlot loaded = fp.MakeScreenPlot({0, 0, 1000, 500}, 96);
  EXPECT_EQ(loaded.options.names, (std::vector<std::string>{"", "young.CCD"}));
  EXPECT_TRUE(loaded.options.legend);
  // A new acquisition into the last slot is no longer the file.
  fp.Click("superposition");
  fp.Click("acquisition");
  EXPECT_EQ(fp.MakeScreenPlot({0, 0, 1000, 500}, 96).options.names.back(), "");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace rovanel::app
