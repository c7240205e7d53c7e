#include "display/traces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/canvas_asserts.h"

namespace rovanel::display {
namespace {

using testsupport::RegionIs;
using testsupport::RowsOfColour;

std::vector<int> Range(int from, int to) {  // from..to inclusive
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

TEST(RowOf, FullAndHalfHeight) {
  EXPECT_EQ(RowOf(255, false), 0);
  EXPECT_EQ(RowOf(0, false), 255);
  EXPECT_EQ(RowOf(100, false), 155);
  EXPECT_EQ(RowOf(255, true), 0);
  EXPECT_EQ(RowOf(254, true), 0);
  EXPECT_EQ(RowOf(1, true), 127);
  EXPECT_EQ(RowOf(0, true), 127);
  EXPECT_EQ(RowOf(101, true), 77);
}

// The plot's own size and default view: 2048 samples over 512 columns.
struct FlatCase {
  std::uint8_t level;
  bool half;
  int row;
};

TEST(DrawTrace, FlatCurvesLandOnTheirRowInEveryStyle) {
  const FlatCase cases[] = {{255, false, 0}, {0, false, 255}, {0, true, 127}, {255, true, 0}};
  for (const FlatCase& fc : cases) {
    const std::vector<std::uint8_t> curve(2048, fc.level);
    for (TraceStyle style : {TraceStyle::Vecteurs, TraceStyle::Pics, TraceStyle::Points}) {
      Canvas c(512, 256);
      c.penColour = kBlack;
      DrawTrace(c, curve.data(), curve.size(), style, TraceView{0, 4, 1, fc.half});
      const auto drawn = testsupport::PixelsNot(c, kWhite);
      // Lines never draw their end pixel, so the joined styles stop at column 510.
      const std::size_t width = style == TraceStyle::Points ? 512 : 511;
      ASSERT_EQ(drawn.size(), width) << int(fc.level) << " style " << int(style);
      for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i], (std::pair<int, int>(static_cast<int>(i), fc.row)));
      }
    }
  }
}

// Six columns, one sample each, on rows 2 5 3 3 0 4.
const std::vector<std::uint8_t> kZigzag{253, 250, 252, 252, 255, 251};

TEST(DrawTrace, ZoomOneVecteursJoinsNeighbouringColumns) {
  Canvas c(6, 6);
  DrawTrace(c, kZigzag.data(), kZigzag.size(), TraceStyle::Vecteurs, TraceView{0, 1, 1, false});
  EXPECT_TRUE(RegionIs(c, 0, 0,
                       {"....#.",  //
                        "....#.",  //
                        "#..##.",  //
                        "#.##.#",  //
                        ".#....",  //
                        ".#...."}));
  EXPECT_EQ(c.PenX(), 5);
  EXPECT_EQ(c.PenY(), 4);
}

TEST(DrawTrace, ZoomOnePicsEqualsVecteursAndPointsLeavesColumnsUnjoined) {
  Canvas vec(6, 6), pics(6, 6), points(6, 6);
  const TraceView view{0, 1, 1, false};
  DrawTrace(vec, kZigzag.data(), kZigzag.size(), TraceStyle::Vecteurs, view);
  DrawTrace(pics, kZigzag.data(), kZigzag.size(), TraceStyle::Pics, view);
  DrawTrace(points, kZigzag.data(), kZigzag.size(), TraceStyle::Points, view);
  EXPECT_EQ(testsupport::AsciiRegion(pics, 0, 0, 6, 6), testsupport::AsciiRegion(vec, 0, 0, 6, 6));
  EXPECT_TRUE(RegionIs(points, 0, 0,
                       {"....#.",  //
                        "......",  //
                        "#.....",  //
                        "..##..",  //
                        ".....#",  //
                        ".#...."}));
}

// Three columns of four samples: rows {10,14,12,11}, {20,20,20,20}, {5,8,6,7}.
const std::vector<std::uint8_t> kColumns{245, 241, 243, 244, 235, 235,
                                         235, 235, 250, 247, 249, 248};

TEST(DrawTrace, PicsShowsTheFullRangeOfEachColumn) {
  Canvas c(3, 24);
  c.penColour = kRed;
  DrawTrace(c, kColumns.data(), kColumns.size(), TraceStyle::Pics, TraceView{0, 4, 1, false});
  // Column 0: samples 10..14 plus the first half of the jump to column 1.
  EXPECT_EQ(RowsOfColour(c, 0, kRed), Range(10, 15));
  // Column 1: the second half of that jump, then the first half of the jump up to 5.
  EXPECT_EQ(RowsOfColour(c, 1, kRed), Range(13, 20));
  // Column 2: the rest of the jump and its own 5..8; the last line's end (row 7) is
  // already covered.
  EXPECT_EQ(RowsOfColour(c, 2, kRed), Range(5, 12));
  EXPECT_EQ(testsupport::PixelsNot(c, kWhite).size(), 6u + 8u + 8u);
}

