#include "signal/filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "signal/paging.h"

namespace rovanel::signal {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Random(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes v(n);
  for (auto& x : v) x = static_cast<std::uint8_t>(rng() % 256);
  return v;
}

// The filters by their definitions, sweep after sweep.
Bytes LiteralSmooth3(const Bytes& c, int passes) {
  std::vector<float> w(c.begin(), c.end());
  for (int p = 0; p < passes; ++p) {
    for (std::size_t i = 1; i + 1 < w.size(); ++i) {
      float sum = 0;
      sum += w[i - 1];
      sum += w[i];
      sum += w[i + 1];
      w[i] = sum / 3;
    }
  }
  Bytes out(c.size());
  for (std::size_t i = 0; i < c.size(); ++i)
    out[i] = static_cast<std::uint8_t>(std::nearbyint(w[i]));
  return out;
}

Bytes LiteralSmooth5(Bytes s, int passes) {
  if (passes < 1 || s.size() < 5) return s;
  for (int p = 0; p < passes; ++p) {
    for (std::size_t i = 2; i + 2 < s.size(); ++i) {
      const double sum = 0.0 + s[i - 2] + s[i - 1] + s[i] + s[i + 1] + s[i + 2];
      s[i] = static_cast<std::uint8_t>(std::nearbyint(sum / 5));
    }
  }
  return s;
}

TLargeTab SeriesOf(const Bytes& v) {
  TLargeTab t(5);
  WriteSamples(t, 0, v);
  return t;
}

TEST(StretchLevels, MapsMinMaxOntoFullRangeRoundingHalvesToEven) {
  const struct {
    Bytes in, out;
  } cases[] = {
      {{10, 12, 11}, {0, 255, 128}},              // 127.5 -> 128
      {{3, 9, 4, 5, 6}, {0, 255, 42, 85, 128}},   // 42.5 -> 42, 127.5 -> 128
      {{100, 110, 101, 105}, {0, 255, 26, 128}},  // 25.5 -> 26, 127.5 -> 128
      {{0, 255, 17}, {0, 255, 17}},
      {{77, 77, 77}, {0, 0, 0}},  // flat: max := min + 1
      {{255, 255}, {0, 0}},
      {{}, {}},
  };
  for (const auto& c : cases) {
    Bytes v = c.in;
    StretchLevels(v);
    EXPECT_EQ(v, c.out);
  }
}

TEST(Smooth3, SweepsInPlaceInSinglePrecisionAndKeepsTheEnds) {
  const struct {
    Bytes in;
    int passes;
    Bytes out;
  } cases[] = {
      // Sample 2 sees the already smoothed sample 1: (3 + 9 + 0) / 3.
      {{0, 0, 9, 0, 0}, 1, {0, 3, 4, 1, 0}},
      // Double-precision work would give 121 at sample 2.
      {{196, 10, 34, 89}, 6, {196, 155, 120, 89}},
      {{5, 200}, 10, {5, 200}},
      {{}, 3, {}},
      {{9, 1, 9}, 0, {9, 1, 9}},
  };
  for (const auto& c : cases) {
    Bytes v = c.in;
    Smooth3(v, c.passes);
    EXPECT_EQ(v, c.out);
  }
  for (int passes : {1, 2, 3, 10, 101}) {
    const Bytes raw = Random(2048, passes);
    Bytes v = raw;
    Smooth3(v, passes);
    EXPECT_EQ(v, LiteralSmooth3(raw, passes)) << passes;
    EXPECT_EQ(v.front(), raw.front());
    EXPECT_EQ(v.back(), raw.back());
  }
}

TEST(Smooth3, CurvesOneToCountWithCurveOneSkippedOnRequest) {
  CurveSet raw;
  for (int k = 1; k <= kMaxCurves; ++k) {
    const Bytes r = Random(kPixels, 10 + k);
    std::copy(r.begin(), r.end(), raw[k].begin());
  }
  CurveSet c = raw;
  Smooth3(c, 3, true, 3);
  EXPECT_EQ(c[1], raw[1]);
  for (int k = 2; k <= 3; ++k) {
    EXPECT_EQ(Bytes(c[k].begin(), c[k].end()),
              LiteralSmooth3(Bytes(raw[k].begin(), raw[k].end()), 3));
  }
  EXPECT_EQ(c[4], raw[4]);
}

TEST(Smooth5, SweepsInPlaceRoundingEachSampleAsItGoes) {
  const struct {
    Bytes in;
    int passes;
    Bytes out;
  } cases[] = {
      {{0, 0, 10, 0, 0, 0}, 1, {0, 0, 2, 0, 0, 0}},  // then (0+2+0+0+0)/5 = 0.4 -> 0
      {{0, 0, 13, 0, 0}, 1, {0, 0, 3, 0, 0}},        // 2.6 -> 3
      // 12/5 -> 2; (3+2+0+0+0)/5 -> 1; (2+1+0+0+0)/5 = 0.6 -> 1.
      {{0, 3, 9, 0, 0, 0, 0}, 1, {0, 3, 2, 1, 1, 0, 0}},
      {{1, 2, 3, 4}, 5, {1, 2, 3, 4}},  // fewer than 5 samples
      {{9, 0, 9, 0, 9}, 0, {9, 0, 9, 0, 9}},
  };
  for (const auto& c : cases) {
    Bytes v = c.in;
    Smooth5(v, c.passes);
    EXPECT_EQ(v, c.out);
  }
}

TEST(Smooth5, LongSeriesAcrossBlockSeamsMatchesSweepAfterSweep) {
  const std::uint32_t n = 100000;
  const Bytes raw = Random(n, 4);
  for (int passes : {1, 8, 99}) {
    TLargeTab series = SeriesOf(raw);
    series.SetValue(n, 123);  // past the series: untouched
    Smooth5(series, n, passes);
    EXPECT_EQ(ReadSamples(series, n), LiteralSmooth5(raw, passes)) << passes;
    EXPECT_EQ(series.GetValue(n), 123);
  }
}

TEST(CorrectByReference, ScalesByTheReferenceAndClipsAt255) {
  Bytes reference = {2, 6, 255, 1, 0, 128, 10};
  Bytes curve = {1, 1, 200, 2, 3, 100, 7};
  CorrectByReference(reference, curve);
  // 127.5 -> 128, 42.5 -> 42, 200, 510 -> 255, 765 -> 255, 199.2 -> 199, 178.5 -> 178.
  EXPECT_EQ(curve, (Bytes{128, 42, 200, 255, 255, 199, 178}));
  EXPECT_EQ(reference, (Bytes{2, 6, 255, 1, 1, 128, 10}));  // the zero became 1
}

TEST(LogLevelsAndInversion, PerSampleMaps) {
  Bytes v = {0, 1, 9, 127, 255};
  LogLevels(v);
  // 46 ln 1, 46 ln 2 = 31.9, 46 ln 10 = 105.9, 46 ln 128 = 223.2, 46 ln 256 = 255.1.
  EXPECT_EQ(v, (Bytes{0, 32, 106, 223, 255}));

  CurveSet c;
  c[1].fill(10);
  c[2].fill(20);
  c[3].fill(30);
  InvertCurves(c, 2);
  EXPECT_EQ(c[1][2047], 245);
  EXPECT_EQ(c[2][0], 235);
  EXPECT_EQ(c[3][5], 30);
  LogLevels(c, 1, 4);
  EXPECT_EQ(c[1][3], 253);  // 46 ln 246 = 253.3
  EXPECT_EQ(c[1][4], 245);
}

TEST(SeriesSteps, WorkOnTheFirstNSamplesAcrossBlocks) {
  const std::uint32_t n = 70000;
  Bytes raw = Random(n, 9);
  raw[40000] = 0;
  raw[50000] = 255;
  TLargeTab src = SeriesOf(raw), dest(5);
  WriteSamples(dest, 0, Bytes(163840, 7));

  CopySamples(dest, src, n);
  EXPECT_EQ(ReadSamples(dest, n), raw);
  EXPECT_EQ(dest.GetValue(n), 7);

  InvertSeries(dest, n);
  EXPECT_EQ(dest.GetValue(40000), 255);
  EXPECT_EQ(dest.GetValue(32768), 255 - raw[32768]);
  EXPECT_EQ(dest.GetValue(n), 7);

  for (auto& x : raw) x = static_cast<std::uint8_t>(100 + x % 50);  // 100..149
  TLargeTab narrow = SeriesOf(raw);
  StretchLevels(narrow, n);
  Bytes expected = raw;
  StretchLevels(expected);
  EXPECT_EQ(ReadSamples(narrow, n), expected);
  EXPECT_EQ(narrow.GetValue(n), 0);
}

TEST(Paging, MissingBlocksReadAsZeroAndDropWrites) {
  int calls = 0;
  TLargeTab t(3, [&calls](std::size_t bytes) -> std::unique_ptr<std::uint8_t[]> {
    if (calls++ == 1) throw std::bad_alloc();
    return std::make_unique<std::uint8_t[]>(bytes);
  });
  WriteSamples(t, 32760, Bytes(32800, 5));
  Bytes back(32800, 9);
  ReadSamples(t, 32760, back);
  for (std::size_t i = 0; i < back.size(); ++i) {
    ASSERT_EQ(back[i], (i < 8 || i >= 8 + 32768) ? 5 : 0) << i;
  }
  WriteSamples(t, 3 * 32768 - 2, Bytes{1, 1, 1, 1});
  Bytes past(4, 9);
  ReadSamples(t, 3 * 32768 - 2, past);
  EXPECT_EQ(past, (Bytes{1, 1, 0, 0}));
}

}  // namespace
}  // namespace rovanel::signal
