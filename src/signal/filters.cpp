#include "signal/filters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "signal/in_place_passes.h"
#include "signal/paging.h"

namespace rovanel::signal {

namespace {

std::uint8_t RoundToLevel(double v) {
  return static_cast<std::uint8_t>(std::nearbyint(v));
}

int ClampCount(int count) {
  return std::clamp(count, 0, kMaxCurves);
}

std::span<std::uint8_t> Head(Curve& c, std::size_t n) {
  return std::span<std::uint8_t>(c).first(std::min<std::size_t>(n, c.size()));
}

// Runs f on the first n samples of a series as one contiguous span.
template <typename F>
void OnSeries(TLargeTab& series, std::uint32_t n, F f) {
  n = std::min(n, series.Capacity());
  std::vector<std::uint8_t> v = ReadSamples(series, n);
  f(std::span<std::uint8_t>(v));
  WriteSamples(series, 0, v);
}

void Remap(std::span<std::uint8_t> samples, const std::array<std::uint8_t, 256>& table) {
  for (std::uint8_t& v : samples) v = table[v];
}

}  // namespace

void StretchLevels(std::span<std::uint8_t> samples) {
  int lo = 255, hi = 0;
  for (std::uint8_t v : samples) {
    lo = std::min<int>(lo, v);
    hi = std::max<int>(hi, v);
  }
  if (hi == lo) hi = lo + 1;
  const double scale = 255.0 / (hi - lo);
  // Every sample lies in [lo, hi]; the table holds the same product per level.
  std::array<std::uint8_t, 256> table{};
  for (int v = lo; v <= std::min(hi, 255); ++v) table[v] = RoundToLevel((v - lo) * scale);
  Remap(samples, table);
}

void StretchLevels(TLargeTab& series, std::uint32_t n) {
  OnSeries(series, n, [](std::span<std::uint8_t> s) { StretchLevels(s); });
}

void Smooth3(std::span<std::uint8_t> curve, int passes) {
  std::vector<float> w(curve.begin(), curve.end());
  detail::InPlacePasses<1>(w.data(), static_cast<std::ptrdiff_t>(w.size()), passes,
                           [](const float* x) {
                             float sum = 0.0f;
                             sum += x[-1];
                             sum += x[0];
                             sum += x[1];
                             return sum / 3.0f;
                           });
  for (std::size_t i = 0; i < curve.size(); ++i) {
    curve[i] = static_cast<std::uint8_t>(std::nearbyint(w[i]));
  }
}

void Smooth3(CurveSet& curves, int count, bool skipFirst, int passes, std::size_t n) {
  for (int k = skipFirst ? 2 : 1; k <= ClampCount(count); ++k) Smooth3(Head(curves[k], n), passes);
}

void Smooth5(std::span<std::uint8_t> series, int passes) {
  if (passes < 1 || series.size() < 5) return;
  // The sum of five levels over 5 never ends in one half, so rounding it to
  // nearest is (sum + 2) div 5.
  detail::InPlacePasses<2>(series.data(), static_cast<std::ptrdiff_t>(series.size()), passes,
                           [](const std::uint8_t* x) {
                             const int sum = x[-2] + x[-1] + x[0] + x[1] + x[2];
                             return static_cast<std::uint8_t>((sum + 2) / 5);
                           });
}

void Smooth5(TLargeTab& series, std::uint32_t n, int passes) {
  if (passes < 1 || n < 5) return;
  OnSeries(series, n, [passes](std::span<std::uint8_t> s) { Smooth5(s, passes); });
}

void CorrectByReference(std::span<std::uint8_t> reference, std::span<std::uint8_t> curve) {
  for (std::uint8_t& r : reference) {
    if (r == 0) r = 1;
  }
  const std::size_t n = std::min(reference.size(), curve.size());
  for (std::size_t i = 0; i < n; ++i) {
    const double f = 255.0 / reference[i];
    const double v = std::nearbyint(f * curve[i]);
    curve[i] = v < 255.0 ? static_cast<std::uint8_t>(v) : 255;
  }
}

void LogLevels(std::span<std::uint8_t> samples) {
  static const std::array<std::uint8_t, 256> table = [] {
    std::array<std::uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v) t[v] = RoundToLevel(46.0 * std::log(v + 1.0));
    return t;
  }();
  Remap(samples, table);
}

void LogLevels(CurveSet& curves, int count, std::size_t n) {
  for (int k = 1; k <= ClampCount(count); ++k) LogLevels(Head(curves[k], n));
}

void InvertLevels(std::span<std::uint8_t> samples) {
  for (std::uint8_t& v : samples) v = static_cast<std::uint8_t>(255 - v);
}

void InvertCurves(CurveSet& curves, int count, std::size_t n) {
  for (int k = 1; k <= ClampCount(count); ++k) InvertLevels(Head(curves[k], n));
}

void InvertSeries(TLargeTab& series, std::uint32_t n) {
  OnSeries(series, n, [](std::span<std::uint8_t> s) { InvertLevels(s); });
}

void CopySamples(TLargeTab& dest, const TLargeTab& src, std::uint32_t n) {
  constexpr std::uint32_t kBlock = TLargeTab::BlockElements;
  n = std::min(n, dest.Capacity());
  for (std::uint32_t first = 0; first < n; first += kBlock) {
    std::uint8_t* d = dest.BlockData(first / kBlock);
    if (!d) continue;
    const std::uint8_t* s = first < src.Capacity() ? src.BlockData(first / kBlock) : nullptr;
    const std::uint32_t count = std::min(kBlock, n - first);
    if (s) {
      std::memcpy(d, s, count);
    } else {
      std::memset(d, 0, count);
    }
  }
}

}  // namespace rovanel::signal
