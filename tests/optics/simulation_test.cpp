#include "optics/simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <limits>
#include <numbers>
#include <vector>

namespace rovanel::optics {
namespace {

constexpr double kPi = std::numbers::pi;

// ---- Independent oracle ------------------------------------------------------
// Fraunhofer amplitude of N slits of width a at spacing d, summed as phasors:
// the slit's own amplitude by a midpoint sum across its width, the slits'
// phases one by one. No sinc and no sin(Nφ)/sin(φ) in sight.
double PhasorIntensity(double a, double lambda, double l, double x, double d, int n) {
  const double s = x / std::sqrt(x * x + l * l);
  const double k = 2.0 * kPi / lambda;
  constexpr int kSteps = 4000;
  std::complex<double> slit = 0.0;
  for (int j = 0; j < kSteps; ++j) {
    const double y = ((j + 0.5) / kSteps - 0.5) * a;
    slit += std::polar(1.0, k * s * y);
  }
  slit /= kSteps;
  std::complex<double> array = 0.0;
  for (int m = 0; m < n; ++m) array += std::polar(1.0, k * s * d * m);
  array /= n;
  return std::norm(slit) * std::norm(array);
}

double Gauss(double w, double x) { return std::exp(-2.0 * x * x / (w * w)); }

double PixelX(int pixel, int shift) { return (pixel - 1024 + shift) * 1.4e-5; }

// ---- Model functions ---------------------------------------------------------

TEST(Simulation, InitialParametersAreTheBenchOfTheWorkedExamples) {
  const SimulationParams p;
  EXPECT_EQ(p.SlitWidth, 1e-4);
  EXPECT_EQ(p.SlitSpacing, 6e-4);
  EXPECT_EQ(p.ScreenDistance, 0.2);
  EXPECT_EQ(p.Wavelength, 6.328e-7);
  EXPECT_EQ(p.SlitCount, 10.0);
  EXPECT_EQ(p.Waist, 1e-3);
  EXPECT_EQ(kStartPage, kPageGaussian);
}

TEST(Simulation, SincAndGratingFactorAtTheirSingularPoints) {
  struct Case {
    const char* name;
    double got;
    double want;
  };
  const double inf = std::numeric_limits<double>::infinity();
  for (const Case& c : std::vector<Case>{
           {"sinc(0)", Sinc(0.0), 1.0},
           {"sinc(-0)", Sinc(-0.0), 1.0},
           {"sinc of a denormal", Sinc(1e-310), 1.0},
           {"sinc(pi/2)", Sinc(kPi / 2), 2.0 / kPi},
           {"sinc(-pi/2)", Sinc(-kPi / 2), 2.0 / kPi},
           {"sinc(inf)", Sinc(inf), 0.0},
           {"grating(0, 10)", GratingFactor(0.0, 10.0), 1.0},
           {"grating(0, 2.5)", GratingFactor(0.0, 2.5), 1.0},
           {"no slits: 0, not 0/0", GratingFactor(1.0, 0.0), 0.0},
           {"no slits at u = 0", GratingFactor(0.0, 0.0), 0.0},
           {"one slit is no grating", GratingFactor(0.7, 1.0), 1.0},
           {"minimum at u = pi/N", GratingFactor(kPi / 10, 10.0), 0.0},
       }) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(std::isnan(c.got));
    EXPECT_NEAR(c.got, c.want, 1e-15);
  }
}

// The ratio sin(Nφ)/sin(φ) reaches N² (squared) at every principal maximum
// φ = kπ, where the quotient is 0/0; and it is continuous around them.
TEST(Simulation, GratingPrincipalMaximaAreNSquared) {
  for (const int n : {2, 3, 7, 10, 25}) {
    for (int k = 0; k <= 40; ++k) {
      for (const double delta : {0.0, 1e-15, -1e-12, 1e-9, 1e-7, -1e-5}) {
        SCOPED_TRACE(::testing::Message() << "N " << n << " k " << k << " delta " << delta);
        const double u = k * kPi + delta;
        const double ratio = n * GratingFactor(u, n);
        // Oracle: |Σ e^{2imu}|² = (sin Nu / sin u)², as a phasor sum.
        std::complex<double> sum = 0.0;
        for (int m = 0; m < n; ++m) sum += std::polar(1.0, 2.0 * delta * m);
        EXPECT_NEAR(ratio * ratio, std::norm(sum), 1e-6 * n * n);
        if (delta == 0.0) {
          EXPECT_NEAR(ratio * ratio, n * n, 1e-9 * n * n);
        }
      }
    }
  }
}

// ---- Intensity against the phasor oracle ----------------------------------

TEST(Simulation, SlitModelsMatchThePhasorSum) {
  struct Case {
    const char* name;
    int page;
    int slits;  // of the oracle
    double a, lambda, l, d, n;
  };
  const std::vector<Case> cases = {
      {"one slit, the worked bench", kPageOneSlit, 1, 1e-4, 6.328e-7, 0.2, 6e-4, 10},
      {"one slit, wide and violet", kPageOneSlit, 1, 3e-4, 4.05e-7, 0.5, 6e-4, 10},
      {"two slits", kPageTwoSlits, 2, 1e-4, 6.328e-7, 0.2, 6e-4, 10},
      {"two slits, close", kPageTwoSlits, 2, 5e-5, 5.32e-7, 1.0, 2e-4, 10},
      {"grating of 10", kPageGrating, 10, 1e-4, 6.328e-7, 0.2, 6e-4, 10},
      {"grating of 3", kPageGrating, 3, 2e-5, 5.5e-7, 0.3, 1e-4, 3},
      {"grating of 2 is two slits", kPageGrating, 2, 1e-4, 6.328e-7, 0.2, 6e-4, 2},
      {"grating of 1 is one slit", kPageGrating, 1, 1e-4, 6.328e-7, 0.2, 6e-4, 1},
      {"a screen closer than the sensor is wide", kPageGrating, 5, 2e-5, 6.328e-7, 0.01, 5e-5, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < 2048; i += 7) {
      const double x = PixelX(i, 0);
      const double want = PhasorIntensity(c.a, c.lambda, c.l, x, c.d, c.slits);
      ASSERT_NEAR(SlitIntensity(c.page, c.a, c.lambda, c.l, x, c.d, c.n), want, 1e-7) << "pixel " << i;
    }
  }
}

TEST(Simulation, DegenerateSlitInputsGiveTheirLimits) {
  struct Case {
    const char* name;
    int page;
    double a, lambda, l, x, d, n;
    double want;
  };
  const std::vector<Case> cases = {
      {"centre of each model", kPageGrating, 1e-4, 6.328e-7, 0.2, 0.0, 6e-4, 10, 1.0},
      {"no wavelength: full light", kPageOneSlit, 1e-4, 0.0, 0.2, 1e-3, 6e-4, 10, 1.0},
      {"no wavelength, two slits", kPageTwoSlits, 1e-4, 0.0, 0.2, 1e-3, 6e-4, 10, 1.0},
      {"no wavelength, grating", kPageGrating, 1e-4, 0.0, 0.2, 1e-3, 6e-4, 10, 1.0},
      {"x and L zero", kPageTwoSlits, 1e-4, 6.328e-7, 0.0, 0.0, 6e-4, 10, 1.0},
      {"zero-width slit", kPageOneSlit, 0.0, 6.328e-7, 0.2, 1e-3, 6e-4, 10, 1.0},
      {"no slits", kPageGrating, 1e-4, 6.328e-7, 0.2, 1e-3, 6e-4, 0, 0.0},
      {"unknown page", 4, 1e-4, 6.328e-7, 0.2, 0.0, 6e-4, 10, 0.0},
      {"negative page", -1, 1e-4, 6.328e-7, 0.2, 0.0, 6e-4, 10, 0.0},
      {"the Gaussian page is no slit model", kPageGaussian, 1e-4, 6.328e-7, 0.2, 0.0, 6e-4, 10, 0.0},
      {"absurd slit: the envelope's limit", kPageOneSlit, 1e300, 1e-300, 0.2, 1e-3, 6e-4, 10, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(SlitIntensity(c.page, c.a, c.lambda, c.l, c.x, c.d, c.n), c.want, 1e-15);
  }
}

// A fractional N has no bounded grating factor near sin β = 0: stays in 0..1.
TEST(Simulation, FractionalSlitCountStaysInRange) {
  for (const double n : {0.5, 2.5, 7.3, -3.0}) {
    for (int i = 0; i < 2048; ++i) {
      const double v = SlitIntensity(kPageGrating, 1e-4, 6.328e-7, 0.2, PixelX(i, 0), 6e-4, n);
      ASSERT_TRUE(v >= 0.0 && v <= 1.0) << "N " << n << " pixel " << i << " gives " << v;
    }
  }
}

// First zeros of the slit where a·sinθ = kλ, that is x ≈ kλL/a.
TEST(Simulation, SlitMinimaLieAtLambdaLOverA) {
  struct Case {
    double a, lambda, l;
  };
  for (const Case c : {Case{1e-4, 6.328e-7, 0.2}, {2e-4, 5.461e-7, 0.5}, {5e-5, 4.358e-7, 0.1}}) {
    for (int k = 1; k <= 3; ++k) {
      SCOPED_TRACE(::testing::Message() << "a " << c.a << " order " << k);
      const double small = k * c.lambda * c.l / c.a;
      const double t = k * c.lambda / c.a;
      const double exact = c.l * t / std::sqrt(1.0 - t * t);
      EXPECT_NEAR(exact, small, 1e-3 * small);  // the small-angle form
      EXPECT_NEAR(SlitIntensity(kPageOneSlit, c.a, c.lambda, c.l, exact, 0, 0), 0.0, 1e-20);
      EXPECT_NEAR(SlitIntensity(kPageOneSlit, c.a, c.lambda, c.l, -exact, 0, 0), 0.0, 1e-20);
      // Brighter a little way off the zero on either side.
      EXPECT_GT(SlitIntensity(kPageOneSlit, c.a, c.lambda, c.l, exact * 0.98, 0, 0), 1e-5);
      EXPECT_GT(SlitIntensity(kPageOneSlit, c.a, c.lambda, c.l, exact * 1.02, 0, 0), 1e-5);
    }
  }
}

TEST(Simulation, GaussianProfileAndItsCutoffs) {
  const double w = 1e-3;
  const double r = w / std::numbers::sqrt2;
  EXPECT_EQ(GaussIntensity(r, 0.0), 1.0);
  EXPECT_NEAR(GaussIntensity(r, 0.5e-3), std::exp(-0.5), 1e-15);
  for (const double x : {-2e-3, -1e-4, 3e-4, 1e-3, 4e-3}) EXPECT_NEAR(GaussIntensity(r, x), Gauss(w, x), 1e-15);
  EXPECT_EQ(GaussIntensity(1e-6, 0.0), 0.0);                    // at the cut
  EXPECT_EQ(GaussIntensity(1.4e-6 / std::numbers::sqrt2, 0.0), 0.0);  // a 1.4 µm waist
  EXPECT_EQ(GaussIntensity(1e-3, 1.0001), 0.0);                 // (x/w')² > 1e6
  EXPECT_EQ(GaussIntensity(-1e-3, 0.0), 0.0);
  EXPECT_EQ(GaussIntensity(std::numeric_limits<double>::quiet_NaN(), 0.0), 0.0);
}

// ---- The computed curve ------------------------------------------------------

TEST(Simulation, WorkedLevelsOfTheDefaultBench) {
  const SimulationParams p;
  const auto slit = ComputeSimulation(p, kPageOneSlit, 0, kIntensBarStart);
  EXPECT_EQ(slit[1024], 128);  // Round(127.5), half to even
  // Zeros about 90 pixels out (x = 1.2656 mm = 90.4 pixels).
  for (const int side : {-1, 1}) {
    SCOPED_TRACE(side);
    EXPECT_EQ(slit[1024 + side * 90], 0);
    EXPECT_GT(slit[1024 + side * 80], 0);
    EXPECT_GT(slit[1024 + side * 100], 0);
  }
  const auto top = ComputeSimulation(p, kPageOneSlit, 0, kIntensBarMin);
  EXPECT_EQ(top[1024], 255);
  EXPECT_EQ(top[1023], 255);

  // Two slits: dark fringes at x = ±λL/(2d) = ±7.53 pixels, period 15.07.
  const auto two = ComputeSimulation(p, kPageTwoSlits, 0, kIntensBarStart);
  EXPECT_EQ(two[1024], 128);
  for (const int pixel : {1016, 1017, 1031, 1032, 1046, 1047}) EXPECT_LE(two[pixel], 2) << pixel;
  EXPECT_GT(two[1039], 100);  // next bright fringe, one period out
  // N = 1 on the grating page: the one-slit profile.
  SimulationParams one = p;
  one.SlitCount = 1;
  EXPECT_EQ(ComputeSimulation(one, kPageGrating, 0, kIntensBarStart), slit);

  const auto gauss = ComputeSimulation(p, kPageGaussian, 0, kIntensBarStart);
  EXPECT_EQ(gauss[1024], 128);
  EXPECT_EQ(gauss[1060], static_cast<int>(std::nearbyint(127.5 * Gauss(1e-3, 36 * 1.4e-5))));
}

// Each level is Round(I · g · 255) of the oracle's intensity, capped at 255.
TEST(Simulation, LevelsFollowTheOracleAtEveryShiftAndHeight) {
  struct Case {
    const char* name;
    int page;
    int bar;  // shift bar position; the computation takes -bar
    int intens;
  };
  const SimulationParams p;
  for (const Case& c : std::vector<Case>{{"slit, centred", kPageOneSlit, 0, 255},
                                         {"slit, raised", kPageOneSlit, 0, 100},
                                         {"slits, shifted right", kPageTwoSlits, 300, 200},
                                         {"grating, shifted left", kPageGrating, -450, 255},
                                         {"grating at the top", kPageGrating, 0, 1},
                                         {"gaussian moved", kPageGaussian, 500, 128},
                                         {"centre off the sensor", kPageOneSlit, 2048, 255},
                                         {"gaussian off the left", kPageGaussian, -2048, 1}}) {
    SCOPED_TRACE(c.name);
    const double g = (255.0 - c.intens) / 255.0 + 0.5;
    const auto got = ComputeSimulation(p, c.page, -c.bar, c.intens);
    for (int i = 0; i < 2048; ++i) {
      const double x = PixelX(i, -c.bar);
      const int slits = c.page == kPageOneSlit ? 1 : c.page == kPageTwoSlits ? 2 : 10;
      const double intensity = c.page == kPageGaussian
                                   ? Gauss(p.Waist, x)
                                   : PhasorIntensity(p.SlitWidth, p.Wavelength, p.ScreenDistance, x,
                                                     p.SlitSpacing, slits);
      const double raw = intensity * g * 255.0;
      const double want = std::min(std::nearbyint(raw), 255.0);
      // Only a value within the oracle's error of a half may round either way.
      const double frac = raw - std::floor(raw);
      const double slack = std::abs(frac - 0.5) < 1e-4 ? 1.0 : 0.0;
      ASSERT_NEAR(got[static_cast<std::size_t>(i)], want, slack) << "pixel " << i;
    }
  }
}

TEST(Simulation, ProfileIsSymmetricAndShiftMovesTheCentre) {
  const SimulationParams p;
  for (const int page : {kPageOneSlit, kPageTwoSlits, kPageGrating, kPageGaussian}) {
    SCOPED_TRACE(page);
    const auto c = ComputeSimulation(p, page, 0, 200);
    for (int k = 1; k < 1024; ++k) ASSERT_EQ(c[1024 - k], c[1024 + k]) << k;
    // The bar at +300 lays the same profile 300 pixels to the right.
    const auto moved = ComputeSimulation(p, page, -300, 200);
    for (int i = 300; i < 2048; ++i) ASSERT_EQ(moved[i], c[i - 300]) << i;
    // The bar at 2048: the centre at 3072, only the left wing on the sensor,
    // the same as the bar at 1024 shows 1024 pixels further left.
    const auto half = ComputeSimulation(p, page, -1024, 200);
    const auto far = ComputeSimulation(p, page, -2048, 200);
    for (int i = 1024; i < 2048; ++i) ASSERT_EQ(far[i], half[i - 1024]) << i;
    EXPECT_EQ(half[2048 - 1], c[1023]);
  }
}

TEST(Simulation, HeightScaleRoundsHalvesToEven) {
  // λ = 0: I = 1 everywhere, so every pixel is Round(255 g).
  SimulationParams flat;
  flat.Wavelength = 0.0;
  struct Case {
    int intens;
    int level;  // Round((255 - pos) + 127.5)
  };
  for (const Case c : {Case{255, 128},   // 127.5
                       {254, 128},       // 128.5
                       {253, 130},       // 129.5
                       {250, 132},       // 132.5
                       {128, 254},       // 254.5
                       {127, 255},       // 255.5
                       {1, 255},         // capped
                       {0, 255},         // clamped to the bar's top
                       {400, 128}}) {    // clamped to the bar's bottom
    SCOPED_TRACE(c.intens);
    const auto v = ComputeSimulation(flat, kPageOneSlit, 0, c.intens);
    EXPECT_TRUE(std::all_of(v.begin(), v.end(), [&](std::uint8_t b) { return b == c.level; }));
  }
  EXPECT_EQ(IntensityScale(255), 0.5);
  EXPECT_NEAR(IntensityScale(1), 1.496, 1e-3);
}

TEST(Simulation, DegenerateParametersGiveFlatOrDarkProfiles) {
  struct Case {
    const char* name;
    int page;
    double n, w;
    int level;
  };
  for (const Case& c : std::vector<Case>{{"no slits", kPageGrating, 0.0, 1e-3, 0},
                                         {"unknown page", 7, 10.0, 1e-3, 0},
                                         {"waist of 1.4 µm", kPageGaussian, 10.0, 1.4e-6, 0},
                                         {"waist zero", kPageGaussian, 10.0, 0.0, 0}}) {
    SCOPED_TRACE(c.name);
    SimulationParams p;
    p.SlitCount = c.n;
    p.Waist = c.w;
    const auto v = ComputeSimulation(p, c.page, 0, 1);
    EXPECT_TRUE(std::all_of(v.begin(), v.end(), [&](std::uint8_t b) { return b == c.level; }));
  }
}

TEST(Simulation, WaistControlsHoldWholeStepsOfTenMicrometres) {
  EXPECT_EQ(WaistOfBar(10), 1e-4);
  EXPECT_EQ(WaistOfBar(100), 1e-3);
  EXPECT_EQ(WaistOfBar(0), 1e-5);      // the bar's bottom
  EXPECT_EQ(WaistOfBar(5000), 1e-2);   // the bar's top
  struct Case {
    double w;
    int bar;
  };
  for (const Case c : {Case{1e-3, 100}, {2.5e-4, 25}, {1e-5, 1}, {0.0, 1}, {-1.0, 1}, {0.5, 1000},
                       {std::numeric_limits<double>::quiet_NaN(), 1}}) {
    EXPECT_EQ(BarOfWaist(c.w), c.bar) << c.w;
  }
  EXPECT_NEAR(WaistOfMm(1.0), 1e-3, 1e-18);
  EXPECT_NEAR(WaistOfMm(1.234), 1.23e-3, 1e-18);
  EXPECT_NEAR(WaistOfMm(0.126), 1.3e-4, 1e-18);
  EXPECT_EQ(WaistOfMm(0.004), 0.0);
}

}  // namespace
}  // namespace rovanel::optics
