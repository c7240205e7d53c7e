// The mercury lamp calibrated as a student does it: a frame of the lamp
// through the simulated grating, the line centres found by hand, a few known
// lines as references, then the wavelength table read back against the
// grating's own wavelengths.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "device/sim/grating.h"
#include "device/sim/optical_bench.h"
#include "optics/wavelength_table.h"

namespace rovanel::optics {
namespace {

using device::sim::Grating;
using device::sim::GratingGeometry;
using device::sim::OpticalBench;
using Frame = std::array<std::uint8_t, 2048>;

// Mercury in air, in the bench's order.
constexpr std::array<double, 6> kMercuryNm = {404.656, 435.833, 491.607, 546.074, 576.960, 579.066};

// Where a wavelength lands, by hand: sin β = λ G - sin α (first order),
// pixel = 1023.5 + f tan(β - β0) / 14 µm.
double HandPixel(const GratingGeometry& g, double nm) {
  constexpr double kDeg = 3.141592653589793 / 180.0;
  const double beta = std::asin(nm * 1e-6 * g.linesPerMm - std::sin(g.incidenceDeg * kDeg));
  return 1023.5 + g.focalMm * std::tan(beta - g.axisDeg * kDeg) / 0.014;
}

Frame LampFrame(const GratingGeometry& geometry, double noiseSigma) {
  OpticalBench bench(device::sim::Scene::Lamp, 11);
  bench.LampGrating = geometry;
  bench.NoiseSigma = noiseSigma;
  Frame f{};
  bench.Frame(10.0, f.data());
  return f;
}

// Line centres, left to right: the background is the median level (most of
// the sensor is dark); a line is a maximum of the 5-pixel mean standing more
// than `threshold` above it and highest within ±7 pixels; its centre is the
// centroid of the light above the background over ±6 pixels, the window
// moved onto the centroid until it stays.
std::vector<double> LineCentres(const Frame& f, double threshold) {
  Frame sorted = f;
  std::nth_element(sorted.begin(), sorted.begin() + 1024, sorted.end());
  const double background = sorted[1024];
  std::array<double, 2048> smooth{};
  for (int i = 2; i < 2046; ++i) {
    for (int j = -2; j <= 2; ++j) smooth[i] += f[i + j] / 5.0;
  }
  const auto centroid = [&](int at) {
    double sum = 0, moment = 0;
    for (int j = at - 6; j <= at + 6; ++j) {
      sum += f[j] - background;
      moment += j * (f[j] - background);
    }
    return moment / sum;
  };
  std::vector<double> centres;
  int lastPeak = -100;
  for (int i = 12; i < 2036; ++i) {
    if (smooth[i] - background <= threshold) continue;
    if (*std::max_element(&smooth[i - 7], &smooth[i + 8]) > smooth[i]) continue;
    if (i - lastPeak <= 7) continue;  // the other pixel of a flat top
    lastPeak = i;
    int at = i;
    double c = centroid(at);
    for (int pass = 0; pass < 4 && std::lround(c) != at; ++pass) {
      at = static_cast<int>(std::lround(c));
      c = centroid(at);
    }
    centres.push_back(c);
  }
  return centres;
}

// A 1200 lines/mm grating behind a 60 mm lens: 392 to 682 nm on the sensor,
// with a dispersion that changes visibly along it.
constexpr GratingGeometry kShortFocus{1200.0, 0.0, 60.0, 41.5, 1};

struct Case {
  std::string what;
  GratingGeometry geometry;
  double noiseSigma;
  double centreTolerancePx;     // found centre against the hand-computed pixel
  std::vector<int> references;  // indexes into kMercuryNm
  std::vector<int> checked;     // lines left out, read back from the tables
  double splineWithinNm;        // at the checked lines
  double linearWithinNm;        // at the checked lines and between; 0: not bounded
  double splineGain;            // linear error at least this times the spline's; 0: no order
};

// Errors in nm of one table against the grating.
struct Errors {
  double atLines = 0;  // worst over the checked lines
  double between = 0;  // worst over the pixels from the first to the last reference
};

TEST(LampCalibration, MercuryReferencesThroughTheGrating) {
  const std::vector<Case> cases = {
      // The default grating is nearly linear over the mercury lines: both
      // tables stay within a third of a nanometre, neither beats the other.
      {"default grating", {}, 0.0, 0.12, {0, 1, 3, 5}, {2, 4}, 0.35, 0.35, 0.0},
      {"default grating, noisy", {}, 2.5, 0.3, {0, 1, 3, 5}, {2, 4}, 0.35, 0.35, 0.0},
      // Short focus: the spline follows the bend the straight segments cut.
      {"short focus, three lines", kShortFocus, 0.0, 0.12, {0, 2, 3}, {1}, 0.3, 0.0, 1.5},
      {"short focus, three lines, noisy", kShortFocus, 2.5, 0.3, {0, 2, 3}, {1}, 0.3, 0.0, 1.5},
      {"short focus, four lines", kShortFocus, 0.0, 0.12, {0, 2, 3, 5}, {1, 4}, 0.3, 0.0, 1.2},
      {"short focus, four lines, noisy",
       kShortFocus,
       2.5,
       0.3,
       {0, 2, 3, 5},
       {1, 4},
       0.3,
       0.0,
       1.2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Grating grating(c.geometry);
    const std::vector<double> centres = LineCentres(LampFrame(c.geometry, c.noiseSigma), 12.0);
    ASSERT_EQ(centres.size(), kMercuryNm.size());
    std::array<int, 6> pixel{};
    for (std::size_t k = 0; k < centres.size(); ++k) {
      EXPECT_NEAR(centres[k], HandPixel(c.geometry, kMercuryNm[k]), c.centreTolerancePx)
          << kMercuryNm[k];
      pixel[k] = static_cast<int>(std::lround(centres[k]));
    }

    CalPoints points;
    points.fill(CalPoint{-1, 0.0f});
    for (std::size_t r = 0; r < c.references.size(); ++r) {
      const int k = c.references[r];
      points[r] = CalPoint{pixel[k], static_cast<float>(kMercuryNm[k])};
    }
    const int first = pixel[c.references.front()];
    const int last = pixel[c.references.back()];

    std::array<Errors, 2> errors;
    for (const std::int32_t kind : {kLinearKind, kSplineKind}) {
      const std::string method = kind == kSplineKind ? "spline" : "linear";
      SCOPED_TRACE(method);
      LambdaTable table{};
      CalibrationCurve(points, kind, table);
      // At a reference pixel the table is off by no more than the pixel's
      // rounding (plus the centre's error) times the dispersion.
      for (const int k : c.references) {
        const int p = pixel[k];
        const double perPixel =
            grating.WavelengthOfPixel(p + 0.5) - grating.WavelengthOfPixel(p - 0.5);
        EXPECT_NEAR(table[p], grating.WavelengthOfPixel(p), perPixel * (0.5 + c.centreTolerancePx))
            << kMercuryNm[k];
      }
      Errors& e = errors[static_cast<std::size_t>(kind)];
      for (const int k : c.checked) {
        e.atLines = std::max(e.atLines, std::abs(table[pixel[k]] - kMercuryNm[k]));
      }
      for (int p = first; p <= last; ++p) {
        e.between = std::max(e.between, std::abs(table[p] - grating.WavelengthOfPixel(p)));
      }
      RecordProperty(c.what + ", " + method + ", nm at lines", std::to_string(e.atLines));
      RecordProperty(c.what + ", " + method + ", nm between", std::to_string(e.between));
    }
    const Errors& linear = errors[kLinearKind];
    const Errors& spline = errors[kSplineKind];
    EXPECT_LT(spline.atLines, c.splineWithinNm);
    if (c.linearWithinNm > 0) {
      EXPECT_LT(linear.atLines, c.linearWithinNm);
      EXPECT_LT(linear.between, c.linearWithinNm);
      EXPECT_LT(spline.between, c.linearWithinNm);
    }
    if (c.splineGain > 0) {
      EXPECT_GT(linear.atLines, c.splineGain * spline.atLines);
      EXPECT_GT(linear.between, c.splineGain * spline.between);
    }
  }
}

}  // namespace
}  // namespace rovanel::optics
