#include "display/pixel_strokes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace rovanel::display {
namespace {

// How much of pixel [i, i + 1) lies in [a, b).
double Overlap(int i, double a, double b) {
  return std::max(0.0, std::min(b, i + 1.0) - std::max(a, static_cast<double>(i)));
}

// Two channels (0x00XX00YY) of a and b mixed, b weighing c of 255, each
// rounded as (a * (255 - c) + b * c) / 255 is.
std::uint32_t MixPair(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  std::uint32_t t = a * (255 - c) + b * c + 0x00800080u;
  t = (t + ((t >> 8) & 0x00ff00ffu)) >> 8;
  return t & 0x00ff00ffu;
}

// The pixel `d` with `rgb` over it at coverage c of 255, its alpha kept.
std::uint32_t Over(std::uint32_t d, std::uint32_t rgb, std::uint32_t c) {
  return (d & 0xff000000u) | MixPair(d & 0x00ff00ffu, rgb & 0x00ff00ffu, c) |
         (MixPair((d >> 8) & 0x00ff00ffu, (rgb >> 8) & 0x00ff00ffu, c) & 0xffu) << 8;
}

std::uint32_t Coverage(double area) {
  return static_cast<std::uint32_t>(std::clamp(area * 255 + 0.5, 0.0, 255.0));
}

}  // namespace

PixelRect TouchedPixels(const DeviceBox& outer) {
  if (outer.Empty() || !std::isfinite(outer.left + outer.top + outer.right + outer.bottom))
    return {};
  const auto clampInt = [](double v) { return static_cast<int>(std::clamp(v, -1e8, 1e8)); };
  const int left = clampInt(std::floor(outer.left)), top = clampInt(std::floor(outer.top));
  return {left, top, clampInt(std::ceil(outer.right)) - left,
          clampInt(std::ceil(outer.bottom)) - top};
}

void BlendStroke(const PixelTarget& target, const DeviceBox& outer, const DeviceBox& inner,
                 std::uint32_t rgb) {
  const PixelRect touched = TouchedPixels(outer);
  const PixelRect& clip = target.clip;
  const int x0 = std::max(touched.left, clip.left);
  const int x1 = std::min(touched.left + touched.width, clip.left + clip.width);
  const int y0 = std::max(touched.top, clip.top);
  const int y1 = std::min(touched.top + touched.height, clip.top + clip.height);
  if (target.bits == nullptr || x0 >= x1 || y0 >= y1) return;
  const bool hollow = !inner.Empty();
  // Each column's share across, of the outer box and of the hole.
  std::vector<double> across(static_cast<std::size_t>(x1 - x0)), hole(across.size());
  for (int i = x0; i < x1; ++i) {
    across[static_cast<std::size_t>(i - x0)] = Overlap(i, outer.left, outer.right);
    hole[static_cast<std::size_t>(i - x0)] = hollow ? Overlap(i, inner.left, inner.right) : 0;
  }
  // The columns across which the ink's share does not change: inside the
  // hole, or inside the whole bar. One coverage for all of them a row.
  const double fromX = hollow ? inner.left : outer.left, toX = hollow ? inner.right : outer.right;
  const int middleLeft = std::clamp(static_cast<int>(std::ceil(fromX)), x0, x1);
  const int middleRight = std::clamp(static_cast<int>(std::floor(toX)), middleLeft, x1);
  const auto blend = [&](std::uint32_t* row, int from, int to, double down, double holeDown) {
    for (int i = from; i < to; ++i) {
      const auto k = static_cast<std::size_t>(i - x0);
      const std::uint32_t c = Coverage(across[k] * down - hole[k] * holeDown);
      if (c != 0) row[i] = Over(row[i], rgb, c);
    }
  };
  for (int j = y0; j < y1; ++j) {
    std::uint32_t* row = target.bits + static_cast<std::size_t>(j) * target.stride;
    const double down = Overlap(j, outer.top, outer.bottom);
    const double holeDown = hollow ? Overlap(j, inner.top, inner.bottom) : 0;
    blend(row, x0, middleLeft, down, holeDown);
    blend(row, middleRight, x1, down, holeDown);
    const std::uint32_t c = Coverage(down - holeDown);
    if (c == 255) {
      std::fill(row + middleLeft, row + middleRight, 0xff000000u | rgb);
    } else if (c != 0) {
      for (int i = middleLeft; i < middleRight; ++i) row[i] = Over(row[i], rgb, c);
    }
  }
}

}  // namespace rovanel::display
