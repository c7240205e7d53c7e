#include "signal/histogram.h"

#include <algorithm>
#include <cmath>

namespace rovanel::signal {

Histogram ComputeHistogram(std::span<const std::uint8_t> curve, std::int64_t viewStart,
                           int zoomStep, int classExp, bool cumulative) {
  Histogram h;
  zoomStep = std::max(zoomStep, 1);
  h.classWidth = 1 << (std::clamp(classExp, 0, 3) + 3);
  h.classCount = 256 / h.classWidth;

  const std::int64_t window = std::int64_t{kPlotColumns} * zoomStep;
  const auto size = static_cast<std::int64_t>(curve.size());
  const std::int64_t first = std::clamp<std::int64_t>(viewStart, 0, size);
  const std::int64_t end = std::clamp<std::int64_t>(viewStart + window, first, size);
  std::array<std::int64_t, 256> perLevel{};
  for (std::int64_t i = first; i < end; ++i) ++perLevel[curve[static_cast<std::size_t>(i)]];

  std::int64_t running = 0;
  for (int c = 0; c < h.classCount; ++c) {
    std::int64_t n = 0;
    for (int v = c * h.classWidth; v < (c + 1) * h.classWidth; ++v) n += perLevel[v];
    running += n;
    h.count[c] = cumulative ? running : n;
    h.label[c] = static_cast<int>(
        std::nearbyint(static_cast<double>(h.count[c] * 100) / static_cast<double>(window)));
    h.height[c] = h.label[c];
  }
  return h;
}

}  // namespace rovanel::signal
