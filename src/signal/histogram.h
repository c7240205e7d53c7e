// Level histogram of the visible part of a curve, in classes of 8, 16, 32 or
// 64 levels, plain or cumulated from class 0 upward. Labels and bar heights
// are shares of the visible samples in percent; the display draws them.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace rovanel::signal {

inline constexpr int kHistMaxClasses = 32;
inline constexpr int kPlotColumns = 512;

struct Histogram {
  int classWidth = 16;  // levels per class, 2^(classExp + 3)
  int classCount = 16;  // 256 / classWidth
  // Per class c < classCount: visible samples at levels c*w .. c*w + w - 1
  // (classes 0..c together when cumulative).
  std::array<std::int64_t, kHistMaxClasses> count{};
  // round(count * 100 / (512 * zoomStep)).
  std::array<int, kHistMaxClasses> label{};
  // Bar height in band rows. The same share as the label, so that the
  // cumulative bars, which reach 100, stay inside the band.
  std::array<int, kHistMaxClasses> height{};
};

// The samples viewStart .. viewStart + 512*zoomStep - 1 of `curve` (those
// that exist) counted per class; classExp 0..3 and zoomStep >= 1 (values
// outside are taken at the nearest end). The percentages are of the whole
// window, 512 * zoomStep samples.
Histogram ComputeHistogram(std::span<const std::uint8_t> curve, std::int64_t viewStart,
                           int zoomStep, int classExp, bool cumulative);

}  // namespace rovanel::signal