TEST(DrawTrace, PointsSetsOnePixelPerSample) {
  Canvas c(3, 24);
  c.penColour = kNavy;
  DrawTrace(c, kColumns.data(), kColumns.size(), TraceStyle::Points, TraceView{0, 4, 1, false});
  EXPECT_EQ(RowsOfColour(c, 0, kNavy), (std::vector<int>{10, 11, 12, 14}));
  EXPECT_EQ(RowsOfColour(c, 1, kNavy), (std::vector<int>{20}));
  EXPECT_EQ(RowsOfColour(c, 2, kNavy), (std::vector<int>{5, 6, 7, 8}));
  EXPECT_EQ(testsupport::PixelsNot(c, kWhite).size(), 9u);
}

TEST(DrawTrace, VecteursTakesTheFirstSampleOfEachColumn) {
  Canvas c(3, 24);
  DrawTrace(c, kColumns.data(), kColumns.size(), TraceStyle::Vecteurs, TraceView{0, 4, 1, false});
  // (0,10) to (1,20) to (2,5); the end pixel (2,5) is not drawn. Halfway down the
  // first jump (row 15) the column nearer the start is taken.
  EXPECT_EQ(RowsOfColour(c, 0, kBlack), Range(10, 15));
  EXPECT_EQ(RowsOfColour(c, 1, kBlack), Range(13, 20));
  EXPECT_EQ(RowsOfColour(c, 2, kBlack), Range(6, 12));
}

TEST(DrawTrace, ViewStartStrideAndHalfHeight) {
  // Ramp: sample i has level i, so the row tells which sample a column shows.
  std::vector<std::uint8_t> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  Canvas c(5, 256);
  DrawTrace(c, ramp.data(), ramp.size(), TraceStyle::Points, TraceView{7, 2, 4, false});
  // Column x shows samples 7 + 8x and 8 + 8x.
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(RowsOfColour(c, x, kBlack), (std::vector<int>{255 - (8 + 8 * x), 255 - (7 + 8 * x)}))
        << x;
  }
  Canvas h(5, 256);
  DrawTrace(h, ramp.data(), ramp.size(), TraceStyle::Points, TraceView{100, 1, 1, true});
  // Samples 100..104 at half height: 127 - 50, 127 - 50, 127 - 51, 127 - 51, 127 - 52.
  EXPECT_EQ(RowsOfColour(h, 0, kBlack), std::vector<int>{77});
  EXPECT_EQ(RowsOfColour(h, 1, kBlack), std::vector<int>{77});
  EXPECT_EQ(RowsOfColour(h, 2, kBlack), std::vector<int>{76});
  EXPECT_EQ(RowsOfColour(h, 4, kBlack), std::vector<int>{75});
}

TEST(DrawTrace, NeverReadsPastTheData) {
  // Samples 0..99 are at level 200 (row 55); what lies beyond `count` would show on row 255.
  std::vector<std::uint8_t> buf(2048, 0);
  std::fill(buf.begin(), buf.begin() + 100, std::uint8_t{200});
  for (TraceStyle style : {TraceStyle::Vecteurs, TraceStyle::Pics, TraceStyle::Points}) {
    Canvas c(512, 256);
    DrawTrace(c, buf.data(), 100, style, TraceView{0, 4, 1, false});
    const auto drawn = testsupport::PixelsNot(c, kWhite);
    ASSERT_FALSE(drawn.empty());
    for (const auto& [x, y] : drawn) {
      EXPECT_EQ(y, 55) << "style " << int(style) << " x " << x;
      EXPECT_LT(x, 25);  // samples 0..99 fill columns 0..24
    }
  }
  // A view starting past the data (or before it) draws nothing.
  for (int start : {100, 5000, -1}) {
    Canvas c(512, 256);
    c.MoveTo(3, 4);
    DrawTrace(c, buf.data(), 100, TraceStyle::Pics, TraceView{start, 4, 1, false});
    EXPECT_TRUE(testsupport::PixelsNot(c, kWhite).empty()) << start;
    EXPECT_EQ(c.PenX(), 3);
  }
  Canvas c(512, 256);
  DrawTrace(c, nullptr, 0, TraceStyle::Points, TraceView{});
  EXPECT_TRUE(testsupport::PixelsNot(c, kWhite).empty());
}

