// The X value of a sample in each unit the plot shows.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace rovanel::optics {

// Spatial frequency of one FFT bin of a 2048-pixel profile: 1 / 28.672 mm.
inline constexpr double kPerMetrePerBin = 1.0 / (2048 * 14e-6);

// What the time and frequency units need: the integration time T (ms) of
// the series, its duration code k and its point count N; and the
// wavelength table for "nm".
struct XScale {
  double integrationMs = 10.0;
  int durationCode = 0;
  std::int64_t points = 8192;
  std::span<const float> lambda;
};

// "µm": 14 i; "mm": 0.014 i; "pix": i; "s": i (k + 1) T / 1000;
// "Hz": i 1000 / (N T (k + 1)); "/m": i / 28.672 mm; "nm": the wavelength of
// pixel i; any other unit: i.
double XOfSample(std::string_view unit, std::int64_t i, const XScale& scale);

}  // namespace rovanel::optics
