// The plot as a PNG or SVG picture through rovanel-cli: its size, the curve
// drawn inside the frame, and the refusals of a bad size or file.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "support/shell.h"

namespace rovanel::cli {
namespace {

namespace fs = std::filesystem;

struct PlotImage : ::testing::Test {
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("rovanel-plot-image-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Cli(const std::string& actions, int& status) {
    // A home of its own: the other tests' programs run beside it.
    return support::Shell("cd '" + dir.string() + "' && ROVANEL_HOME='" + dir.string() + "' '" ROVANEL_BIN_DIR
                          "/rovanel-cli' --box sim --lang 2 click:int click:acquisition " +
                              actions + " 2>&1",
                          status);
  }
  fs::path dir;
};

TEST_F(PlotImage, PngAndSvgAtTheSizeAskedWithTheCurveInTheFrame) {
  int status = 0;
  const std::string out =
      Cli("export:png=plot.png 'export:png=small.png size=640x360' export:svg=plot.svg", status);
  ASSERT_EQ(status, 0) << out;
  const QImage plot(QString::fromStdString((dir / "plot.png").string()));
  EXPECT_EQ(plot.size(), QSize(1600, 900));
  const QImage small(QString::fromStdString((dir / "small.png").string()));
  ASSERT_EQ(small.size(), QSize(640, 360));
  // Dark ink in the middle of the frame (the curve, the band), white in
  // the right margin outside it.
  int dark = 0;
  for (int y = 40; y < 165; ++y) dark += qGray(small.pixel(320, y)) < 160;
  EXPECT_GT(dark, 0);
  EXPECT_EQ(small.pixel(636, 180), qRgb(255, 255, 255));

  std::ifstream svg(dir / "plot.svg");
  std::stringstream text;
  text << svg.rdbuf();
  EXPECT_NE(text.str().find("<svg"), std::string::npos);
  EXPECT_NE(text.str().find("viewBox=\"0 0 1600 900\""), std::string::npos);
  // The axis numbers are text in it, the curves paths.
  EXPECT_NE(text.str().find(">28000<"), std::string::npos);
  EXPECT_NE(text.str().find("<polyline"), std::string::npos);
}

// The SVG as another program renders it: rsvg-convert's picture has the
// curve where the PNG export draws it, column by column.
TEST_F(PlotImage, TheSvgRenderedByRsvgHasTheCurveWhereThePngHasIt) {
  int status = 0;
  if (support::Shell("command -v rsvg-convert >/dev/null 2>&1", status), status != 0)
    GTEST_SKIP() << "rsvg-convert is not installed (librsvg2-bin)";
  const std::string out = Cli("'export:png=plot.png size=800x450' 'export:svg=plot.svg size=800x450'", status);
  ASSERT_EQ(status, 0) << out;
  support::Shell("cd '" + dir.string() + "' && rsvg-convert -b white -o rsvg.png plot.svg 2>&1", status);
  ASSERT_EQ(status, 0);
  const QImage png(QString::fromStdString((dir / "plot.png").string()));
  const QImage rsvg(QString::fromStdString((dir / "rsvg.png").string()));
  // Qt's generator writes the size in millimetres: rsvg may round it up a pixel.
  ASSERT_LE(std::abs(rsvg.width() - png.width()), 1);
  ASSERT_LE(std::abs(rsvg.height() - png.height()), 1);
  // The topmost dark pixel of each column in the upper (curve) half, then
  // in the lower one (the grey band's top edge).
  const auto top = [](const QImage& image, int x, int from, int to) {
    for (int y = from; y < to; ++y)
      if (qGray(image.pixel(x, y)) < 100) return y;
    return -1;
  };
  const int middle = png.height() / 2;
  for (const auto& [from, to] : {std::pair{40, middle}, std::pair{middle, png.height() - 40}}) {
    int compared = 0, close = 0;
    for (int x = 120; x < 740; x += 4) {
      const int a = top(png, x, from, to), b = top(rsvg, x, from, to);
      if (a < 0 && b < 0) continue;
      ++compared;
      close += a >= 0 && b >= 0 && std::abs(a - b) <= 2;
    }
    EXPECT_GT(compared, 100) << "rows from " << from;
    EXPECT_GE(close, compared * 95 / 100) << close << " of " << compared << ", rows from " << from;
  }
}

TEST_F(PlotImage, ABadSizeOrFileIsRefusedOnOneLine) {
  int status = 0;
  std::string out = Cli("'export:png=x.png size=20x20'", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find("size=WxH"), std::string::npos) << out;
  EXPECT_FALSE(fs::exists(dir / "x.png"));
  out = Cli("export:svg=missing/dir/x.svg", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find("cannot write"), std::string::npos) << out;
}

}  // namespace
}  // namespace rovanel::cli
