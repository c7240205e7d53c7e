#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "signal/histogram.h"
#include "signal/lut.h"

namespace rovanel::signal {
namespace {

TEST(LutTable, ValuesAtCoefficientTwo) {
  // round(255 ln 3.56 / ln 6.1) and round(255 (e^0.256 - 1) / (e^0.51 - 1)).
  EXPECT_EQ(LutTable(LutKind::Logarithmic, 2)[128], 179);
  EXPECT_EQ(LutTable(LutKind::Exponential, 2)[128], 112);
}

TEST(LutTable, EveryCoefficientFixesTheEndsAndNeverDecreases) {
  const struct {
    LutKind kind;
    int lo, hi;
  } kinds[] = {{LutKind::Logarithmic, 2, 95}, {LutKind::Exponential, 2, 25}};
  for (const auto& k : kinds) {
    for (int c = k.lo; c <= k.hi; ++c) {
      const Lut t = LutTable(k.kind, c);
      EXPECT_EQ(t[0], 0) << c;
      EXPECT_EQ(t[255], 255) << c;
      for (int v = 1; v < 256; ++v) ASSERT_LE(t[v - 1], t[v]) << c << " " << v;
      // The logarithmic curve lifts the middle, the exponential one lowers it.
      if (k.kind == LutKind::Logarithmic) {
        EXPECT_GT(t[128], 128) << c;
      } else {
        EXPECT_LT(t[128], 128) << c;
      }
    }
  }
  // Out-of-range coefficients are taken at the nearest end.
  EXPECT_EQ(LutTable(LutKind::Logarithmic, 0), LutTable(LutKind::Logarithmic, 2));
  EXPECT_EQ(LutTable(LutKind::Exponential, 90), LutTable(LutKind::Exponential, 25));
}

TEST(ApplyLut, MapsTheFirstNSamplesOfCurvesOneToCount) {
  CurveSet c;
  for (int k = 1; k <= 4; ++k) c[k].fill(128);
  ApplyLut(c, 3, LutKind::Logarithmic, 2, 1000);
  EXPECT_EQ(c[1][0], 179);
  EXPECT_EQ(c[3][999], 179);
  EXPECT_EQ(c[3][1000], 128);
  EXPECT_EQ(c[4][0], 128);
}

std::vector<std::uint8_t> Curve(std::initializer_list<std::pair<int, int>> runs) {
  std::vector<std::uint8_t> v;
  for (auto [level, count] : runs) v.insert(v.end(), count, static_cast<std::uint8_t>(level));
  return v;
}

TEST(ComputeHistogram, ClassWidthsFromTheExponent) {
  const std::vector<std::uint8_t> curve(2048, 0);
  const struct {
    int exp, width, classes;
  } cases[] = {{0, 8, 32}, {1, 16, 16}, {2, 32, 8}, {3, 64, 4}, {7, 64, 4}, {-1, 8, 32}};
  for (const auto& c : cases) {
    const Histogram h = ComputeHistogram(curve, 0, 4, c.exp, false);
    EXPECT_EQ(h.classWidth, c.width) << c.exp;
    EXPECT_EQ(h.classCount, c.classes) << c.exp;
  }
}

TEST(ComputeHistogram, SharesOfTheVisibleWindowInPercent) {
  // One level everywhere: a single bar of 100 %.
  Histogram h = ComputeHistogram(std::vector<std::uint8_t>(2048, 77), 0, 4, 1, false);
  for (int c = 0; c < 16; ++c) {
    EXPECT_EQ(h.label[c], c == 4 ? 100 : 0) << c;
    EXPECT_EQ(h.height[c], h.label[c]);
  }
  EXPECT_EQ(h.count[4], 2048);

  // Window of 512 samples (zoom 1) from 100: 64 at level 20 (6400/512 = 12.5 -> 12),
  // 192 at 40 (37.5 -> 38), 256 at 250 (50). Samples outside the window are not counted.
  const auto curve = Curve({{255, 100}, {20, 64}, {40, 192}, {250, 256}, {0, 300}});
  h = ComputeHistogram(curve, 100, 1, 1, false);
  EXPECT_EQ(h.count[1], 64);
  EXPECT_EQ(h.label[1], 12);
  EXPECT_EQ(h.label[2], 38);
  EXPECT_EQ(h.label[15], 50);
  EXPECT_EQ(h.label[0], 0);

  // Cumulative: 64, 256, ..., 512 -> 12, 50, ..., 100; the bars equal the labels.
  h = ComputeHistogram(curve, 100, 1, 1, true);
  EXPECT_EQ(h.count[1], 64);
  EXPECT_EQ(h.count[2], 256);
  EXPECT_EQ(h.label[1], 12);
  EXPECT_EQ(h.label[2], 50);
  EXPECT_EQ(h.label[14], 50);
  EXPECT_EQ(h.label[15], 100);
  for (int c = 0; c < 16; ++c) EXPECT_EQ(h.height[c], h.label[c]);

  // A window running past the curve's end still counts in shares of 512 * zoom.
  h = ComputeHistogram(std::vector<std::uint8_t>(2048, 0), 1792, 1, 1, false);
  EXPECT_EQ(h.count[0], 256);
  EXPECT_EQ(h.label[0], 50);
}

}  // namespace
}  // namespace rovanel::signal
