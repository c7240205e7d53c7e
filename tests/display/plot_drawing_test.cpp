// The plot drawn into a rectangle of any size: axis ticks in each unit,
// the band mode, the legend, and the mapping between the model's plot
// pixels and the device, against values worked out by hand.
#include "display/plot_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "display/recording_painter.h"

namespace rovanel::display {
namespace {

constexpr PageFrame kFrame{50, 20, 1000, 400};

PrintPage PageOf(std::size_t span, const std::function<double(std::size_t)>& x) {
  PrintPage page;
  page.span = span;
  for (std::size_t i = 0; i < span; ++i) page.x.push_back(x(i));
  return page;
}

struct UnitCase {
  const char* unit;
  std::size_t span;
  std::function<double(std::size_t)> x;
  std::vector<double> ticks;
  std::vector<std::string> labels;
  // The sample where the second tick falls.
  double secondAt;
};

TEST(PlotTicks, NumberedInEveryUnitWhereTheirValueFalls) {
  const std::vector<UnitCase> cases = {
      // 14 µm a sample over 2048: 0 .. 28658, steps of 5000.
      {"µm", 2048, [](std::size_t i) { return 14.0 * i; },
       {0, 5000, 10000, 15000, 20000, 25000},
       {"0", "5000", "10000", "15000", "20000", "25000"}, 5000 / 14.0},
      {"mm", 2048, [](std::size_t i) { return 0.014 * i; },
       {0, 5, 10, 15, 20, 25}, {"0", "5", "10", "15", "20", "25"}, 5 / 0.014},
      // 0 .. 2047: a raw step of 256 rounds to 200.
      {"pixels", 2048, [](std::size_t i) { return 1.0 * i; },
       {0, 200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000},
       {"0", "200", "400", "600", "800", "1000", "1200", "1400", "1600", "1800", "2000"}, 200},
      {"1/m", 1024, [](std::size_t i) { return 34.877 * i; },
       {0, 5000, 10000, 15000, 20000, 25000, 30000, 35000},
       {"0", "5000", "10000", "15000", "20000", "25000", "30000", "35000"}, 5000 / 34.877},
      // A falling wavelength table: 800 nm at the left edge.
      {"nm", 2048, [](std::size_t i) { return 800 - 0.2 * i; },
       {400, 450, 500, 550, 600, 650, 700, 750, 800},
       {"400", "450", "500", "550", "600", "650", "700", "750", "800"}, (800 - 450) / 0.2},
      {"s", 2048, [](std::size_t i) { return 0.01 * i; },
       {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20},
       {"0", "2", "4", "6", "8", "10", "12", "14", "16", "18", "20"}, 200},
      {"Hz", 512, [](std::size_t i) { return 12.5 * i; },
       {0, 1000, 2000, 3000, 4000, 5000, 6000},
       {"0", "1000", "2000", "3000", "4000", "5000", "6000"}, 80},
  };
  for (const UnitCase& c : cases) {
    SCOPED_TRACE(c.unit);
    const PrintPage page = PageOf(c.span, c.x);
    const AxisTicks ticks = PlotTicks(page, kFrame, {});
    ASSERT_EQ(ticks.x.size(), c.ticks.size());
    for (std::size_t k = 0; k < c.ticks.size(); ++k) {
      EXPECT_NEAR(ticks.x[k].value, c.ticks[k], 1e-9 * std::max(1.0, c.ticks[k]));
      EXPECT_EQ(ticks.x[k].label, c.labels[k]);
    }
    EXPECT_NEAR(ticks.x[1].at, kFrame.left + kFrame.width * c.secondAt / c.span, 1e-6);
  }
  // An axis that rises, then falls back, with a flat stretch and a NaN: each
  // tick where its value is first reached.
  const PrintPage bent = PageOf(2048, [](std::size_t i) {
    if (i == 1700) return std::nan("");
    return i < 1500 ? 1.0 * i : i < 1600 ? 1500.0 : 3100.0 - i;
  });
  const AxisTicks ticks = PlotTicks(bent, kFrame, {});
  ASSERT_GE(ticks.x.size(), 4u);
  for (const AxisTick& t : ticks.x)
    EXPECT_NEAR(t.at, kFrame.left + kFrame.width * t.value / 2048, 1e-6) << t.label;
}

TEST(PlotTicks, YInPercentOverTheCurvesHalfInTheBandMode) {
  const PrintPage page = PageOf(512, [](std::size_t i) { return 1.0 * i; });
  PlotOptions o;
  o.yTicksWanted = 10;
  const AxisTicks full = PlotTicks(page, kFrame, o);
  ASSERT_EQ(full.y.size(), 11u);
  EXPECT_EQ(full.y[3].label, "30");
  EXPECT_DOUBLE_EQ(full.y[3].at, 20 + 400 * 0.7);
  o.upperHalf = true;
  const AxisTicks half = PlotTicks(page, kFrame, o);
  EXPECT_DOUBLE_EQ(half.y.front().at, 20 + 200);  // 0 % in the middle of the frame
  EXPECT_DOUBLE_EQ(half.y.back().at, 20);
}

TEST(PlotTicks, SizedToTheFrame) {
  // A label every 22 mm at most, 2 to 16 of them; 10 % steps from 60 mm up.
  EXPECT_EQ(XTicksFor({0, 0, 1600, 800}, 96), 16);  // 19 wanted, capped
  EXPECT_EQ(XTicksFor({0, 0, 400, 200}, 96), 4);
  EXPECT_EQ(XTicksFor({0, 0, 50, 20}, 96), 2);
  EXPECT_EQ(YTicksFor({0, 0, 400, 227}, 96), 10);
  EXPECT_EQ(YTicksFor({0, 0, 400, 226}, 96), 5);
}

PrintPage TwoCurves(std::size_t count) {
  PrintPage page = PageOf(512, [](std::size_t i) { return 1.0 * i; });
  const Rgb colours[] = {kBlack, kNavy, kRed};
  for (std::size_t k = 0; k < count; ++k)
    page.curves.push_back({std::vector<double>(512, 100.0 + 20 * k), colours[k]});
  return page;
}

TEST(PlotLegend, NumberColourAndFileNameOfEachOverlaidCurve) {
  PlotOptions o;
  o.legend = true;
  o.names = {"a.CCD", "", "c.CCD"};
  PageStyle colour;
  colour.colour = true;
  RecordingPainter three(1100, 460, 96);
  DrawPlot(three, TwoCurves(3), colour, kFrame, o);
  const Drawn* first = three.Find("1  a.CCD");
  ASSERT_NE(first, nullptr);
  EXPECT_NE(three.Find("2"), nullptr);
  ASSERT_NE(three.Find("3  c.CCD"), nullptr);
  // The box inside the frame's top right corner.
  EXPECT_GT(first->p[0].x, kFrame.left + kFrame.width / 2);
  EXPECT_LT(first->p[0].y, kFrame.top + kFrame.height / 2);
  // Each row's sample line in its curve's colour, left of its text.
  std::vector<Rgb> samples;
  for (const Drawn& d : three.Of(Kind::Line))
    if (d.p[0].y == d.p[1].y && d.p[1].x < first->p[0].x && d.p[0].x > kFrame.left + 500)
      samples.push_back(d.pen.colour);
  EXPECT_EQ(samples, (std::vector<Rgb>{kBlack, kNavy, kRed}));

  // One curve: no legend.
  RecordingPainter one(1100, 460, 96);
  DrawPlot(one, TwoCurves(1), colour, kFrame, o);
  for (const Drawn& d : one.Of(Kind::Fill)) EXPECT_NE(d.pen.colour, kWhite);
  EXPECT_EQ(one.Find("1  a.CCD"), nullptr);
}

TEST(PlotBand, CurvesInTheUpperHalfOverTheBandPicture) {
  const Canvas band(512, 256);
  PlotOptions o;
  o.upperHalf = true;
  o.band = &band;
  RecordingPainter p(1100, 460, 96);
  DrawPlot(p, TwoCurves(1), {}, kFrame, o);
  const std::vector<Drawn> pictures = p.Of(Kind::Picture);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_DOUBLE_EQ(pictures[0].p[0].y, 20 + 200);
  EXPECT_DOUBLE_EQ(pictures[0].p[1].x, 1000);
  EXPECT_DOUBLE_EQ(pictures[0].p[1].y, 200);
  EXPECT_DOUBLE_EQ(pictures[0].p[2].x, 128);  // rows 128..255 of the picture
  EXPECT_DOUBLE_EQ(pictures[0].p[2].y, 128);
  // Level 100 of 255 in the upper half.
  const std::vector<Drawn> curves = p.Of(Kind::Polyline);
  ASSERT_EQ(curves.size(), 1u);
  EXPECT_DOUBLE_EQ(curves[0].p[0].y, 20 + 200 * (1 - 100 / 255.0));
}

// Dense curves as bars: each dot's bar reaches from its highest to its
// lowest sample and the last sample of the dot before, half the pen beyond,
// on whole dots. The oracle walks the samples one by one.
TEST(PlotCurve, DenseCurveBarsSpanTheSamplesOfEachDot) {
  struct Case {
    PageFrame frame;
    std::size_t span, n;
  };
  const Case cases[] = {{{50, 20, 1000, 400}, 131072, 131072},
                        {{13.3, 7.9, 301.7, 250.5}, 8192, 8192},
                        {{0, 0, 97, 60}, 4096, 3000},  // fewer samples than the span
                        {{2.5, 0, 640, 300}, 1300, 1300}};
  PlotOptions o;
  o.denseBars = true;
  PageStyle colour;
  colour.colour = true;
  for (const Case& c : cases) {
    PrintPage page;
    page.span = c.span;
    std::vector<double> levels(c.n);
    for (std::size_t i = 0; i < c.n; ++i)
      levels[i] = 127 + 140 * std::sin(static_cast<double>(i) * 0.05) * std::cos(i * 0.0007);
    levels[c.n / 3] = std::nan("");
    page.curves.push_back({levels, kNavy});
    RecordingPainter drawn(c.frame.left + c.frame.width + 10, c.frame.height + 40, 96);
    DrawPlot(drawn, page, colour, c.frame, o);
    std::vector<Drawn> bars;
    for (const Drawn& d : drawn.Of(Kind::Fill))
      if (d.pen.colour == kNavy) bars.push_back(d);

    const double pen = colour.curveWidthPt * 96 / 72;
    const auto y = [&](double level) {
      if (!(level >= 0)) level = 0;
      return c.frame.top + c.frame.height * (1 - std::min(level, 255.0) / 255);
    };
    std::vector<PagePoint> expected;  // per bar: its dot and its top and bottom
    std::vector<double> tops, bottoms;
    double dot = -1e9, top = 0, bottom = 0, last = 0;
    bool any = false;
    for (std::size_t i = 0; i < c.n; ++i) {
      const double d = std::floor(c.frame.left + c.frame.width * i / c.span);
      if (d != dot) {
        if (any) {
          expected.push_back({dot, 0});
          tops.push_back(top);
          bottoms.push_back(bottom);
        }
        top = bottom = y(levels[i]);
        if (any) {
          top = std::min(top, last);
          bottom = std::max(bottom, last);
        }
        dot = d;
        any = true;
      }
      top = std::min(top, y(levels[i]));
      bottom = std::max(bottom, y(levels[i]));
      last = y(levels[i]);
    }
    expected.push_back({dot, 0});
    tops.push_back(top);
    bottoms.push_back(bottom);

    ASSERT_EQ(bars.size(), expected.size()) << c.n;
    for (std::size_t k = 0; k < bars.size(); ++k) {
      EXPECT_EQ(bars[k].p[0].x, expected[k].x) << k;
      EXPECT_EQ(bars[k].p[1].x, 1) << k;
      EXPECT_EQ(bars[k].p[0].y, std::floor(tops[k] - pen / 2)) << k;
      EXPECT_EQ(bars[k].p[0].y + bars[k].p[1].y, std::ceil(bottoms[k] + pen / 2)) << k;
    }
  }
}

TEST(PlotMapping, PlotPixelsAndDeviceAtSeveralSizes) {
  const PageFrame frames[] = {{0, 0, 512, 255},       // one device unit a pixel
                              {0, 0, 1024, 510},      // twice
                              {37.5, 19, 777, 333}};  // odd, away from the corner
  for (const PageFrame& f : frames) {
    SCOPED_TRACE(f.width);
    for (int column : {0, 1, 100, 255, 256, 510, 511})
      for (int row : {0, 1, 127, 128, 254, 255}) {
        // The middle of a column and a row's own line come back to them.
        const PagePoint at = PlotToDevice(f, column + 0.5, row);
        EXPECT_EQ(DeviceToPlot(f, at.x, at.y), (PlotPixel{column, row}));
      }
    // The corners.
    EXPECT_EQ(DeviceToPlot(f, f.left, f.top), (PlotPixel{0, 0}));
    EXPECT_EQ(DeviceToPlot(f, f.left + f.width - 0.01, f.top + f.height), (PlotPixel{511, 255}));
  }
  // Twice: two device units a column, a row every two units.
  const PageFrame twice{0, 0, 1024, 510};
  EXPECT_EQ(DeviceToPlot(twice, 201, 100), (PlotPixel{100, 50}));
  EXPECT_EQ(DeviceToPlot(twice, 201.9, 100.9), (PlotPixel{100, 50}));
  EXPECT_EQ(PlotToDevice(twice, 100, 50).x, 200);
  // Outside the frame the values run on, for the model to refuse.
  EXPECT_EQ(DeviceToPlot(twice, -3, 600), (PlotPixel{-2, 300}));
  EXPECT_EQ(DeviceToPlot(twice, 1030, -10), (PlotPixel{515, -5}));
  // An empty frame maps nowhere.
  EXPECT_EQ(DeviceToPlot({0, 0, 0, 0}, 5, 5), (PlotPixel{-1, -1}));
}

TEST(PlotMapping, ScaledPixelsAreWholeBlocks) {
  const PageFrame f{10, 4, 1536, 768};  // three units a pixel
  EXPECT_EQ(ScaledPixelToPlot(f, 3, 10, 4), (PlotPixel{0, 0}));
  EXPECT_EQ(ScaledPixelToPlot(f, 3, 12.9, 6.9), (PlotPixel{0, 0}));
  EXPECT_EQ(ScaledPixelToPlot(f, 3, 13, 7), (PlotPixel{1, 1}));
  EXPECT_EQ(ScaledPixelToPlot(f, 3, 10 + 3 * 511 + 2, 4 + 3 * 255), (PlotPixel{511, 255}));
  // A fractional device ratio: 2 device pixels a plot pixel at 1.5.
  EXPECT_EQ(ScaledPixelToPlot({0, 0, 0, 0}, 2 / 1.5, 100, 50), (PlotPixel{75, 37}));
}

}  // namespace
}  // namespace rovanel::display
