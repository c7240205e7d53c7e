// The distance and wavelength grids, against line positions worked out by
// hand from the pitch, the view and the wavelength table.
#include "display/grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "support/canvas_asserts.h"

namespace rovanel::display {
namespace {

using testsupport::RowsOfColour;

// Columns of row `y` drawn in `colour`.
std::vector<int> ColumnsOfColour(const Canvas& c, int y, Rgb colour) {
  std::vector<int> out;
  for (int x = 0; x < c.Width(); ++x)
    if (c.Pixel(x, y) == colour) out.push_back(x);
  return out;
}

std::vector<int> Range(int from, int to) {  // from..to inclusive
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

Canvas Plot() {
  Canvas c(512, 256);
  c.penColour = kSilver;
  return c;
}

TEST(GridRows, FullHeightAndBandMode) {
  EXPECT_EQ(GridRows(false), (std::array<int, 6>{255, 204, 153, 102, 51, 0}));
  // 102.5 and 51.5 and 0.5 go to the even neighbour.
  EXPECT_EQ(GridRows(true), (std::array<int, 6>{128, 102, 77, 52, 26, 0}));
}

TEST(DrawGrid, HorizontalLinesSpanTheWholeWidth) {
  for (bool band : {false, true}) {
    Canvas c = Plot();
    DrawGrid(c, GridParams{0, 4, false, band, 500});
    const std::vector<int> rows = band ? std::vector<int>{0, 26, 52, 77, 102, 128}
                                       : std::vector<int>{0, 51, 102, 153, 204, 255};
    for (int y = 0; y < 256; ++y) {
      const bool line = std::find(rows.begin(), rows.end(), y) != rows.end();
      // Column 1 has no vertical line (the first one is at column 9).
      EXPECT_EQ(c.Pixel(1, y) == kSilver, line) << "band " << band << " row " << y;
      if (line) {
        EXPECT_EQ(ColumnsOfColour(c, y, kSilver), Range(0, 511)) << y;
      }
    }
  }
}

struct VerticalCase {
  const char* what;
  GridParams p;
  std::vector<int> columns;  // where row 1 is drawn
};

TEST(DrawGrid, VerticalLinesStandOnWholePitchesOfTheSensor) {
  // 500 µm, 4 samples a column: d = 500/56 = 8.93 columns, k*d rounded:
  // 8.93 17.86 26.79 35.71 44.64 53.57 62.5 71.43 ... 508.93; 62.5 goes to 62.
  const std::vector<int> start{9, 18, 27, 36, 45, 54, 62, 71};
  const VerticalCase cases[] = {
      {"start view: 58 lines, 57 of them on the plot", {0, 4, false, false, 500}, start},
      {"real time counts 4 pixels a column", {0, 1, true, false, 500}, start},
      // 2000 µm at 1 sample a column: every 142.86 columns, 4 lines, the 4th at 571.
      {"zoom 1, 2 mm", {0, 1, false, false, 2000}, {143, 286, 429}},
      // 200 µm from sample 10 (140 µm): the next pitches at samples 14.29,
      // 28.57, 42.86, i.e. columns 4.29, 18.57, 32.86, ...
      {"scrolled", {10, 1, false, false, 200}, {4, 19, 33, 47, 61, 76, 90, 104}},
      // Sample 250 is 3500 µm, a whole pitch: the line at column 0 is not drawn.
      {"view starting on a pitch", {250, 4, false, false, 500}, {9, 18, 27}},
      // 1 mm at 2 samples a column: d = 35.71; N = 14336 div 1000 = 14, 15 lines.
      {"zoom 2, 1 mm",
       {0, 2, false, false, 1000},
       {36, 71, 107, 143, 179, 214, 250, 286, 321, 357, 393, 429, 464, 500}},
  };
  for (const VerticalCase& vc : cases) {
    Canvas c = Plot();
    DrawGrid(c, vc.p);
    std::vector<int> got = ColumnsOfColour(c, 1, kSilver);
    got.resize(std::min(got.size(), vc.columns.size()));  // the first lines
    EXPECT_EQ(got, vc.columns) << vc.what;
  }
  // The whole start view: lines k = 1..57 on the plot, the last at 508.93.
  Canvas c = Plot();
  DrawGrid(c, GridParams{0, 4, false, false, 500});
  const std::vector<int> all = ColumnsOfColour(c, 1, kSilver);
  EXPECT_EQ(all.size(), 57u);
  EXPECT_EQ(all.back(), 509);
  Canvas two = Plot();
  DrawGrid(two, GridParams{0, 1, false, false, 2000});
  EXPECT_EQ(ColumnsOfColour(two, 1, kSilver), (std::vector<int>{143, 286, 429}));
}

TEST(DrawGrid, VerticalLinesReachRow255OrTheBandTop) {
  Canvas full = Plot();
  DrawGrid(full, GridParams{0, 4, false, false, 500});
  EXPECT_EQ(RowsOfColour(full, 9, kSilver), Range(0, 255));
  Canvas band = Plot();
  DrawGrid(band, GridParams{0, 4, false, true, 500});
  EXPECT_EQ(RowsOfColour(band, 9, kSilver), Range(0, 128));  // 0..127, and the row-128 line
  EXPECT_EQ(band.Pixel(9, 129), kWhite);
  EXPECT_EQ(band.Pixel(9, 200), kWhite);
}

TEST(DrawGrid, UsesTheCanvasPen) {
  Canvas c(512, 256);
  c.penColour = kNavy;
  c.penStyle = PenStyle::Dot;
  DrawGrid(c, GridParams{0, 4, false, false, 2000});
  // 2 mm at 4 samples a column: d = 35.71, first line at 36; dots 3 on, 3 off.
  // Row 255: 85 periods of 6 and two more columns, 3 on in each period.
  EXPECT_EQ(ColumnsOfColour(c, 255, kNavy).size(), 85u * 3 + 2);
  EXPECT_EQ(c.Pixel(2, 255), kNavy);
  EXPECT_EQ(c.Pixel(3, 255), kWhite);
  EXPECT_EQ(c.Pixel(36, 2), kNavy);
  EXPECT_EQ(c.Pixel(36, 3), kWhite);
  EXPECT_EQ(c.penColour, kNavy);
  EXPECT_EQ(c.penStyle, PenStyle::Dot);
}

// Wavelength tables with exact float steps.
std::array<float, 2048> Table(float first, float step) {
  std::array<float, 2048> t{};
  for (int p = 0; p < 2048; ++p)
    t[static_cast<std::size_t>(p)] = first + step * static_cast<float>(p);
  return t;
}

struct SpCase {
  const char* what;
  std::array<float, 2048> table;
  SpGridParams p;
  std::vector<int> columns;  // where a row carrying no horizontal line is drawn
};

TEST(MakeSPGrid, MarksEveryThirtyNanometresFromTheRoundedFirstWavelength) {
  const SpCase cases[] = {
      // 400 + p/4 nm: 430 is passed after pixel 120, 460 after 240, ...
      {"rising", Table(400.0f, 0.25f), {0, 1, false, false}, {121, 241, 361, 481}},
      // 799.6 - p/4 nm: lambda0 = 800, marks 770, 740, ...; pixel 4x passes
      // 800 - 30k after x = 30k - 0.4.
      {"falling, 4 pixels a column",
       Table(799.6f, -0.25f),
       {0, 4, false, false},
       {30, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330, 360, 390, 420, 450, 480, 510}},
      {"real time",
       Table(799.6f, -0.25f),
       {0, 1, false, true},
       {30, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330, 360, 390, 420, 450, 480, 510}},
      // From pixel 100 (425 nm): marks still count from pixel 0's 400 nm.
      {"scrolled", Table(400.0f, 0.25f), {100, 1, false, false}, {21, 141, 261, 381, 501}},
      // From pixel 1000 (650 nm) the marks 430..640 lag behind: one line a
      // column until they catch up, then 670 nm after column 80.
      {"marks lagging",
       Table(400.0f, 0.25f),
       {1000, 1, false, false},
       {0, 1, 2, 3, 4, 5, 6, 7, 81, 201, 321, 441}},
      // A wavelength exactly on a mark does not pass it: 430 nm at pixel 30.
      {"on a mark",
       Table(400.0f, 1.0f),
       {0, 1, false, false},
       {31, 61, 91, 121, 151, 181, 211, 241, 271, 301, 331, 361, 391, 421, 451, 481, 511}},
  };
  for (const SpCase& sc : cases) {
    Canvas c = Plot();
    MakeSPGrid(c, sc.table, sc.p);
    EXPECT_EQ(ColumnsOfColour(c, 1, kSilver), sc.columns) << sc.what;
  }
}

TEST(MakeSPGrid, LinesStopBeforeTheirEndPixel) {
  const auto table = Table(400.0f, 0.25f);
  Canvas full = Plot();
  MakeSPGrid(full, table, SpGridParams{0, 1, false, false});
  EXPECT_EQ(ColumnsOfColour(full, 255, kSilver), Range(0, 510));
  EXPECT_EQ(ColumnsOfColour(full, 0, kSilver), Range(0, 510));
  EXPECT_EQ(RowsOfColour(full, 121, kSilver), Range(0, 255));  // 255: the bottom grid line
  EXPECT_EQ(RowsOfColour(full, 1, kSilver), (std::vector<int>{0, 51, 102, 153, 204, 255}));

  Canvas half = Plot();
  MakeSPGrid(half, table, SpGridParams{0, 1, true, false});
  EXPECT_EQ(RowsOfColour(half, 1, kSilver), (std::vector<int>{0, 26, 52, 77, 102, 128}));
  std::vector<int> halfLine = Range(0, 126);  // row 127 is the end pixel
  halfLine.push_back(128);                    // the band's top grid line
  EXPECT_EQ(RowsOfColour(half, 121, kSilver), halfLine);
}

}  // namespace
}  // namespace rovanel::display
