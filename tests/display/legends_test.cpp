// Column scale, axis legends, cursor read-outs and the fringe count, against
// values worked out by hand from the scale table and the formats.
#include "display/legends.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "signal/large_tab.h"
#include "signal/peaks.h"

namespace rovanel::display {
namespace {

struct ScaleCase {
  const char* unit;
  int zoom;
  bool rt;
  double integMs;
  int r;
  int fft;
  float expected;
};

TEST(ColumnScale, FollowsTheUnitTable) {
  const ScaleCase cases[] = {
      {"µm", 4, false, 10, 0, 0, 56.0f},
      {"µm", 1, false, 10, 0, 0, 14.0f},
      {"µm", 1, true, 10, 0, 0, 56.0f},
      {"mm", 4, false, 10, 0, 0, 0.056f},
      {"mm", 2, false, 10, 0, 0, 0.028f},
      {"mm", 3, true, 10, 0, 0, 0.056f},
      {"pix", 3, false, 10, 0, 0, 3.0f},
      {"pix", 1, true, 10, 0, 0, 4.0f},
      // Level 1 (12.5 ms), every second frame: 4 * 12.5 * 2 / 1000 s.
      {"s", 4, false, 12.5, 1, 8192, 0.1f},
      {"s", 4, true, 12.5, 1, 8192, 0.1f},
      // 8192 * 10 ms: 4 * 1000 / 81920 Hz.
      {"Hz", 4, false, 10, 0, 8192, 0.048828125f},
      {"Hz", 2, false, 20, 3, 1024, 0.0244140625f},  // 2000 / 81920
      {"Hz", 4, false, 10, 0, 0, 1.0f},              // no spectrum yet
      {"/m", 4, false, 10, 0, 0, 139.50893f},        // 4e6 / 28672
      {"/m", 4, true, 10, 0, 0, 17.438616f},
      {"nm", 4, false, 10, 0, 0, 1.0f},
      {"nm", 4, true, 10, 0, 0, 1.0f},
      {"V", 2, false, 10, 0, 0, 1.0f},
      {"", 2, true, 10, 0, 0, 1.0f},
  };
  for (const ScaleCase& c : cases) {
    EXPECT_FLOAT_EQ(ColumnScale(ColumnScaleParams{c.unit, c.zoom, c.rt, c.integMs, c.r, c.fft}),
                    c.expected)
        << c.unit << " zoom " << c.zoom << (c.rt ? " real time" : "");
  }
}

TEST(AxisLegends, XByUnitYByScaleKind) {
  const std::pair<const char*, const char*> x[] = {
      {"µm", "X  ( µm )"}, {"mm", "X  ( mm )"},  {"s", "X  ( s )"},   {"pix", "X  ( n° )"},
      {"Hz", "X  ( Hz )"}, {"/m", "X  ( 1/m )"}, {"nm", "X  ( nm )"}, {"V", "previous"},
      {"", "previous"},    {"µ", "previous"}};
  for (const auto& [unit, legend] : x) EXPECT_EQ(AffUniteXText(unit, "previous"), legend) << unit;
  EXPECT_EQ(AffUniteYText("ln"), "Ln ( Y )");
  EXPECT_EQ(AffUniteYText("dec"), "Y");
  EXPECT_EQ(AffUniteYText("Ln"), "Y");
}

TEST(AxisLegends, GridPitchLabelByIndex) {
  const std::pair<int, const char*> cases[] = {{0, "200µm"}, {1, "500µm"}, {2, "1mm"},
                                               {3, "2mm"},   {4, ""},      {-1, ""}};
  for (const auto& [index, label] : cases) EXPECT_EQ(GridPitchLabel(index), label) << index;
}

struct VerticalCase {
  const char* what;
  VerticalReadoutParams p;
  const char *first, *second, *delta;
};

TEST(VerticalReadouts, TextsOfTheTwoCursorsAndTheirDistance) {
  std::array<float, 2048> lambda{};
  for (int p = 0; p < 2048; ++p) lambda[static_cast<std::size_t>(p)] = 400.0f + 0.25f * p;
  const VerticalCase cases[] = {
      {"start",
       {"µm", 0, 4, false, 56.0f, 100, 300, {}},
       "X1 =   5600.00µm",
       "X2 =  16800.00µm",
       "|X1-X2| =  11200.00µm"},
      // Cursors swapped: the distance stays positive.
      {"swapped",
       {"µm", 0, 4, false, 56.0f, 300, 100, {}},
       "X1 =  16800.00µm",
       "X2 =   5600.00µm",
       "|X1-X2| =  11200.00µm"},
      // 2 / 4 = 0.5 of a column before the cursor: (100.5) * 56 and (300.5) * 56.
      {"view not on a column",
       {"µm", 2, 4, false, 56.0f, 100, 300, {}},
       "X1 =   5628.00µm",
       "X2 =  16828.00µm",
       "|X1-X2| =  11200.00µm"},
      {"mm",
       {"mm", 0, 4, false, 0.056f, 100, 300, {}},
       "X1 =      5.60mm",
       "X2 =     16.80mm",
       "|X1-X2| =     11.20mm"},
      // Column 0 and a value wider than the field.
      {"wide",
       {"pix", 4000000, 1, false, 1.0f, 0, 511, {}},
       "X1 =4000000.00pix",
       "X2 =4000511.00pix",
       "|X1-X2| =    511.00pix"},
      // Pixels 8 + 2*100 = 208 and 608: 452 and 552 nm.
      {"nm",
       {"nm", 8, 2, false, 1.0f, 100, 300, lambda},
       "X1 =    452.00nm",
       "X2 =    552.00nm",
       "|X1-X2| =    100.00nm"},
      // Real time: 4 pixels a column whatever the zoom, pixels 8 + 400 and 8 + 40.
      {"nm, real time",
       {"nm", 8, 1, true, 1.0f, 100, 10, lambda},
       "X1 =    502.00nm",
       "X2 =    412.00nm",
       "|X1-X2| =     90.00nm"},
  };
  for (const VerticalCase& c : cases) {
    const VerticalReadout r = VerticalReadouts(c.p);
    EXPECT_EQ(r.texts.first, c.first) << c.what;
    EXPECT_EQ(r.texts.second, c.second) << c.what;
    EXPECT_EQ(r.texts.delta, c.delta) << c.what;
  }
  const VerticalReadout start = VerticalReadouts(VerticalReadoutParams{});
  EXPECT_DOUBLE_EQ(start.x1, 5600.0);
  EXPECT_DOUBLE_EQ(start.x2, 16800.0);
}

struct HorizontalCase {
  int y1, y2;
  bool band;
  const char *first, *second, *delta;
};

TEST(HorizontalReadouts, LevelsInPercentOfFullScale) {
  const HorizontalCase cases[] = {
      // 155/255 = 60.78 %, 55/255 = 21.57 %, difference 39.22 %.
      {100, 200, false, "Y1 =    61%", "Y2 =    22%", "|Y1-Y2| =    39%"},
      {0, 255, false, "Y1 =   100%", "Y2 =     0%", "|Y1-Y2| =   100%"},
      // Band mode: row 127 is 1/255 = 0.39 %, row 0 full scale, row 64 49.8 %.
      {127, 0, true, "Y1 =     0%", "Y2 =   100%", "|Y1-Y2| =   100%"},
      {64, 100, true, "Y1 =    50%", "Y2 =    22%", "|Y1-Y2| =    28%"},
  };
  for (const HorizontalCase& c : cases) {
    const Readouts r = HorizontalReadouts(c.y1, c.y2, c.band);
    EXPECT_EQ(r.first, c.first) << c.y1 << " " << c.band;
    EXPECT_EQ(r.second, c.second) << c.y2 << " " << c.band;
    EXPECT_EQ(r.delta, c.delta) << c.y1 << "-" << c.y2;
  }
  EXPECT_NEAR(RowPercent(100, false), 60.784, 0.001);
  EXPECT_NEAR(RowPercent(127, true), 0.392, 0.001);
}

struct FringeCase {
  const char* what;
  FringeSpan span;
  int expected;
};

TEST(CountFringes, CountsMaximaBetweenTheCursorsInclusive) {
  signal::TLargeTab marks(1);
  // Maxima at 399 | 400 ... 800 ... 1200 | 1201, and other marks that are no maxima.
  for (std::uint32_t i : {399u, 400u, 800u, 1200u, 1201u, 403u, 404u, 1204u})
    marks.SetValue(i, signal::kPeakMark);
  marks.SetValue(600, 19);
  marks.SetValue(601, 21);
  marks.SetValue(602, 1);
  const FringeCase cases[] = {
      // Samples 400..1200: 400, 403, 404, 800, 1200.
      {"start cursors", {0, 4, 100, 300}, 5},
      {"swapped", {0, 4, 300, 100}, 5},
      // 6 div 4 = 1: samples 404..1204 (not 406..1206): 404, 800, 1200, 1201, 1204.
      {"view inside a column", {6, 4, 100, 300}, 5},
      // Samples 400..404, b - a = 4: no count.
      {"four samples apart", {0, 4, 100, 101}, -1},
      {"same column", {0, 1, 50, 50}, -1},
      // Samples 399..404: b - a = 5.
      {"five samples apart", {0, 1, 399, 404}, 4},
      {"past the array's end", {0, 4, 8000, 9000}, 0},
  };
  for (const FringeCase& c : cases) EXPECT_EQ(CountFringes(marks, c.span), c.expected) << c.what;
}

}  // namespace
}  // namespace rovanel::display
