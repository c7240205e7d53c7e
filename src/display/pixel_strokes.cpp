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

// The pixel `d` with `rgb` over it at coverage c of 255.
std::uint32_t Over(std::uint32_t d, std::uint32_t rgb, std::uint32_t c) {
  const std::uint32_t k = 255 - c;
  const auto channel = [&](int shift) {
    const std::uint32_t s = (rgb >> shift) & 0xffu, t = (d >> shift) & 0xffu;
    return ((s * c + t * k + 127) / 255) << shift;
  };
  return (d & 0xff000000u) | channel(16) | channel(8) | channel(0);
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
  // The columns that may be inked on a row where the hole spans the whole
  // height of the pixel: those beside the hole.
  const int holeLeft = hollow ? std::clamp(static_cast<int>(std::ceil(inner.left)), x0, x1) : x1;
  const int holeRight =
      hollow ? std::clamp(static_cast<int>(std::floor(inner.right)), holeLeft, x1) : x1;
  const auto blend = [&](std::uint32_t* row, int from, int to, double down, double holeDown) {
    for (int i = from; i < to; ++i) {
      const auto k = static_cast<std::size_t>(i - x0);
      const double cover = across[k] * down - hole[k] * holeDown;
      const auto c = static_cast<std::uint32_t>(std::clamp(std::lround(cover * 255), 0L, 255L));
      if (c != 0) row[i] = Over(row[i], rgb, c);
    }
  };
  for (int j = y0; j < y1; ++j) {
    std::uint32_t* row = target.bits + static_cast<std::size_t>(j) * target.stride;
    const double down = Overlap(j, outer.top, outer.bottom);
    const double holeDown = hollow ? Overlap(j, inner.top, inner.bottom) : 0;
    if (hollow && holeDown == down) {
      blend(row, x0, holeLeft, down, holeDown);
      blend(row, holeRight, x1, down, holeDown);
    } else {
      blend(row, x0, x1, down, holeDown);
    }
  }
}

}  // namespace rovanel::display
