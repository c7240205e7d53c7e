#include "optics/wavelength_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "signal/large_tab.h"

namespace rovanel::optics {
namespace {

using Refs = std::vector<CalPoint>;

// A reference table from its first entries; the rest unused.
CalPoints Table(const Refs& refs) {
  CalPoints t;
  t.fill(CalPoint{-1, 0.0f});
  std::copy(refs.begin(), refs.end(), t.begin());
  return t;
}

LambdaTable Filled(float v) {
  LambdaTable t;
  t.fill(v);
  return t;
}

// ---- Linear method ---------------------------------------------------------

TEST(WavelengthTable, DefaultReferencesGiveTheKnownWavelengths) {
  const LambdaTable start = StartLambdaTab();
  LambdaTable linear = Filled(-1.0f);
  ASSERT_TRUE(FillLinear(DefaultCalPoints(), linear));
  struct Case {
    int pixel;
    float nm;
  };
  for (const Case c : {Case{0, 350.0f},
                       {200, 450.0f},
                       {300, 500.0f},
                       {400, 550.0f},
                       {600, 575.0f},
                       {800, 600.0f},
                       {1000, 650.0f},
                       {1200, 700.0f},
                       {1300, 750.0f},
                       {1400, 800.0f},
                       {2047, 1123.5f}}) {
    SCOPED_TRACE(c.pixel);
    EXPECT_EQ(start[c.pixel], c.nm);
    EXPECT_EQ(linear[c.pixel], c.nm);
  }
}

TEST(WavelengthTable, DefaultTableHoldsSixReferencesAndThreeUnused) {
  const CalPoints d = DefaultCalPoints();
  EXPECT_EQ(d[0], (CalPoint{200, 450.0f}));
  EXPECT_EQ(d[5], (CalPoint{1400, 800.0f}));
  for (int k = 6; k < kCalPointCount; ++k) EXPECT_EQ(d[k], (CalPoint{-1, 0.0f}));
}

// Worked cases by hand: order of entry, unused entries, equal pixels.
TEST(WavelengthTable, LinearWorkedCases) {
  struct Case {
    const char* name;
    Refs refs;
    std::vector<std::pair<int, float>> expect;
  };
  const std::vector<Case> cases = {
      {"two references, entered backwards",
       {{1000, 700.0f}, {0, 400.0f}},
       {{0, 400.0f}, {500, 550.0f}, {1000, 700.0f}, {2047, 1014.1f}}},
      {"unused entries between, a pixel without wavelength is unused",
       {{-1, 0.0f}, {100, 500.0f}, {700, 0.0f}, {300, 600.0f}},
       {{0, 450.0f}, {100, 500.0f}, {200, 550.0f}, {700, 800.0f}}},
      {"two references on one pixel: slope 1.0 up to it",
       {{500, 600.0f}, {500, 620.0f}, {1000, 720.0f}},
       {{0, 100.0f}, {499, 599.0f}, {500, 620.0f}, {750, 670.0f}, {2047, 929.4f}}},
      {"the same pair in the other order keeps its order",
       {{500, 620.0f}, {500, 600.0f}, {1000, 720.0f}},
       {{0, 120.0f}, {499, 619.0f}, {500, 600.0f}, {750, 660.0f}}},
      {"entries 7 to 9 are not read",
       {{0, 400.0f},
        {1000, 500.0f},
        {-1, 0.0f},
        {-1, 0.0f},
        {-1, 0.0f},
        {-1, 0.0f},
        {2000, 900.0f},
        {1500, 900.0f},
        {1800, 100.0f}},
       {{1500, 550.0f}, {2000, 600.0f}}},
      {"falling table", {{0, 800.0f}, {2047, 400.0f}}, {{0, 800.0f}, {2047, 400.0f}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LambdaTable t = Filled(-1.0f);
    ASSERT_TRUE(FillLinear(Table(c.refs), t));
    for (const auto& [pixel, nm] : c.expect) EXPECT_NEAR(t[pixel], nm, 2e-4f) << pixel;
  }
}

// The linear method pixel by pixel: the line of the last pair that starts at
// or below the pixel (the first pair reaching down to pixel 0).
LambdaTable LinearOracle(const CalPoints& points) {
  std::vector<CalPoint> used;
  for (int k = 0; k < kLinearCalPoints; ++k) {
    if (points[k].lambda != 0.0f && points[k].pixel != -1) used.push_back(points[k]);
  }
  std::stable_sort(used.begin(), used.end(),
                   [](const CalPoint& a, const CalPoint& b) { return a.pixel < b.pixel; });
  LambdaTable t{};
  for (int i = 0; i < kPixels; ++i) {
    std::size_t k = 0;
    for (std::size_t j = 1; j + 1 < used.size(); ++j) {
      if (used[j].pixel <= i) k = j;
    }
    const CalPoint a = used[k], b = used[k + 1];
    const double slope =
        a.pixel == b.pixel ? 1.0 : (double{b.lambda} - a.lambda) / (b.pixel - a.pixel);
    t[i] = static_cast<float>(a.lambda + (i - a.pixel) * slope);
  }
  return t;
}

TEST(WavelengthTable, LinearMatchesPixelByPixelOracleOnRandomReferences) {
  std::mt19937 rng(6202);
  std::uniform_int_distribution<int> pixel(0, kPixels - 1), used(0, 3);
  std::uniform_real_distribution<float> nm(300.0f, 1100.0f);
  for (int trial = 0; trial < 200; ++trial) {
    CalPoints p = Table({});
    int n = 0;
    for (int k = 0; k < kLinearCalPoints; ++k) {
      if (used(rng) == 0) continue;  // about one entry in four unused
      p[k] = {pixel(rng), nm(rng)};
      ++n;
    }
    if (trial % 10 == 0 && p[0].lambda != 0.0f && p[1].lambda != 0.0f) {
      p[1].pixel = p[0].pixel;  // a shared pixel now and then
    }
    LambdaTable t = Filled(-1.0f);
    const bool ok = FillLinear(p, t);
    ASSERT_EQ(ok, n >= 2) << trial;
    if (!ok) continue;
    const LambdaTable want = LinearOracle(p);
    for (int i = 0; i < kPixels; ++i) {
      ASSERT_NEAR(t[i], want[i], 1e-4 * std::abs(want[i]) + 1e-3)
          << "trial " << trial << " px " << i;
    }
  }
}

// ---- Too few references ----------------------------------------------------

TEST(WavelengthTable, FewerThanTwoReferencesLeaveTheTableAndFallBack) {
  const std::vector<Refs> cases = {
      {},
      {{700, 600.0f}},
      {{700, 600.0f}, {900, 0.0f}},
      {{-1, 500.0f}, {300, 600.0f}},  // pixel -1: unused although it has a wavelength
      {{-1, 0.0f}, {-1, 0.0f}, {-1, 0.0f}, {-1, 0.0f}, {-1, 0.0f}, {2, 500.0f}},
  };
  const LambdaTable start = StartLambdaTab();
  for (std::size_t c = 0; c < cases.size(); ++c) {
    SCOPED_TRACE(c);
    const CalPoints p = Table(cases[c]);
    LambdaTable t = Filled(42.0f);
    EXPECT_FALSE(FillLinear(p, t));
    EXPECT_FALSE(FillSpline(p, t));
    EXPECT_EQ(t, Filled(42.0f));
    for (const std::int32_t kind : {kLinearKind, kSplineKind, 7}) {
      LambdaTable r = Filled(42.0f);
      CalibrationCurve(p, kind, r);
      EXPECT_EQ(r, start) << "kind " << kind;
    }
  }
}

TEST(WavelengthTable, CalibrationCurveChoosesTheMethodByKind) {
  const CalPoints p = Table({{100, 420.0f}, {900, 610.0f}, {1500, 690.0f}, {1900, 880.0f}});
  LambdaTable linear = Filled(0.0f), spline = Filled(0.0f), viaLinear = Filled(0.0f),
              viaSpline = Filled(0.0f), viaOther = Filled(0.0f);
  ASSERT_TRUE(FillLinear(p, linear));
  ASSERT_TRUE(FillSpline(p, spline));
  CalibrationCurve(p, kLinearKind, viaLinear);
  CalibrationCurve(p, kSplineKind, viaSpline);
  CalibrationCurve(p, 2, viaOther);
  EXPECT_EQ(viaLinear, linear);
  EXPECT_EQ(viaSpline, spline);
  EXPECT_EQ(viaOther, linear);
  EXPECT_NE(linear, spline);
}

// ---- Spline ----------------------------------------------------------------

TEST(WavelengthTable, SplineSequenceAndWorkTable) {
  const std::array<float, kSplineSequenceLength> want{0, -1, 4, -15, 56, -209, 780, -2911, 10864};
  EXPECT_EQ(SplineSequence(), want);
  signal::TDblTab tab(2);
  tab.SetComplex(kSplineSequenceLength, 7.0f, 8.0f);
  FillSplineTab(tab);
  for (int n = 0; n < kSplineSequenceLength; ++n) {
    float re = 1, im = 1;
    tab.GetComplex(n, re, im);
    EXPECT_EQ(re, want[n]) << n;
    EXPECT_EQ(im, 0.0f) << n;
  }
  float re = 0, im = 0;
  tab.GetComplex(kSplineSequenceLength, re, im);
  EXPECT_EQ(re, 7.0f);  // cells after the sequence untouched
}

// Natural spline moments by Gaussian elimination on the dense system.
std::vector<double> DenseMoments(const std::vector<double>& y) {
  const std::size_t n = y.size();
  std::vector<double> m(n, 0.0);
  if (n < 3) return m;
  const std::size_t u = n - 2;  // unknowns M[1..n-2]
  std::vector<std::vector<double>> a(u, std::vector<double>(u + 1, 0.0));
  for (std::size_t r = 0; r < u; ++r) {
    const std::size_t k = r + 1;
    if (r > 0) a[r][r - 1] = 1;
    a[r][r] = 4;
    if (r + 1 < u) a[r][r + 1] = 1;
    a[r][u] = 6 * (y[k + 1] - 2 * y[k] + y[k - 1]);
  }
  for (std::size_t c = 0; c < u; ++c) {
    for (std::size_t r = c + 1; r < u; ++r) {
      const double f = a[r][c] / a[c][c];
      for (std::size_t j = c; j <= u; ++j) a[r][j] -= f * a[c][j];
    }
  }
  for (std::size_t r = u; r-- > 0;) {
    double s = a[r][u];
    for (std::size_t j = r + 1; j < u; ++j) s -= a[r][j] * m[j + 1];
    m[r + 1] = s / a[r][r];
  }
  return m;
}

TEST(WavelengthTable, SplineMomentsSolveTheTridiagonalSystem) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> v(-2000.0, 2000.0);
  for (std::size_t n = 0; n <= 9; ++n) {
    for (int trial = 0; trial < 20; ++trial) {
      std::vector<double> y(n);
      for (double& e : y) e = v(rng);
      const std::vector<double> got = NaturalSplineMoments(y);
      const std::vector<double> want = DenseMoments(y);
      ASSERT_EQ(got.size(), n);
      for (std::size_t k = 0; k < n; ++k) {
        EXPECT_NEAR(got[k], want[k], 1e-9 * (1 + std::abs(want[k]))) << n << " " << k;
      }
    }
  }
}

// The spline method step by step, with the dense solve above.
LambdaTable SplineOracle(const CalPoints& points, LambdaTable t) {
  std::vector<CalPoint> p(points.begin(), points.begin() + kSplineCalPoints);
  for (CalPoint& e : p) {
    if (e.lambda == 0.0f) e.pixel = -1;
    if (e.pixel < 0) e.pixel = 3000;
  }
  std::stable_sort(p.begin(), p.end(),
                   [](const CalPoint& a, const CalPoint& b) { return a.pixel < b.pixel; });
  std::size_t count = 0;
  while (count < p.size() && p[count].pixel != 3000) ++count;
  std::vector<double> x{double(p[0].pixel)}, l{double(p[0].lambda)};
  for (std::size_t k = 0; k < count; ++k) {
    x.push_back(p[k].pixel);
    l.push_back(p[k].lambda);
  }
  x.push_back(x.back());
  l.push_back(l.back());
  const std::vector<double> mx = DenseMoments(x), ml = DenseMoments(l);
  const auto at = [](const std::vector<double>& y, const std::vector<double>& m, std::size_t k,
                     double s) {
    return (1 - s) * y[k - 1] + s * y[k] - s * (1 - s) * ((2 - s) * m[k - 1] + (1 + s) * m[k]) / 6;
  };
  for (std::size_t k = 1; k < x.size(); ++k) {
    const int d = static_cast<int>(std::nearbyint(x[k] - x[k - 1]));
    const int steps = std::max(8 * d, 1);
    int i = 0;
    for (int j = 0; j <= d; ++j) {
      const int pix = static_cast<int>(x[k - 1]) + j;
      do {
        ++i;
      } while (std::nearbyint(at(x, mx, k, double(i) / steps)) != pix && i < steps);
      // The wavelength where the pixel coordinate reaches the pixel: found
      // by bisection between the samples around it.
      double s = double(i) / steps;
      const auto bisect = [&](double lo, double hi) {
        for (int b = 0; b < 60; ++b) (at(x, mx, k, (lo + hi) / 2) < pix ? lo : hi) = (lo + hi) / 2;
        return (lo + hi) / 2;
      };
      if (at(x, mx, k, s) > pix && i > 0 && at(x, mx, k, double(i - 1) / steps) <= pix) {
        s = bisect(double(i - 1) / steps, s);
      } else if (at(x, mx, k, s) < pix) {
        int n = i;
        while (n < steps && at(x, mx, k, double(n + 1) / steps) < pix) ++n;
        s = double(n) / steps;
        if (n < steps) s = bisect(s, double(n + 1) / steps);
      }
      t[pix] = static_cast<float>(at(l, ml, k, s));
    }
  }
  const int p1 = p[0].pixel, pl = p[count - 1].pixel;
  if (p1 > 0) {
    const double slope = (double{t[p1 + 5]} - t[p1]) / 5;
    for (int i = 0; i < p1; ++i) t[i] = static_cast<float>(t[p1] + (i - p1) * slope);
  }
  if (pl < kPixels - 1) {
    const double slope = (double{t[pl]} - t[pl - 5]) / 5;
    for (int i = pl; i < kPixels; ++i) t[i] = static_cast<float>(t[pl] + (i - pl) * slope);
  }
  return t;
}

TEST(WavelengthTable, SplineMatchesStepByStepOracle) {
  struct Case {
    const char* name;
    Refs refs;
  };
  const std::vector<Case> cases = {
      {"default references", {}},
      {"two references", {{300, 450.0f}, {1700, 750.0f}}},
      {"three, unsorted, with gaps",
       {{1500, 700.0f}, {-1, 0.0f}, {250, 420.0f}, {900, 0.0f}, {800, 560.0f}}},
      {"whole sensor, no extension", {{0, 380.0f}, {700, 500.0f}, {1400, 650.0f}, {2047, 900.0f}}},
      {"seventh entry is read",
       {{100, 400.0f}, {-1, 0.0f}, {-1, 0.0f}, {-1, 0.0f}, {-1, 0.0f}, {-1, 0.0f}, {1900, 820.0f}}},
      {"bent, close references",
       {{400, 480.0f},
        {430, 500.0f},
        {600, 520.0f},
        {1100, 640.0f},
        {1180, 700.0f},
        {1800, 720.0f}}},
      {"falling", {{200, 800.0f}, {1000, 600.0f}, {1800, 420.0f}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CalPoints p = c.refs.empty() ? DefaultCalPoints() : Table(c.refs);
    LambdaTable t = Filled(-5.0f);
    ASSERT_TRUE(FillSpline(p, t));
    const LambdaTable want = SplineOracle(p, Filled(-5.0f));
    for (int i = 0; i < kPixels; ++i) ASSERT_NEAR(t[i], want[i], 2e-3) << "px " << i;
  }
}

TEST(WavelengthTable, SplineWorkedCases) {
  // Two references: both coordinates are the same spline up to scale, so
  // the curve is the straight line; between the references each pixel takes
  // a point of it less than half a pixel away (0.25 nm per pixel here).
  LambdaTable t = Filled(0.0f);
  ASSERT_TRUE(FillSpline(Table({{400, 500.0f}, {1600, 800.0f}}), t));
  for (const int i : {400, 401, 405, 777, 1000, 1595, 1599, 1600}) {
    EXPECT_NEAR(t[i], 400.0 + 0.25 * i, 0.5 * 0.25) << i;
  }
  EXPECT_EQ(t[1600], 800.0f);  // the last reference pixel takes its wavelength exactly
  // Each pixel takes the wavelength where the curve reaches it (not the
  // first sample rounding to it, half a pixel short), so the line comes out
  // straight, and so do its extensions.
  for (int i = 0; i < kPixels; ++i) ASSERT_NEAR(t[i], 400.0 + 0.25 * i, 2e-3) << i;
  // Beyond them, straight lines along the table's first and last 5 pixels.
  struct End {
    int from, to, far;
  };
  for (const End e : {End{400, 405, 0}, End{1600, 1595, 2047}}) {
    const double slope = (double{t[e.to]} - t[e.from]) / (e.to - e.from);
    EXPECT_NEAR(slope, 0.25, 0.04) << e.from;
    EXPECT_NEAR(t[e.far], t[e.from] + (e.far - e.from) * slope, 1e-3) << e.far;
    const int mid = (e.far + e.from) / 2;
    EXPECT_NEAR(t[mid], t[e.from] + (mid - e.from) * slope, 1e-3) << mid;
  }

  // The default references: through every reference, rising.
  t = Filled(0.0f);
  ASSERT_TRUE(FillSpline(DefaultCalPoints(), t));
  for (const CalPoint& r : DefaultCalPoints()) {
    if (r.pixel >= 0) {
      EXPECT_NEAR(t[r.pixel], r.lambda, 0.5) << r.pixel;
    }
  }
  EXPECT_EQ(t[1400], 800.0f);
  for (int i = 1; i < kPixels; ++i) ASSERT_GT(t[i], t[i - 1]) << i;
}

TEST(WavelengthTable, SplineDoesNotReadStaleValuesWhenReferencesAreClose) {
  // References 3 pixels apart: the end slopes are taken over those pixels
  // only, so the result does not depend on what the table held before.
  const CalPoints p = Table({{1000, 600.0f}, {1003, 610.0f}});
  LambdaTable a = Filled(0.0f), b = Filled(1e6f);
  ASSERT_TRUE(FillSpline(p, a));
  ASSERT_TRUE(FillSpline(p, b));
  EXPECT_EQ(a, b);
  for (int i = 1; i < kPixels; ++i) ASSERT_GT(a[i], a[i - 1]) << i;
  EXPECT_EQ(a[1003], 610.0f);
}

TEST(WavelengthTable, PixelsTheSplineSkipsGoStraightToTheSegmentsEnd) {
  // Ten pixels then 1890: on the short segment the pixel coordinate swings
  // out below pixel 0 and comes back in jumps of several pixels, skipping
  // 101..109. They go straight from 400 to 410 instead of all taking 410,
  // and nothing is sampled past the segment's end.
  LambdaTable t = Filled(0.0f);
  ASSERT_TRUE(FillSpline(Table({{100, 400.0f}, {110, 410.0f}, {2000, 900.0f}}), t));
  for (int i = 100; i <= 110; ++i) EXPECT_NEAR(t[i], 300.0 + i, 0.05) << i;
  EXPECT_GT(t[111], 410.0f);
  // Mercury lines through a grating (pixels of 404.656, 435.833, 576.960,
  // 579.066 nm): the short last segment used to give its start, a
  // reference pixel, the wavelength of its end, 2 nm off.
  ASSERT_TRUE(
      FillSpline(Table({{28, 404.656f}, {237, 435.833f}, {1191, 576.960f}, {1205, 579.066f}}), t));
  EXPECT_NEAR(t[1191], 576.960, 0.01);
  EXPECT_NEAR(t[1198], (576.960 + 579.066) / 2, 0.2);
  for (int i = 1; i < kPixels; ++i) ASSERT_GT(t[i], t[i - 1]) << i;
}

TEST(WavelengthTable, ReferencesOutsideTheSensorWriteNothingOutside) {
  // A reference beyond the last pixel (from a file): the pixels it does reach
  // are filled and the rest of the table stays finite.
  const CalPoints p = Table({{500, 500.0f}, {1500, 700.0f}, {2500, 900.0f}});
  for (const std::int32_t kind : {kLinearKind, kSplineKind}) {
    LambdaTable t = Filled(0.0f);
    CalibrationCurve(p, kind, t);
    EXPECT_NEAR(t[1000], 600.0f, 1.0f) << kind;
    EXPECT_NEAR(t[2047], 809.4f, 2.0f) << kind;
    for (const float v : t) ASSERT_TRUE(std::isfinite(v) && v > 300.0f) << kind;
  }
}

}  // namespace
}  // namespace rovanel::optics
