#include "display/smooth_scale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace rovanel::display {
namespace {

// The two source indices and the weight (0..255) of the far one for each
// of `count` device pixels from `first`, over `size` source pixels.
struct Taps {
  std::vector<int> near, far;
  std::vector<std::uint32_t> weight;
};

Taps TapsFor(int first, int count, double origin, double length, int size) {
  Taps t;
  t.near.resize(static_cast<std::size_t>(count));
  t.far.resize(t.near.size());
  t.weight.resize(t.near.size());
  const double step = size / length;
  for (int k = 0; k < count; ++k) {
    const double s = (first + k + 0.5 - origin) * step - 0.5;
    const double whole = std::floor(s);
    auto i = static_cast<std::size_t>(k);
    t.weight[i] = static_cast<std::uint32_t>(std::clamp((s - whole) * 256.0, 0.0, 255.0));
    const int n = static_cast<int>(std::clamp(whole, -1.0, static_cast<double>(size)));
    t.near[i] = std::clamp(n, 0, size - 1);
    t.far[i] = std::clamp(n + 1, 0, size - 1);
  }
  return t;
}

// Each channel of a and b mixed, b weighing w of 256 (truncated, two
// channels a multiplication).
std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
  const std::uint32_t v = 256 - w;
  const std::uint32_t rb = (((a & 0xff00ffu) * v + (b & 0xff00ffu) * w) >> 8) & 0xff00ffu;
  const std::uint32_t ag =
      ((((a >> 8) & 0xff00ffu) * v + ((b >> 8) & 0xff00ffu) * w)) & 0xff00ff00u;
  return rb | ag;
}

}  // namespace

PixelRect CoveredPixels(double x, double y, double w, double h) {
  const auto first = [](double a) { return static_cast<int>(std::floor(a + 0.5)); };
  if (!(w > 0) || !(h > 0) || !std::isfinite(x + y + w + h)) return {};
  const int left = first(x), top = first(y);
  return {left, top, std::max(0, first(x + w) - left), std::max(0, first(y + h) - top)};
}

bool SmoothScale(const PixelRows& source, double x, double y, double w, double h,
                 const PixelRect& out, std::uint32_t* dest, std::size_t stride) {
  if (source.bits == nullptr || source.width <= 0 || source.rows <= 0 || dest == nullptr ||
      out.width <= 0 || out.height <= 0 || !(w > 0) || !(h > 0))
    return false;
  const auto width = static_cast<std::size_t>(out.width);
  const auto row = [&](int r) { return source.bits + static_cast<std::size_t>(r) * source.stride; };
  // Each source row's first equal row above it: rows alike are scaled once.
  const auto bytes = static_cast<std::size_t>(source.width) * sizeof(std::uint32_t);
  std::vector<int> alike(static_cast<std::size_t>(source.rows));
  for (int r = 0; r < source.rows; ++r) {
    const bool same = r > 0 && std::memcmp(row(r), row(r - 1), bytes) == 0;
    alike[static_cast<std::size_t>(r)] = same ? alike[static_cast<std::size_t>(r) - 1] : r;
  }
  const Taps across = TapsFor(out.left, out.width, x, w, source.width);
  const Taps down = TapsFor(out.top, out.height, y, h, source.rows);
  // The source rows scaled across, made when first needed.
  std::vector<std::vector<std::uint32_t>> scaled(static_cast<std::size_t>(source.rows));
  const auto across_of = [&](int r) -> const std::vector<std::uint32_t>& {
    std::vector<std::uint32_t>& s =
        scaled[static_cast<std::size_t>(alike[static_cast<std::size_t>(r)])];
    if (s.empty()) {
      const std::uint32_t* src = row(r);
      s.resize(width);
      for (std::size_t k = 0; k < width; ++k)
        s[k] = Mix(src[across.near[k]], src[across.far[k]], across.weight[k]);
    }
    return s;
  };
  for (std::size_t j = 0; j < static_cast<std::size_t>(out.height); ++j, dest += stride) {
    const int a = down.near[j], b = down.far[j];
    const std::uint32_t weight = down.weight[j];
    const std::vector<std::uint32_t>& upper = across_of(a);
    if (weight == 0 || alike[static_cast<std::size_t>(a)] == alike[static_cast<std::size_t>(b)]) {
      std::copy(upper.begin(), upper.end(), dest);
      continue;
    }
    const std::vector<std::uint32_t>& lower = across_of(b);
    for (std::size_t k = 0; k < width; ++k) dest[k] = Mix(upper[k], lower[k], weight);
  }
  return true;
}

}  // namespace rovanel::display
