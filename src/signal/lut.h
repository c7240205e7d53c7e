// Intensity look-up tables of the analysis mode: a logarithmic curve that
// stretches the low levels and an exponential one that stretches the high
// levels, each with one coefficient. Both map 0 to 0 and 255 to 255 and
// never decrease.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "signal/stores.h"

namespace rovanel::signal {

enum class LutKind : int { Exponential = 0, Logarithmic = 1 };

inline constexpr int kLutLnCoefMin = 2;
inline constexpr int kLutLnCoefMax = 95;
inline constexpr int kLutExpCoefMin = 2;
inline constexpr int kLutExpCoefMax = 25;

using Lut = std::array<std::uint8_t, 256>;

// Logarithmic, c = 2..95:  v' = round(255 * ln(1 + v*c/100) / ln(1 + 255*c/100));
// exponential, c = 2..25:  v' = round(255 * (exp(v*c/1000) - 1) / (exp(255*c/1000) - 1)).
// A coefficient outside its range is taken at the nearest end.
Lut LutTable(LutKind kind, int coef);

void ApplyLut(const Lut& lut, std::span<std::uint8_t> samples);
// The table of (kind, coef) on the first n samples of curves 1..count.
void ApplyLut(CurveSet& curves, int count, LutKind kind, int coef, std::size_t n = kPixels);

}  // namespace rovanel::signal
