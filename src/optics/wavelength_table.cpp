#include "optics/wavelength_table.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace rovanel::optics {
namespace {

constexpr int kLastPixel = kPixels - 1;
// Pixel given to unused entries by the spline method so that they sort last.
constexpr std::int32_t kUnusedLast = 3000;
// Samples of the parametric spline per pixel of a segment.
constexpr int kStepsPerPixel = 8;
// Pixels over which the spline table's end slopes are measured.
constexpr int kEndSlopeSpan = 5;

bool InTable(std::int64_t i) {
  return i >= 0 && i <= kLastPixel;
}

// Writes `value` at pixel i when i is a pixel of the table.
void Put(LambdaTable& lambda, std::int64_t i, double value) {
  if (InTable(i)) lambda[static_cast<std::size_t>(i)] = static_cast<float>(value);
}

// On the unit segment from knot k-1 to knot k, at t in 0..1.
double SplineAt(const std::vector<double>& y, const std::vector<double>& m, std::size_t k,
                double t) {
  return (1 - t) * y[k - 1] + t * y[k] - t * (1 - t) * ((2 - t) * m[k - 1] + (1 + t) * m[k]) / 6;
}

}  // namespace

CalPoints DefaultCalPoints() {
  return {{{200, 450.0f},
           {400, 550.0f},
           {800, 600.0f},
           {1000, 650.0f},
           {1200, 700.0f},
           {1400, 800.0f},
           {-1, 0.0f},
           {-1, 0.0f},
           {-1, 0.0f}}};
}

bool FillLinear(const CalPoints& points, LambdaTable& lambda) {
  std::array<CalPoint, kLinearCalPoints> p;
  std::copy_n(points.begin(), kLinearCalPoints, p.begin());
  for (CalPoint& e : p) {
    if (e.lambda == 0.0f) e.pixel = -1;
  }
  // Stable, so that two references on one pixel keep their order.
  std::stable_sort(p.begin(), p.end(),
                   [](const CalPoint& a, const CalPoint& b) { return a.pixel < b.pixel; });
  int k0 = 0;
  while (k0 < kLinearCalPoints && p[static_cast<std::size_t>(k0)].pixel == -1) ++k0;
  if (k0 >= kLinearCalPoints - 1) return false;

  const int last = kLinearCalPoints - 2;  // the last pair starts here
  for (int k = k0; k <= last; ++k) {
    const CalPoint& a = p[static_cast<std::size_t>(k)];
    const CalPoint& b = p[static_cast<std::size_t>(k) + 1];
    const double slope = a.pixel == b.pixel ? 1.0
                                            : (static_cast<double>(b.lambda) - a.lambda) /
                                                  (static_cast<double>(b.pixel) - a.pixel);
    const double offset = a.lambda - a.pixel * slope;
    // The first line reaches down to pixel 0, the last up to the last pixel.
    const std::int64_t from = k == k0 ? 0 : std::max(a.pixel, 0);
    const std::int64_t to = k == last ? kLastPixel : std::min(b.pixel, kLastPixel);
    for (std::int64_t i = from; i <= to; ++i)
      Put(lambda, i, static_cast<double>(i) * slope + offset);
  }
  return true;
}

std::array<float, kSplineSequenceLength> SplineSequence() {
  std::array<float, kSplineSequenceLength> a{};
  a[1] = -1.0f;
  for (std::size_t n = 2; n < a.size(); ++n) a[n] = -(a[n - 2] + 4.0f * a[n - 1]);
  return a;
}

std::vector<double> NaturalSplineMoments(std::span<const double> y) {
  std::vector<double> m(y.size(), 0.0);
  if (y.size() < 3 || y.size() > static_cast<std::size_t>(kSplineSequenceLength)) return m;
  // Shooting from M[0] = 0, M[1] = x: M[k] = P[k] - a(k) x, the particular
  // part P taken with x = 0; M[N] = 0 then fixes x = P[N] / a(N).
  const auto a = SplineSequence();
  const std::size_t last = y.size() - 1;
  std::vector<double> part(y.size(), 0.0);
  for (std::size_t k = 1; k < last; ++k) {
    part[k + 1] = 6 * (y[k + 1] - 2 * y[k] + y[k - 1]) - 4 * part[k] - part[k - 1];
  }
  const double x = part[last] / a[last];
  for (std::size_t k = 1; k < last; ++k) m[k] = part[k] - a[k] * x;
  return m;
}

