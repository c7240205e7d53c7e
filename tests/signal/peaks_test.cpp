#include "signal/peaks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace rovanel::signal {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Found {
  std::uint32_t peaks = 0;
  Bytes marks, states;
};

// The detector by its definition: a smoothed copy, then every level from
// 255 down scanned over samples 1..n-2.
Found Literal(Bytes s) {
  const std::size_t n = s.size();
  for (int pass = 0; pass < 10; ++pass) {
    for (std::size_t i = 1; i + 1 < n; ++i) {
      s[i] = static_cast<std::uint8_t>(std::nearbyint((s[i - 1] + s[i] + s[i + 1]) / 3.0));
    }
  }
  Found f;
  f.marks.assign(n, 0);
  f.states.assign(n, 0);
  for (std::size_t i = 0; i < n && i < 2; ++i) f.states[i] = 1;
  for (int L = 255; L >= 0; --L) {
    for (std::size_t i = 1; i + 1 < n; ++i) {
      if (s[i] != L || f.states[i] == 2) continue;
      if (f.states[i] == 0) {
        std::size_t w = 0;
        while (i + w <= n - 2 && s[i + w] == L) ++w;
        f.states[i] = 2;
        f.marks[i + static_cast<std::size_t>(std::nearbyint(w / 2.0 + 0.49))] = 20;
        ++f.peaks;
      }
      if (f.states[i + 1] == 0) f.states[i + 1] = 1;
      if (f.states[i - 1] == 0) {
        f.states[i - 1] = 1;
        for (std::ptrdiff_t k = static_cast<std::ptrdiff_t>(i) - 2; k >= 0 && s[k] == s[i - 1];
             --k) {
          f.states[k] = 1;
        }
      }
    }
  }
  return f;
}

Found Fast(const Bytes& curve) {
  Found f;
  f.marks.assign(curve.size(), 0xEE);
  f.states.assign(curve.size(), 0xEE);
  f.peaks = DetectPeaks(curve, f.marks, f.states);
  return f;
}

std::vector<std::uint32_t> MarkedAt(const Bytes& marks) {
  std::vector<std::uint32_t> at;
  for (std::uint32_t i = 0; i < marks.size(); ++i) {
    if (marks[i] != 0) at.push_back(i);
  }
  return at;
}

// Curves of every kind the detector meets: sample i of n, with a noise source.
using Shape = int (*)(std::size_t i, std::size_t n, std::mt19937& rng);
const std::pair<const char*, Shape> kShapes[] = {
    {"noise", [](std::size_t, std::size_t, std::mt19937& r) { return int(r() % 256); }},
    {"plateaus at random levels",
     [](std::size_t i, std::size_t, std::mt19937&) {
       return int((i / 37 * 2654435761u) >> 8 & 255);
     }},
    {"stairs", [](std::size_t i, std::size_t, std::mt19937&) { return int(i / 7 % 40 * 6); }},
    {"fringes",
     [](std::size_t i, std::size_t, std::mt19937& r) {
       return std::clamp(int(128 + 110 * std::cos(i / 6.3)) + int(r() % 19) - 9, 0, 255);
     }},
    {"ramp up", [](std::size_t i, std::size_t n, std::mt19937&) { return int(i * 255 / n); }},
    {"ramp down",
     [](std::size_t i, std::size_t n, std::mt19937&) { return int(255 - i * 255 / n); }},
    {"saw", [](std::size_t i, std::size_t, std::mt19937&) { return int(i % 50 * 5); }},
    {"flat", [](std::size_t, std::size_t, std::mt19937&) { return 200; }},
    {"square", [](std::size_t i, std::size_t, std::mt19937&) { return i / 25 % 2 ? 230 : 20; }},
};

