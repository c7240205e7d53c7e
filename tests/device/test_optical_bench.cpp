#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "device/sim/optical_bench.h"

namespace rovanel::device::sim {
namespace {

using Frame = std::array<std::uint8_t, 2048>;

constexpr double kCentre = 1023.5;

Frame Take(OpticalBench& bench, double ms) {
  Frame f{};
  bench.Frame(ms, f.data());
  return f;
}

// Middle of the run of lowest levels in pixels [lo, hi].
double MinimumAt(const Frame& f, int lo, int hi) {
  const auto m = *std::min_element(f.begin() + lo, f.begin() + hi + 1);
  int first = -1, last = -1;
  for (int i = lo; i <= hi; ++i) {
    if (f[i] == m) {
      if (first < 0) first = i;
      last = i;
    }
  }
  return (first + last) / 2.0;
}

double StdDev(const std::vector<double>& v) {
  double mean = 0;
  for (double x : v) mean += x;
  mean /= static_cast<double>(v.size());
  double ss = 0;
  for (double x : v) ss += (x - mean) * (x - mean);
  return std::sqrt(ss / static_cast<double>(v.size() - 1));
}

TEST(OpticalBenchScenes, Names) {
  EXPECT_EQ(SceneFromName("slit"), Scene::Slit);
  EXPECT_EQ(SceneFromName("slits"), Scene::TwoSlits);
  EXPECT_EQ(SceneFromName("lamp"), Scene::Lamp);
  EXPECT_EQ(SceneFromName("michelson"), Scene::Michelson);
  EXPECT_EQ(SceneFromName("dark"), Scene::Dark);
  EXPECT_FALSE(SceneFromName("Slit").has_value());
  EXPECT_FALSE(SceneFromName("").has_value());
  const auto names = SceneNames();
  ASSERT_EQ(names.size(), 5u);
  for (auto n : names) EXPECT_EQ(SceneName(*SceneFromName(n)), n);
}

TEST(OpticalBenchProfiles, SlitMinimaAtLambdaLOverA) {
  OpticalBench bench(Scene::Slit);
  bench.NoiseSigma = 0;
  // A long exposure sharpens the minima (the centre clips, which is fine).
  const Frame f = Take(bench, 100.0);
  // 632.8 nm * 1 m / 0.2 mm = 3.164 mm = 226.0 pixels of 14 um.
  const double step = 632.8e-9 * 1.0 / 0.2e-3 / 14e-6;
  for (int order = 1; order <= 4; ++order) {
    const double right = kCentre + order * step;
    const double left = kCentre - order * step;
    if (right < 2040) {
      EXPECT_NEAR(MinimumAt(f, int(right) - 60, int(right) + 60), right, 2.0) << order;
      EXPECT_NEAR(MinimumAt(f, int(left) - 60, int(left) + 60), left, 2.0) << order;
    }
  }
  // Several orders: the first secondary maximum (4.72 % of the centre at
  // 1.43 lambda L / a) stands well above the dark level.
  const Frame g = Take(bench, 10.0);
  const int side = static_cast<int>(std::lround(kCentre + 1.4303 * step));
  EXPECT_NEAR(g[side], 10 + 190 * 0.04719, 1.0);
}

TEST(OpticalBenchProfiles, TwoSlitFringes) {
  OpticalBench bench(Scene::TwoSlits);
  bench.NoiseSigma = 0;
  const Frame f = Take(bench, 100.0);
  // cos^2 fringes of period lambda L / d = 75.33 px, dark halfway between.
  const double period = 632.8e-9 * 1.0 / 0.6e-3 / 14e-6;
  for (int k = 0; k < 2; ++k) {
    const double x = kCentre + (k + 0.5) * period;
    EXPECT_NEAR(MinimumAt(f, int(x) - 20, int(x) + 20), x, 2.0) << k;
  }
  // Bright fringe at one period from the centre, under the sinc^2 envelope:
  // u = a / d = 1/3 gives sinc^2 = 0.684.
  OpticalBench ten(Scene::TwoSlits);
  ten.NoiseSigma = 0;
  const Frame g = Take(ten, 10.0);
  EXPECT_NEAR(g[static_cast<int>(std::lround(kCentre + period))], 10 + 190 * 0.6839, 1.5);
  // The third fringe falls on the envelope's first zero (d = 3 a).
  EXPECT_LE(g[static_cast<int>(std::lround(kCentre + 3 * period))], 11);
}

// Where a wavelength lands through a grating, by hand: sin β = m λ G - sin α,
// pixel = 1023.5 + f tan(β - β0) / 14 µm.
double GratingPixel(double nm, double linesPerMm, double incidenceDeg, double axisDeg, int order) {
  constexpr double kDeg = 3.141592653589793 / 180.0;
  const double beta = std::asin(order * nm * 1e-6 * linesPerMm - std::sin(incidenceDeg * kDeg));
  return kCentre + 150.0 * std::tan(beta - axisDeg * kDeg) / 0.014;
}

// Centroid of the light above the dark level (10) over pixels [lo, hi].
double CentroidAt(const Frame& f, int lo, int hi) {
  double sum = 0, moment = 0;
  for (int i = lo; i <= hi; ++i) {
    sum += f[i] - 10.0;
    moment += i * (f[i] - 10.0);
  }
  return moment / sum;
}

TEST(OpticalBenchProfiles, LampLinesWhereTheGratingPutsThem) {
  OpticalBench bench(Scene::Lamp);
  bench.NoiseSigma = 0;
  bench.LampGrating = GratingGeometry{};
  const Frame f = Take(bench, 10.0);
  // 600 lines/mm, lens axis at 19.36°: 435.833 nm (strongest) at pixel
  // 236.52, 546.074 nm at 979.72, 491.607 nm at 611.04.
  const auto top = std::max_element(f.begin(), f.end()) - f.begin();
  EXPECT_EQ(top, 237);
  // 0.48 pixel off the line's centre, 3 pixels wide: 10 + 190 exp(-0.5 (0.48 / 3)^2).
  EXPECT_EQ(f[237], 198);
  EXPECT_NEAR(CentroidAt(f, 226, 247), 236.52, 0.05);
  const auto green = std::max_element(f.begin() + 900, f.begin() + 1100) - f.begin();
  EXPECT_EQ(green, 980);
  EXPECT_NEAR(CentroidAt(f, 969, 990), 979.72, 0.05);
  EXPECT_LT(f[green], f[top]);
  EXPECT_GT(f[green], 100);
  EXPECT_NEAR(CentroidAt(f, 600, 622), 611.04, 0.05);
  // Between lines: dark.
  EXPECT_EQ(f[800], 10);
  EXPECT_EQ(f[2000], 10);
}

TEST(OpticalBenchProfiles, LampFollowsTheGratingGeometry) {
  struct Case {
    const char* what;
    GratingGeometry geometry;
    double nm;  // a line that stands alone on the sensor
  };
  const std::vector<Case> cases = {
      {"lens axis turned to 20°", {600.0, 0.0, 150.0, 20.0, 1}, 435.833},
      {"1200 lines/mm at 10° incidence", {1200.0, 10.0, 150.0, 30.0, 1}, 546.074},
      // The yellow pair has no third order (sin β > 1): those lines are
      // left out, the others stay.
      {"third order", {600.0, 0.0, 150.0, 62.0, 3}, 491.607},
  };
  OpticalBench bench(Scene::Lamp);
  bench.NoiseSigma = 0;
  Take(bench, 10.0);  // the default geometry's profile, now cached
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bench.LampGrating = c.geometry;
    const GratingGeometry& g = c.geometry;
    const double px = GratingPixel(c.nm, g.linesPerMm, g.incidenceDeg, g.axisDeg, g.order);
    ASSERT_GT(px, 20);
    ASSERT_LT(px, 2027);
    const Frame f = Take(bench, 10.0);
    const int at = static_cast<int>(std::lround(px));
    EXPECT_GT(f[at], 20);
    EXPECT_NEAR(CentroidAt(f, at - 10, at + 10), px, 0.05);
    for (int i = 0; i < 2048; ++i) ASSERT_TRUE(std::isfinite(bench.Light(i, 0.0))) << i;
  }
}

TEST(OpticalBenchLevels, DarkPeakLinearityAndClipping) {
  OpticalBench bench(Scene::Slit);
  bench.NoiseSigma = 0;
  const Frame f10 = Take(bench, 10.0);
  const Frame f5 = Take(bench, 5.0);
  const Frame f20 = Take(bench, 20.0);
  const Frame f200 = Take(bench, 200.0);
  // Peak about 200 at 10 ms.
  const int peak = *std::max_element(f10.begin(), f10.end());
  EXPECT_GE(peak, 190);
  EXPECT_LE(peak, 210);
  // Above the dark level, light grows with the integration time.
  int checked = 0;
  for (int i = 0; i < 2048; ++i) {
    const double l10 = f10[i] - 10.0;
    if (l10 < 20 || l10 > 115) continue;  // 20 ms must stay below 255
    EXPECT_NEAR(f5[i] - 10.0, l10 / 2, 1.0) << i;
    EXPECT_NEAR(f20[i] - 10.0, l10 * 2, 1.5) << i;  // each level rounded
    ++checked;
  }
  EXPECT_GT(checked, 100);
  // A long exposure clips at 255, it does not wrap.
  EXPECT_EQ(f200[1023], 255);
  EXPECT_EQ(f200[1024], 255);
  for (int i = 0; i < 2048; ++i) {
    if (f10[i] > 30) {
      ASSERT_EQ(f200[i], 255) << i;
    }
  }

  bench.SetScene(Scene::Dark);
  for (double ms : {10.0, 47.5, 500.0}) {
    const Frame d = Take(bench, ms);
    EXPECT_TRUE(std::all_of(d.begin(), d.end(), [](std::uint8_t v) { return v == 10; })) << ms;
  }
}

TEST(OpticalBenchNoise, IndependentPerFrameAndAveragesDown) {
  OpticalBench bench(Scene::Slit, 7);
  // Differences of frames cancel the profile and leave the noise.
  std::vector<Frame> frames;
  for (int k = 0; k < 8; ++k) frames.push_back(Take(bench, 10.0));
  std::vector<double> single, mean4;
  for (int i = 0; i < 2048; ++i) {
    single.push_back(double(frames[0][i]) - frames[1][i]);
    double a = 0, b = 0;
    for (int k = 0; k < 4; ++k) {
      a += frames[k][i];
      b += frames[4 + k][i];
    }
    mean4.push_back((a - b) / 4);
  }
  const double sigma = StdDev(single) / std::sqrt(2.0);
  EXPECT_NEAR(sigma, 2.5, 0.3);  // sigma 2.5 plus the rounding to levels
  EXPECT_NEAR(StdDev(mean4) / StdDev(single), 0.5, 0.06);

  // Deterministic: the same seed gives the same frames, another seed others.
  OpticalBench same(Scene::Slit, 7), other(Scene::Slit, 8);
  EXPECT_EQ(Take(same, 10.0), frames[0]);
  EXPECT_NE(Take(other, 10.0), frames[0]);
  same.Reseed(7);
  EXPECT_EQ(Take(same, 10.0), frames[0]);
}

TEST(OpticalBenchSeries, MichelsonFringeCount) {
  OpticalBench bench(Scene::Michelson);
  bench.NoiseSigma = 0;
  const double ms = 10.0;
  const std::size_t n = 2048;  // 20.48 s
  std::vector<std::uint8_t> s(n);
  bench.Series(ms, n, s.data());
  EXPECT_NEAR(bench.TimeS(), 20.48, 1e-9);

  // Fringes passed: the phase / 2 pi, with the rate 3 Hz swinging by 15 %
  // over 40 s: 3 (T + 0.15 (1 - cos(w T)) / w), w = 2 pi / 40.
  const double T = 20.48, w = 2 * 3.141592653589793 / 40;
  const double expected = 3 * (T + 0.15 * (1 - std::cos(w * T)) / w);
  // Count rising crossings of mid-level with some hysteresis.
  const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
  const double mid = (*lo + *hi) / 2.0, band = (*hi - *lo) / 6.0;
  int crossings = 0;
  bool low = s[0] < mid;
  for (std::uint8_t v : s) {
    if (low && v > mid + band) {
      ++crossings;
      low = false;
    } else if (!low && v < mid - band) {
      low = true;
    }
  }
  EXPECT_NEAR(crossings, expected, 1.5);
  // Contrast: clear fringes within the 0..255 range.
  EXPECT_GT(*hi - *lo, 100);
  EXPECT_LT(*hi, 255);
}

TEST(OpticalBenchSeries, OtherScenesAtTheCentre) {
  OpticalBench bench(Scene::Slit);
  bench.NoiseSigma = 0;
  std::vector<std::uint8_t> s(100);
  bench.Series(10.0, s.size(), s.data());
  // The centre of the slit pattern, steady: 10 + 190.
  EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](std::uint8_t v) { return v == 200; }));
  bench.SetScene(Scene::Dark);
  bench.NoiseSigma = 2.5;
  bench.Series(10.0, s.size(), s.data());
  for (std::uint8_t v : s) EXPECT_NEAR(v, 10, 12);
  std::vector<std::uint8_t> d(39);
  bench.Dark(10.0, d.size(), d.data());
  EXPECT_GT(std::count_if(d.begin(), d.end(), [](std::uint8_t v) { return v != 10; }), 0);
}

}  // namespace
}  // namespace rovanel::device::sim
