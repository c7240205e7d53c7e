#include "optics/fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <tuple>
#include <utility>
#include <vector>

namespace rovanel::optics {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;
using Vec = std::array<double, 5>;
using Mat = std::array<Vec, 5>;

constexpr int kMaxIterations = 100;
// Relative change of the SSR below which it is at its minimum: the
// parameters are then well within 1/100 of their uncertainty of it.
constexpr double kTolerance = 1e-10;
// Derivative steps: of the logarithm of a width, and of the centre (px).
constexpr double kLogStep = 1e-5;
constexpr double kCentreStep = 1e-3;

// The usable samples and the page. Parameters, in this order: ln(a or w),
// ln d (pages 1, 2), centre (px), height, background. The logarithms keep
// the widths positive and their scale out of the normal matrix.
struct Problem {
  int page = 0;
  SimulationParams fixed;
  std::vector<double> pixel, level;

  bool HasSpacing() const { return page == kPageTwoSlits || page == kPageGrating; }
  int Count() const { return HasSpacing() ? 5 : 4; }
  int Centre() const { return Count() - 3; }  // the last of the nonlinear ones
  int Height() const { return Count() - 2; }
  int Background() const { return Count() - 1; }
};

struct Shape {
  double width = 0.0;    // a, or w on page 3 (m)
  double spacing = 0.0;  // d (m)
  double centre = 0.0;   // px
};

// Height and background solved for a shape, and the SSR they leave.
struct Linear {
  double height = 0.0, background = 0.0, ssr = kInf;
};

Shape ShapeOf(const Problem& pb, const Vec& t) {
  return {std::exp(t[0]), pb.HasSpacing() ? std::exp(t[1]) : 0.0, t[pb.Centre()]};
}

Vec ParamsOf(const Problem& pb, const Shape& s, const Linear& lin) {
  Vec t{};
  t[0] = std::log(s.width);
  if (pb.HasSpacing()) t[1] = std::log(s.spacing);
  t[pb.Centre()] = s.centre;
  t[pb.Height()] = lin.height;
  t[pb.Background()] = lin.background;
  return t;
}

// Relative intensity of the model at each usable sample.
void Profile(const Problem& pb, const Shape& s, std::vector<double>& out) {
  out.resize(pb.pixel.size());
  const SimulationParams& f = pb.fixed;
  for (std::size_t k = 0; k < out.size(); ++k) {
    const double x = (pb.pixel[k] - s.centre) * kSimPitch;
    out[k] = pb.page == kPageGaussian ? GaussIntensity(s.width / std::numbers::sqrt2, x)
                                      : SlitIntensity(pb.page, s.width, f.Wavelength,
                                                      f.ScreenDistance, x, s.spacing, f.SlitCount);
  }
}

double Ssr(const Problem& pb, const std::vector<double>& prof, double height, double background) {
  double ssr = 0.0;
  for (std::size_t k = 0; k < prof.size(); ++k) {
    const double r = pb.level[k] - background - height * prof[k];
    ssr += r * r;
  }
  return std::isfinite(ssr) ? ssr : kInf;
}

// Linear least squares for height and background; an infinite SSR for a
// constant profile or a negative height.
Linear Fitted(const Problem& pb, const Shape& s, std::vector<double>& prof) {
  Profile(pb, s, prof);
  const double n = static_cast<double>(prof.size());
  double si = 0, sii = 0, sy = 0, siy = 0;
  for (std::size_t k = 0; k < prof.size(); ++k) {
    si += prof[k];
    sii += prof[k] * prof[k];
    sy += pb.level[k];
    siy += prof[k] * pb.level[k];
  }
  Linear lin;
  const double det = n * sii - si * si;
  if (!(det > 1e-12 * n * sii)) return lin;
  lin.height = (n * siy - si * sy) / det;
  lin.background = (sy - lin.height * si) / n;
  if (lin.height > 0.0) lin.ssr = Ssr(pb, prof, lin.height, lin.background);
  return lin;
}

// The brightest fringe need not be the central one when the envelope is
// broad: the shape moved by whole fringe periods, stepping each way while
// that fits better than `ssr` (looking one step past a worse one).
bool BetterNeighbour(const Problem& pb, Shape& s, Linear& lin, double ssr) {
  const Shape found = s;
  const double period = pb.fixed.Wavelength * pb.fixed.ScreenDistance / (found.spacing * kSimPitch);
  if (!pb.HasSpacing() || !(period >= 1.0)) return false;  // finer fringes have no order to read
  std::vector<double> prof;
  for (const int dir : {-1, 1}) {
    Shape moved = s;
    for (int m = 1; m <= pb.pixel.back() / period; ++m) {
      moved.centre += dir * period;
      if (moved.centre < pb.pixel.front() || moved.centre > pb.pixel.back()) break;
      const Linear l = Fitted(pb, moved, prof);
      if (l.ssr < ssr) {
        s = moved;
        lin = l;
        ssr = l.ssr;
      } else if (m >= 2 && s.centre != moved.centre - dir * period) {
        break;
      }
    }
  }
  return s.centre != found.centre;
}

// Solves a x = b in place by Cholesky; false when a is not positive definite.
bool Solve(const Mat& a, int p, Vec& b) {
  Mat l{};
  for (int i = 0; i < p; ++i) {
    for (int j = 0; j <= i; ++j) {
      double s = a[i][j];
      for (int k = 0; k < j; ++k) s -= l[i][k] * l[j][k];
      if (i == j && !(s > 0.0)) return false;
      l[i][j] = i == j ? std::sqrt(s) : s / l[j][j];
    }
  }
  for (int i = 0; i < p; ++i) {
    for (int k = 0; k < i; ++k) b[i] -= l[i][k] * b[k];
    b[i] /= l[i][i];
  }
  for (int i = p - 1; i >= 0; --i) {
    for (int k = i + 1; k < p; ++k) b[i] -= l[k][i] * b[k];
    b[i] /= l[i][i];
  }
  return true;
}

// ---- Levenberg–Marquardt ----------------------------------------------------

double SsrAt(const Problem& pb, const Vec& t, std::vector<double>& prof) {
  if (!std::all_of(t.begin(), t.end(), [](double v) { return std::isfinite(v); })) return kInf;
  Profile(pb, ShapeOf(pb, t), prof);
  return Ssr(pb, prof, t[pb.Height()], t[pb.Background()]);
}

// JᵀJ and Jᵀr at t. The shape columns by differences, central ones for the
// covariance and forward ones (half the cost) to steer the descent; height
// and background analytically.
void Normal(const Problem& pb, const Vec& t, bool central, Mat& a, Vec& g) {
  const int p = pb.Count();
  const double height = t[pb.Height()];
  std::vector<double> base, plus, minus;
  std::array<std::vector<double>, 3> deriv;
  Profile(pb, ShapeOf(pb, t), base);
  for (int j = 0; j <= pb.Centre(); ++j) {
    const double h = j == pb.Centre() ? kCentreStep : kLogStep;
    Vec tp = t, tm = t;
    tp[j] += h;
    tm[j] -= h;
    Profile(pb, ShapeOf(pb, tp), plus);
    if (central) Profile(pb, ShapeOf(pb, tm), minus);
    const std::vector<double>& low = central ? minus : base;
    for (std::size_t k = 0; k < base.size(); ++k) {
      deriv[j].push_back(height * (plus[k] - low[k]) / (central ? 2 * h : h));
    }
  }
  a = Mat{};
  g = Vec{};
  Vec row{};
  for (std::size_t k = 0; k < base.size(); ++k) {
    for (int j = 0; j <= pb.Centre(); ++j) row[j] = deriv[j][k];
    row[pb.Height()] = base[k];
    row[pb.Background()] = 1.0;
    const double r = pb.level[k] - t[pb.Background()] - height * base[k];
    for (int i = 0; i < p; ++i) {
      g[i] += row[i] * r;
      for (int j = 0; j < p; ++j) a[i][j] += row[i] * row[j];
    }
  }
}

struct Run {
  Vec t{};
  double ssr = kInf;
  int iterations = 0;
  bool converged = false;
};

Run Marquardt(const Problem& pb, const Vec& start) {
  const int p = pb.Count();
  std::vector<double> prof;
  Run run{start, SsrAt(pb, start, prof)};
  if (!std::isfinite(run.ssr)) return run;
  double floor = 0.0;  // an SSR this small matches the data to rounding
  for (const double y : pb.level) floor += y * y * 1e-24;
  double lambda = 1e-3;
  for (run.iterations = 1; run.iterations <= kMaxIterations; ++run.iterations) {
    Mat a;
    Vec g;
    Normal(pb, run.t, false, a, g);
    // The Gauss–Newton step promises a decrease of gᵀ(JᵀJ)⁻¹g: when that is
    // nothing worth having, this is the minimum.
    Vec gn = g;
    double promise = kInf;
    if (Solve(a, p, gn)) promise = std::inner_product(g.begin(), g.end(), gn.begin(), 0.0);
    if (promise <= kTolerance * run.ssr) break;
    double maxDiag = 0.0;
    for (int j = 0; j < p; ++j) maxDiag = std::max(maxDiag, a[j][j]);
    const double before = run.ssr;
    for (; lambda <= 1e10 && run.ssr == before; lambda *= 10.0) {
      Mat m = a;
      for (int j = 0; j < p; ++j) m[j][j] += lambda * std::max(a[j][j], 1e-12 * maxDiag);
      Vec trial = g;
      if (!Solve(m, p, trial)) continue;
      for (int j = 0; j < p; ++j) trial[j] += run.t[j];
      const double s = SsrAt(pb, trial, prof);
      if (s < run.ssr) run = {trial, s, run.iterations};
    }
    // No step, however short, lowers the SSR (this is its minimum), or the
    // last one lowered it by next to nothing.
    if (run.ssr == before || before - run.ssr <= kTolerance * before || run.ssr <= floor) break;
    lambda = std::max(lambda / 100.0, 1e-9);  // undo the last ×10, then relax
  }
  run.converged = run.iterations <= kMaxIterations;
  return run;
}

// ---- Starting values from the data -------------------------------------------

// Where f falls to 1/2, between lo (f > 1/2) and hi (f < 1/2).
template <class F>
double HalfPoint(F f, double lo, double hi) {
  for (int i = 0; i < 100; ++i) (f(0.5 * (lo + hi)) > 0.5 ? lo : hi) = 0.5 * (lo + hi);
  return 0.5 * (lo + hi);
}

double Quantile(std::vector<double> v, double q) {
  const auto at = v.begin() + static_cast<std::ptrdiff_t>(q * static_cast<double>(v.size() - 1));
  std::nth_element(v.begin(), at, v.end());
  return *at;
}

struct Sketch {
  double centre = 0.0;     // px
  double halfWidth = 0.0;  // half width at half height of the central peak, px
  double rise = 0.0;       // of the peak above the background, levels
  double noise = 0.0;      // levels
};

// The central peak of the lightly smoothed profile, all samples included:
// saturated ones still show where the light is.
Sketch Look(const std::vector<double>& y) {
  const int n = static_cast<int>(y.size());
  std::vector<double> s(y.size()), d2;
  for (int i = 0; i < n; ++i) {
    const int lo = std::max(i - 1, 0), hi = std::min(i + 1, n - 1);
    for (int k = lo; k <= hi; ++k) s[i] += y[k] / (hi - lo + 1);
    if (i > 0 && i + 1 < n) d2.push_back(std::abs(y[i - 1] - 2 * y[i] + y[i + 1]));
  }
  const double background = Quantile(s, 0.05);
  const int top = static_cast<int>(std::max_element(s.begin(), s.end()) - s.begin());
  Sketch k;
  k.rise = s[top] - background;
  // Read noise from the second differences (blind to slopes), by their median.
  k.noise = 1.4826 * Quantile(d2, 0.5) / std::sqrt(6.0);
  const double half = background + 0.5 * k.rise;
  int l = top, r = top;
  while (l > 0 && s[l - 1] > half) --l;
  while (r + 1 < n && s[r + 1] > half) ++r;
  const double xl = l > 0 ? l - (s[l] - half) / (s[l] - s[l - 1]) : l - 0.5;
  const double xr = r + 1 < n ? r + (s[r] - half) / (s[r] - s[r + 1]) : r + 0.5;
  k.centre = 0.5 * (xl + xr);
  k.halfWidth = std::max(0.5 * (xr - xl), 0.5);
  return k;
}

// The coarse search: widths from the central peak, refined on grids. The
// dialog's widths are one more candidate: a full descent from far-off
// values crawls through the local minima of a fringe pattern, at many times
// the cost, and loses.
Vec Start(const Problem& pb, const Sketch& k, const SimulationParams& user) {
  const double lambdaL = pb.fixed.Wavelength * pb.fixed.ScreenDistance;
  const double xHalf = k.halfWidth * kSimPitch;
  Shape best{0.0, 0.0, k.centre};  // the lowest SSR so far
  Linear linear;
  std::vector<double> prof;
  const auto probe = [&](const Shape& s) {
    const Linear lin = Fitted(pb, s, prof);
    if (lin.ssr < linear.ssr) std::tie(best, linear) = std::pair(s, lin);
  };
  // One width of the best shape set to from × ratio^i, i < count.
  const auto scan = [&](double Shape::*width, double from, double ratio, int count) {
    const Shape base = best;
    for (int i = 0; i < count; ++i) {
      Shape s = base;
      s.*width = from * std::pow(ratio, i);
      probe(s);
    }
  };
  if (pb.page == kPageGaussian) {
    const double w = xHalf * std::sqrt(2.0 / std::numbers::ln2);
    scan(&Shape::width, w / 2, 1.062, 24);
  } else if (pb.page == kPageOneSlit) {
    const double u = HalfPoint([](double v) { return Sinc(v) * Sinc(v); }, 0.0, kPi);
    scan(&Shape::width, u * lambdaL / (kPi * xHalf) / 2, 1.062, 24);
  } else {
    // The central fringe gives d; then a from d/25 to d, d, and a again.
    const double n = pb.page == kPageTwoSlits ? 2.0 : pb.fixed.SlitCount;
    const double beta =
        HalfPoint([n](double v) { return std::pow(GratingFactor(v, n), 2); }, 0.0, kPi / n);
    const double d = beta * lambdaL / (kPi * xHalf);
    best.spacing = d;
    scan(&Shape::width, d / 25, std::pow(25.0, 1.0 / 11), 12);
    scan(&Shape::spacing, d * std::exp(-0.24), std::exp(0.03), 17);
    BetterNeighbour(pb, best, linear, linear.ssr);
    scan(&Shape::width, best.width * std::exp(-0.28), std::exp(0.07), 9);
  }
  Shape dialog = best;
  dialog.width = pb.page == kPageGaussian ? user.Waist : user.SlitWidth;
  if (pb.HasSpacing()) dialog.spacing = user.SlitSpacing;
  if (dialog.width > 0 && std::isfinite(dialog.width) &&
      (!pb.HasSpacing() || (dialog.spacing > 0 && std::isfinite(dialog.spacing)))) {
    probe(dialog);
  }
  return ParamsOf(pb, best, linear);
}

FitResult Refuse(std::string why) {
  FitResult r;
  r.why = std::move(why);
  return r;
}

FitResult Fit(const std::vector<double>& all, const std::vector<bool>& usable, int page,
              const SimulationParams& given) {
  if (page < kPageOneSlit || page > kPageGaussian) {
    return Refuse("unknown model page " + std::to_string(page) +
                  " (0 one slit, 1 two slits, 2 grating, 3 Gaussian beam)");
  }
  const double l = given.ScreenDistance, lambda = given.Wavelength;
  if (page != kPageGaussian && !(l > 0 && lambda > 0 && std::isfinite(l * lambda))) {
    return Refuse("the screen distance and the wavelength must be positive");
  }
  if (page == kPageGrating && !(given.SlitCount > 1 && std::isfinite(given.SlitCount))) {
    return Refuse("a grating needs more than one slit for its spacing to show");
  }
  Problem pb{page, given, {}, {}};
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (!usable[i]) continue;
    pb.pixel.push_back(static_cast<double>(i));
    pb.level.push_back(all[i]);
  }
  const int n = static_cast<int>(pb.pixel.size());
  const int p = pb.Count();
  if (n <= p) {
    return Refuse("only " + std::to_string(n) + " usable samples of " + std::to_string(all.size()) +
                  " (saturated, dark or missing ones are left out); fitting " + std::to_string(p) +
                  " parameters needs at least " + std::to_string(p + 1));
  }
  const Sketch sketch = Look(all);
  if (!(sketch.rise >= std::max(3.5 * sketch.noise, 1.0))) {
    return Refuse("the curve is flat: no pattern stands out from the noise");
  }
  Run best = Marquardt(pb, Start(pb, sketch, given));
  for (int round = 0; round < 3 && best.converged; ++round) {
    Shape moved = ShapeOf(pb, best.t);
    Linear lin;
    if (!BetterNeighbour(pb, moved, lin, best.ssr)) break;
    const Run other = Marquardt(pb, ParamsOf(pb, moved, lin));
    if (!other.converged || other.ssr >= best.ssr) break;
    best = other;
  }
  if (!best.converged) return Refuse("the fit did not converge");
  if (!(best.t[pb.Height()] > 0.0)) return Refuse("the fitted pattern has no positive height");