// The drawing as it was before the Pics style drew spans: one segment per
// sample, for every style.
void PerSampleTrace(Canvas& canvas, const std::uint8_t* samples, std::size_t count,
                    TraceStyle style, TraceView v) {
  v.zoomStep = std::max(v.zoomStep, 1);
  v.stride = std::max(v.stride, 1);
  if (v.viewStart < 0 || static_cast<std::size_t>(v.viewStart) >= count) return;
  const auto n = static_cast<long long>(count);
  auto row = [&](long long s) { return RowOf(samples[s], v.halfHeight); };
  if (style == TraceStyle::Vecteurs) {
    canvas.MoveTo(0, row(v.viewStart));
    for (int x = 1; x < canvas.Width(); ++x) {
      if (SampleIndex(v, x, 0) >= n) return;
      canvas.LineTo(x, row(SampleIndex(v, x, 0)));
    }
    return;
  }
  if (style == TraceStyle::Pics) canvas.MoveTo(0, row(v.viewStart));
  for (int x = 0; x < canvas.Width(); ++x) {
    for (int j = 0; j < v.zoomStep; ++j) {
      const long long s = SampleIndex(v, x, j);
      if (s >= n) return;
      if (style == TraceStyle::Pics)
        canvas.LineTo(x, row(s));
      else
        canvas.SetPixel(x, row(s), canvas.penColour);
    }
  }
}

// Curves that stress the joins: noise, a slow wave, steps, lone spikes,
// runs of equal levels, a sawtooth and the extremes.
std::vector<std::vector<std::uint8_t>> StressCurves(std::size_t n) {
  std::vector<std::vector<std::uint8_t>> curves(7, std::vector<std::uint8_t>(n));
  std::uint32_t seed = 99;
  for (std::size_t i = 0; i < n; ++i) {
    seed = seed * 1664525u + 1013904223u;
    curves[0][i] = static_cast<std::uint8_t>(seed >> 24);
    curves[1][i] = static_cast<std::uint8_t>(128 + 120 * std::sin(static_cast<double>(i) * 0.003));
    curves[2][i] = static_cast<std::uint8_t>((i / 37) % 2 ? 200 : 10);
    curves[3][i] = static_cast<std::uint8_t>(i % 53 == 0 ? 250 : 100 + (seed >> 30));
    curves[4][i] = static_cast<std::uint8_t>(((seed >> 20) % 5 == 0) ? seed >> 24 : 128);
    curves[5][i] = static_cast<std::uint8_t>(i % 256);
    curves[6][i] = static_cast<std::uint8_t>((i / 3) % 2 ? 255 : 0);
  }
  return curves;
}

TEST(DrawTrace, SamePixelsAndPenAsOneSegmentPerSampleAtEveryStyleAndZoom) {
  const auto curves = StressCurves(140000);
  const struct {
    PenStyle style;
    int width;
  } pens[] = {{PenStyle::Solid, 1}, {PenStyle::Dot, 1}, {PenStyle::Solid, 2}};
  for (TraceStyle style : {TraceStyle::Vecteurs, TraceStyle::Pics, TraceStyle::Points}) {
    for (int zoom : {1, 2, 3, 4, 7, 8, 16, 255, 256}) {
      for (std::size_t c = 0; c < curves.size(); ++c) {
        for (int stride : {1, 4}) {
          {
            const bool half = c % 2 == 1;
            // The whole view, and data ending part way through a column.
            for (std::size_t count : {curves[c].size(), std::size_t{300} * zoom + 1 + c}) {
              for (const auto& pen : pens) {
                if (pen.style != PenStyle::Solid || pen.width != 1) {
                  if (zoom > 4 || c > 1) continue;  // the per-sample path itself
                }
                const TraceView view{static_cast<int>(c * 11), zoom, stride, half};
                Canvas got(512, 256), want(512, 256);
                for (Canvas* k : {&got, &want}) {
                  k->penColour = kNavy;
                  k->penStyle = pen.style;
                  k->penWidth = pen.width;
                }
                DrawTrace(got, curves[c].data(), count, style, view);
                PerSampleTrace(want, curves[c].data(), count, style, view);
                const bool same = std::equal(got.Bits(), got.Bits() + 512 * 256, want.Bits());
                ASSERT_TRUE(same) << "style " << int(style) << " zoom " << zoom << " curve " << c
                                  << " stride " << stride << " half " << half << " count "
                                  << count << " pen " << int(pen.style) << "/" << pen.width;
                if (style != TraceStyle::Points) {
                  ASSERT_EQ(got.PenX(), want.PenX());
                  ASSERT_EQ(got.PenY(), want.PenY());
                }
              }
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace rovanel::display