TEST(DetectPeaks, SameMarksStatesAndCountAsTheLiteralAlgorithm) {
  std::mt19937 rng(11);
  for (const auto& [name, shape] : kShapes) {
    for (std::size_t n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 13, 100, 2048, 32769}) {
      for (int trial = 0; trial < (n < 20 ? 20 : 1); ++trial) {
        Bytes curve(n);
        for (std::size_t i = 0; i < n; ++i) curve[i] = static_cast<std::uint8_t>(shape(i, n, rng));
        const Found expected = Literal(curve);
        const Found got = Fast(curve);
        ASSERT_EQ(got.peaks, expected.peaks) << name << " n=" << n;
        ASSERT_EQ(got.marks, expected.marks) << name << " n=" << n;
        ASSERT_EQ(got.states, expected.states) << name << " n=" << n;
      }
    }
  }
}

TEST(DetectPeaks, LongestSeriesOnPagedArraysLeavesTheCurveUnchanged) {
  const std::uint32_t n = 163840;
  std::mt19937 rng(3);
  Bytes curve(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    curve[i] = static_cast<std::uint8_t>(
        std::clamp(static_cast<int>(128 + 100 * std::sin(i / 9.7) + 20 * std::sin(i / 1.3)) +
                       static_cast<int>(rng() % 7) - 3,
                   0, 255));
  }
  TLargeTab series(5), marks(5), states(5);
  for (std::uint32_t i = 0; i < n; ++i) series.SetValue(i, curve[i]);
  const Found expected = Literal(curve);
  EXPECT_EQ(DetectPeaks(series, n, marks, &states), expected.peaks);
  for (std::uint32_t i = 0; i < n; ++i) {
    ASSERT_EQ(marks.GetValue(i), expected.marks[i]) << i;
    ASSERT_EQ(states.GetValue(i), expected.states[i]) << i;
    ASSERT_EQ(series.GetValue(i), curve[i]) << i;
  }
}

// The flooding on curves given as already smoothed.
TEST(FloodPeaks, MarkPlacementAndFloodingRules) {
  const struct {
    const char* what;
    Bytes smoothed;
    std::vector<std::uint32_t> marks;
  } cases[] = {
      {"single top sample at 4: mark at 5", {0, 10, 20, 30, 40, 30, 20, 10, 0}, {5}},
      {"plateau of 4 from 3: mark at 5", {0, 10, 20, 50, 50, 50, 50, 20, 10, 0}, {5}},
      {"plateau of 3 from 2: mark at 4", {0, 10, 50, 50, 50, 20, 0}, {4}},
      {"plateau of 2 from 2: mark at 3", {0, 10, 50, 50, 20, 0}, {3}},
      {"two maxima split by one lower sample", {0, 10, 90, 40, 60, 10, 0}, {3, 5}},
      {"maximum at sample 1 is never a peak", {0, 90, 50, 30, 10, 0}, {}},
      {"a rise to the end tops at n-2, marked at n-1", {0, 10, 20, 30, 40, 50}, {5}},
      {"constant", Bytes(50, 128), {}},
      {"valley: only the right top is a peak", {0, 50, 40, 30, 20, 30, 40, 50, 0}, {8}},
      {"a plateau is not followed past n-2", {0, 10, 20, 80, 80, 80}, {4}},
  };
  for (const auto& c : cases) {
    Bytes marks(c.smoothed.size(), 0xEE);
    const std::uint32_t peaks = FloodPeaks(c.smoothed, marks);
    EXPECT_EQ(MarkedAt(marks), c.marks) << c.what;
    EXPECT_EQ(peaks, c.marks.size()) << c.what;
    for (std::uint32_t i : c.marks) EXPECT_EQ(marks[i], kPeakMark) << c.what;
  }
}

TEST(DetectPeaks, SmoothsFirstSoAOneSampleSpikeOnASlopeIsNoPeak) {
  Bytes curve(60);
  for (std::size_t i = 0; i < curve.size(); ++i)
    curve[i] = static_cast<std::uint8_t>(i < 40 ? 4 * i : 4 * (80 - i));
  curve[20] = 100;  // 20 above the slope
  Bytes marks(curve.size());
  EXPECT_EQ(DetectPeaks(curve, marks), 1u);
  Bytes unsmoothed(curve.size());
  EXPECT_EQ(FloodPeaks(curve, unsmoothed), 2u);
}

}  // namespace
}  // namespace rovanel::signal
