#include "device/sim/grating.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace rovanel::device::sim {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// The geometry by hand: d = 1e6/G nm, β = asin(mλ/d - sin α),
// pixel = 1023.5 + f tan(β - β0) / 0.014 mm.
double HandPixel(const GratingGeometry& g, double nm) {
  const double d = 1e6 / g.linesPerMm;
  const double beta = std::asin(g.order * nm / d - std::sin(g.incidenceDeg * kDeg));
  return 1023.5 + g.focalMm * std::tan(beta - g.axisDeg * kDeg) / 0.014;
}

TEST(Grating, DefaultGeometrySpansFourToSevenHundredNanometres) {
  const Grating g;
  EXPECT_NEAR(g.WavelengthOfPixel(0), 400.0, 1.0);
  EXPECT_NEAR(g.WavelengthOfPixel(2047), 700.0, 1.0);
  EXPECT_NEAR(g.PixelOfWavelength(400.0), 0.0, 5.0);
  EXPECT_NEAR(g.PixelOfWavelength(700.0), 2047.0, 5.0);
  // Mercury's green line, by hand: asin(0.546074 × 0.6) = 19.1259°, 0.2341°
  // below the axis, 150 mm × tan(-0.2341°) = -0.6130 mm = -43.78 pixels.
  EXPECT_NEAR(g.PixelOfWavelength(546.074), 1023.5 - 43.78, 0.01);
}

TEST(Grating, MatchesTheGratingEquationByHand) {
  const std::vector<GratingGeometry> geometries = {
      {},
      {1200.0, 10.0, 100.0, 30.0, 1},
      {300.0, -5.0, 250.0, 12.0, 2},
  };
  for (const GratingGeometry& geo : geometries) {
    const Grating g(geo);
    for (const double nm : {420.0, 480.0, 546.074, 589.0, 650.0}) {
      SCOPED_TRACE(::testing::Message() << geo.linesPerMm << " l/mm, " << nm << " nm");
      EXPECT_NEAR(g.PixelOfWavelength(nm), HandPixel(geo, nm), 1e-9);
    }
  }
}

TEST(Grating, RoundTripsAndRisesAcrossTheSensor) {
  const std::vector<GratingGeometry> geometries = {{}, {1200.0, 10.0, 100.0, 30.0, 1}};
  for (const GratingGeometry& geo : geometries) {
    const Grating g(geo);
    double last = -1.0;
    for (double p = -200.0; p <= 2247.0; p += 0.25) {
      const double nm = g.WavelengthOfPixel(p);
      ASSERT_GT(nm, last) << p;
      last = nm;
      ASSERT_NEAR(g.PixelOfWavelength(nm), p, 1e-8) << p;
    }
    for (double nm = 400.0; nm <= 700.0; nm += 0.37) {
      ASSERT_NEAR(g.WavelengthOfPixel(g.PixelOfWavelength(nm)), nm, 1e-9) << nm;
    }
  }
}

TEST(Grating, DispersionIsMeasurablyNonLinear) {
  const Grating g;
  const double ends = (g.WavelengthOfPixel(0) + g.WavelengthOfPixel(2047)) / 2;
  const double mid = g.WavelengthOfPixel(1023.5);
  EXPECT_GT(std::abs(mid - ends), 0.5);
  // Nanometres per pixel shrink along the sensor (about 0.150 to 0.140).
  const double first = g.WavelengthOfPixel(1) - g.WavelengthOfPixel(0);
  const double lastStep = g.WavelengthOfPixel(2047) - g.WavelengthOfPixel(2046);
  EXPECT_NEAR(first, 0.1496, 0.001);
  EXPECT_NEAR(lastStep, 0.1399, 0.001);
}

TEST(Grating, WavelengthsWithoutADiffractedOrderHaveNoPixel) {
  const Grating g;  // d = 1666.7 nm: sin β = λ/d exceeds 1 past d
  EXPECT_TRUE(std::isnan(g.PixelOfWavelength(1700.0)));
  EXPECT_TRUE(std::isnan(g.PixelOfWavelength(-1700.0)));
  EXPECT_FALSE(std::isnan(g.PixelOfWavelength(1600.0)));
  // Lit at 60° with the lens looking back at -60°: a ray at +45° points
  // away from the sensor plane.
  const Grating wide(GratingGeometry{600.0, 0.0, 150.0, -60.0, 1});
  EXPECT_TRUE(std::isnan(wide.PixelOfWavelength(1178.5)));  // β = 45°
}

}  // namespace
}  // namespace rovanel::device::sim