  // Covariance s² (JᵀJ)⁻¹ at the minimum, s² = SSR / (n - p).
  Mat a;
  Vec g, sigma{};
  Normal(pb, best.t, true, a, g);
  for (int j = 0; j < p; ++j) {
    Vec e{};
    e[j] = 1.0;
    if (!Solve(a, p, e) || !(e[j] > 0.0)) {
      return Refuse(
          "the data do not determine all the parameters (the model barely depends on one)");
    }
    sigma[j] = std::sqrt(best.ssr / (n - p) * e[j]);
  }
  const Shape shape = ShapeOf(pb, best.t);
  FitResult r;
  r.params = given;
  r.centre = shape.centre;
  r.height = best.t[pb.Height()];
  r.background = best.t[pb.Background()];
  r.sigmaCentre = sigma[pb.Centre()];
  r.sigmaHeight = sigma[pb.Height()];
  r.sigmaBackground = sigma[pb.Background()];
  r.rms = std::sqrt(best.ssr / n);
  r.iterations = best.iterations;
  r.samples = n;
  (page == kPageGaussian ? r.params.Waist : r.params.SlitWidth) = shape.width;
  (page == kPageGaussian ? r.sigmaWaist : r.sigmaSlitWidth) = shape.width * sigma[0];
  if (pb.HasSpacing()) {
    r.params.SlitSpacing = shape.spacing;
    r.sigmaSlitSpacing = shape.spacing * sigma[1];
  }
  for (const double v : {shape.width, shape.spacing, r.centre, r.height, r.background, sigma[0],
                         sigma[1], sigma[2], sigma[3], sigma[4], r.rms}) {
    if (!std::isfinite(v)) return Refuse("the fit gave values that are not numbers");
  }
  r.ok = true;
  return r;
}

}  // namespace

FitResult FitSimulation(std::span<const std::uint8_t> measured, int page,
                        const SimulationParams& start) {
  std::vector<double> all(measured.begin(), measured.end());
  std::vector<bool> usable(measured.size());
  for (std::size_t i = 0; i < measured.size(); ++i) usable[i] = all[i] > 0 && all[i] < 255;
  return Fit(all, usable, page, start);
}

FitResult FitSimulation(std::span<const double> measured, int page, const SimulationParams& start) {
  // Missing samples are left out of the fit; for the first look at the
  // curve they repeat the last sample before them (the first after them).
  std::vector<double> all(measured.begin(), measured.end());
  std::vector<bool> usable(measured.size());
  const auto finite = [](double v) { return std::isfinite(v); };
  const auto first = std::find_if(all.begin(), all.end(), finite);
  double last = first == all.end() ? 0.0 : *first;
  for (std::size_t i = 0; i < all.size(); ++i) {
    usable[i] = finite(all[i]);
    if (usable[i])
      last = all[i];
    else
      all[i] = last;
  }
  return Fit(all, usable, page, start);
}

}  // namespace rovanel::optics
