#include "device/sim/grating.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace rovanel::device::sim {
namespace {

constexpr double kRadPerDeg = std::numbers::pi / 180.0;
constexpr double kHalfPi = std::numbers::pi / 2.0;

}  // namespace

Grating::Grating(const GratingGeometry& g)
    : g_(g),
      spacingNm_(1e6 / g.linesPerMm),
      sinIncidence_(std::sin(g.incidenceDeg * kRadPerDeg)),
      axisRad_(g.axisDeg * kRadPerDeg) {}

double Grating::PixelOfWavelength(double nm) const {
  const double sinBeta = g_.order * nm / spacingNm_ - sinIncidence_;
  if (!(std::abs(sinBeta) <= 1.0)) return std::numeric_limits<double>::quiet_NaN();
  const double off = std::asin(sinBeta) - axisRad_;
  if (!(std::abs(off) < kHalfPi)) return std::numeric_limits<double>::quiet_NaN();
  return kCentre + g_.focalMm * std::tan(off) / kPitchMm;
}

double Grating::WavelengthOfPixel(double pixel) const {
  const double beta = axisRad_ + std::atan((pixel - kCentre) * kPitchMm / g_.focalMm);
  return spacingNm_ * (sinIncidence_ + std::sin(beta)) / g_.order;
}

}  // namespace rovanel::device::sim