bool FillSpline(const CalPoints& points, LambdaTable& lambda) {
  std::array<CalPoint, kSplineCalPoints> p;
  std::copy_n(points.begin(), kSplineCalPoints, p.begin());
  for (CalPoint& e : p) {
    if (e.lambda == 0.0f) e.pixel = -1;
    if (e.pixel < 0) e.pixel = kUnusedLast;
  }
  std::stable_sort(p.begin(), p.end(),
                   [](const CalPoint& a, const CalPoint& b) { return a.pixel < b.pixel; });
  std::size_t count = 0;
  while (count < p.size() && p[count].pixel != kUnusedLast) ++count;
  if (count < 2) return false;

  // Knots: the first reference twice, the others, the last reference twice.
  std::vector<double> px{static_cast<double>(p[0].pixel)};
  std::vector<double> lb{static_cast<double>(p[0].lambda)};
  for (std::size_t k = 0; k < count; ++k) {
    px.push_back(p[k].pixel);
    lb.push_back(p[k].lambda);
  }
  px.push_back(px.back());
  lb.push_back(lb.back());
  const std::vector<double> mx = NaturalSplineMoments(px);
  const std::vector<double> ml = NaturalSplineMoments(lb);

  // Each pixel of a segment is found at the first of 8 samples per pixel
  // whose rounded pixel coordinate is that pixel. The parameter
  // never passes the segment's end, even where the spline skips a pixel.
  for (std::size_t k = 1; k < px.size(); ++k) {
    const std::int64_t start = std::llround(px[k - 1]);
    const std::int64_t d = std::llround(px[k] - px[k - 1]);
    const std::int64_t steps = std::max<std::int64_t>(kStepsPerPixel * d, 1);
    std::int64_t i = 0;
    double metPixel = static_cast<double>(start), metLambda = SplineAt(lb, ml, k, 0.0);
    for (std::int64_t j = 0; j <= d; ++j) {
      const std::int64_t pixel = start + j;
      const auto t = [&] { return static_cast<double>(i) / static_cast<double>(steps); };
      const std::int64_t from = i;
      if (i < steps) ++i;
      while (i < steps && std::nearbyint(SplineAt(px, mx, k, t())) != static_cast<double>(pixel)) {
        ++i;
      }
      if (std::nearbyint(SplineAt(px, mx, k, t())) != static_cast<double>(pixel)) {
        // The search ran off the segment's end (the pixel curve turned back
        // or jumped past this pixel): rather than give this pixel and every
        // later one the end's wavelength, go straight from the last pixel
        // met to the segment's end, and look for the next pixel from where
        // this search began.
        const double end = static_cast<double>(start + d);
        const double share = end > metPixel ? (static_cast<double>(pixel) - metPixel) / (end - metPixel) : 1.0;
        Put(lambda, pixel, metLambda + share * (SplineAt(lb, ml, k, 1.0) - metLambda));
        i = from;
        continue;
      }
      // The first sample that rounds to the pixel lies up to half a pixel
      // off it: the wavelength is taken where the pixel coordinate reaches
      // the pixel itself, found by bisection between the samples around it.
      const double target = static_cast<double>(pixel);
      const auto cross = [&](double lo, double hi) {
        for (int b = 0; b < 40; ++b) {
          const double mid = (lo + hi) / 2;
          (SplineAt(px, mx, k, mid) < target ? lo : hi) = mid;
        }
        return (lo + hi) / 2;
      };
      const auto sampleT = [&](std::int64_t n) { return static_cast<double>(n) / static_cast<double>(steps); };
      double at = t();
      const double x = SplineAt(px, mx, k, at);
      if (x > target && i > 0 && SplineAt(px, mx, k, sampleT(i - 1)) <= target) {
        at = cross(sampleT(i - 1), at);
      } else if (x < target) {
        std::int64_t n = i;
        while (n < steps && SplineAt(px, mx, k, sampleT(n + 1)) < target) ++n;
        at = n < steps ? cross(sampleT(n), sampleT(n + 1)) : sampleT(n);
      }
      metPixel = static_cast<double>(pixel);
      metLambda = SplineAt(lb, ml, k, at);
      Put(lambda, pixel, metLambda);
    }
  }

  // Straight lines beyond the references, along the table's slope over its
  // first and last 5 pixels (fewer when the references span fewer).
  const std::int64_t p1 = p[0].pixel;
  const std::int64_t pl = p[count - 1].pixel;
  const std::int64_t inner = std::min<std::int64_t>(pl, kLastPixel);
  const auto at = [&](std::int64_t i) { return static_cast<double>(lambda[i]); };
  if (p1 > 0 && p1 <= kLastPixel) {
    const std::int64_t span = std::min<std::int64_t>(kEndSlopeSpan, inner - p1);
    const double slope = span > 0 ? (at(p1 + span) - at(p1)) / static_cast<double>(span) : 0.0;
    for (std::int64_t i = 0; i < p1; ++i) {
      Put(lambda, i, at(p1) + static_cast<double>(i - p1) * slope);
    }
  }
  if (pl < kLastPixel) {
    const std::int64_t span =
        std::min<std::int64_t>(kEndSlopeSpan, pl - std::max<std::int64_t>(p1, 0));
    const double slope = span > 0 ? (at(pl) - at(pl - span)) / static_cast<double>(span) : 0.0;
    for (std::int64_t i = pl; i <= kLastPixel; ++i) {
      Put(lambda, i, at(pl) + static_cast<double>(i - pl) * slope);
    }
  }
  return true;
}

void CalibrationCurve(const CalPoints& points, std::int32_t kind, LambdaTable& lambda) {
  const bool done = kind == kSplineKind ? FillSpline(points, lambda) : FillLinear(points, lambda);
  if (!done) FillLinear(DefaultCalPoints(), lambda);
}

LambdaTable StartLambdaTab() {
  LambdaTable lambda{};
  FillLinear(DefaultCalPoints(), lambda);
  return lambda;
}

}  // namespace rovanel::optics
