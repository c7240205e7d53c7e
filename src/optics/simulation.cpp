#include "optics/simulation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rovanel::optics {
namespace {

constexpr double kPi = std::numbers::pi;

// Below this |N sin u| the grating quotient is replaced by its limit when its
// numerator vanishes too: there the limit is off by (N² - 1) δ² / 6 < 1e-12,
// while the direct quotient loses digits to the rounding of N u.
constexpr double kTiny = 1e-6;

// Nearest integer, halves to the even neighbour (the default rounding mode).
double RoundEven(double v) { return std::nearbyint(v); }

}  // namespace

double Sinc(double u) {
  if (u == 0.0) return 1.0;
  if (std::isinf(u)) return 0.0;  // sin(inf) is NaN; the limit is 0
  return std::sin(u) / u;
}

double GratingFactor(double u, double n) {
  // No slits: the quotient is 0/0 everywhere; no light.
  if (n == 0.0) return 0.0;
  const double s = std::sin(u);
  if (s == 0.0) return 1.0;
  const double top = std::sin(n * u);
  // At a principal maximum both sines are tiny and the rounding of n·u
  // decides their quotient; the limit there is cos(n u) / cos u (±1 for a
  // whole n).
  if (std::abs(n * s) < kTiny && std::abs(top) < kTiny) {
    return std::cos(n * u) / std::cos(u);
  }
  return top / (n * s);
}

double SlitIntensity(int page, double a, double lambda, double l, double x, double d,
                     double n) {
  // hypot keeps x² + L² from overflowing; both zero gives s = 0.
  const double r = std::hypot(x, l);
  const double s = r == 0.0 ? 0.0 : x / r;
  double alpha = 0.0;
  double beta = 0.0;
  if (lambda != 0.0) {
    alpha = kPi * a * s / lambda;
    beta = kPi * d * s / lambda;
  }
  const double envelope = Sinc(alpha) * Sinc(alpha);
  double i = 0.0;
  switch (page) {
    case kPageOneSlit:
      i = envelope;
      break;
    case kPageTwoSlits: {
      const double c = std::cos(beta);
      i = envelope * c * c;
      break;
    }
    case kPageGrating: {
      const double f = GratingFactor(beta, n);
      i = envelope * f * f;
      break;
    }
    default:
      return 0.0;
  }
  // A fractional N leaves the grating factor unbounded near sin β = 0, and
  // an infinite β (absurd inputs) leaves it undefined.
  if (!(i >= 0.0)) return 0.0;
  return std::min(i, 1.0);
}

double GaussIntensity(double wPrime, double x) {
  if (!(wPrime > 1e-6)) return 0.0;  // also a NaN waist
  const double q = (x / wPrime) * (x / wPrime);
  if (!(q <= 1e6)) return 0.0;
  return std::exp(-q);
}

double IntensityScale(int intensPosition) {
  const int pos = std::clamp(intensPosition, kIntensBarMin, kIntensBarMax);
  return static_cast<double>(kIntensBarMax - pos) / kIntensBarMax + 0.5;
}

std::array<std::uint8_t, kPixels> ComputeSimulation(const SimulationParams& p, int page,
                                                    int shift, int intensPosition) {
  const double g = IntensityScale(intensPosition);
  const double wPrime = p.Waist / std::numbers::sqrt2;
  std::array<std::uint8_t, kPixels> out{};
  for (int i = 0; i < kPixels; ++i) {
    // In double: a shift far outside the bar's range must not overflow.
    const double x = (static_cast<double>(i) - kSimAxisPixel + shift) * kSimPitch;
    const double intensity =
        page == kPageGaussian
            ? GaussIntensity(wPrime, x)
            : SlitIntensity(page, p.SlitWidth, p.Wavelength, p.ScreenDistance, x,
                            p.SlitSpacing, p.SlitCount);
    const double v = RoundEven(intensity * g * 255.0);
    out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
  }
  return out;
}

double WaistOfBar(int position) {
  return std::clamp(position, kWaistBarMin, kWaistBarMax) * kWaistStep;
}

int BarOfWaist(double w) {
  const double pos = RoundEven(w / kWaistStep);
  if (!(pos >= kWaistBarMin)) return kWaistBarMin;  // also NaN
  if (pos > kWaistBarMax) return kWaistBarMax;
  return static_cast<int>(pos);
}

double WaistOfMm(double mm) { return RoundEven(mm / 0.01) * 1e-5; }

}  // namespace rovanel::optics
