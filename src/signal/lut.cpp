#include "signal/lut.h"

#include <algorithm>
#include <cmath>

namespace rovanel::signal {

Lut LutTable(LutKind kind, int coef) {
  Lut t{};
  if (kind == LutKind::Logarithmic) {
    const int c = std::clamp(coef, kLutLnCoefMin, kLutLnCoefMax);
    const double top = std::log(1.0 + 255 * c / 100.0);
    for (int v = 0; v < 256; ++v) {
      t[v] = static_cast<std::uint8_t>(std::nearbyint(255.0 * std::log(1.0 + v * c / 100.0) / top));
    }
  } else {
    const int c = std::clamp(coef, kLutExpCoefMin, kLutExpCoefMax);
    const double top = std::exp(255 * c / 1000.0) - 1.0;
    for (int v = 0; v < 256; ++v) {
      t[v] =
          static_cast<std::uint8_t>(std::nearbyint(255.0 * (std::exp(v * c / 1000.0) - 1.0) / top));
    }
  }
  return t;
}

void ApplyLut(const Lut& lut, std::span<std::uint8_t> samples) {
  for (std::uint8_t& v : samples) v = lut[v];
}

void ApplyLut(CurveSet& curves, int count, LutKind kind, int coef, std::size_t n) {
  const Lut lut = LutTable(kind, coef);
  n = std::min<std::size_t>(n, kPixels);
  for (int k = 1; k <= std::clamp(count, 0, kMaxCurves); ++k) {
    ApplyLut(lut, std::span<std::uint8_t>(curves[k]).first(n));
  }
}

}  // namespace rovanel::signal
