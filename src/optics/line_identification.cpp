#include "optics/line_identification.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace rovanel::optics {

namespace {

// λ = c0 + c1 x + c2 x², x = pixel / 1000 (for a well-conditioned fit).
struct Dispersion {
  std::array<double, 3> c{};
  double At(double pixel) const {
    const double x = pixel / 1000.0;
    return c[0] + x * (c[1] + x * c[2]);
  }
  // nm per pixel at `pixel`.
  double Slope(double pixel) const { return (c[1] + 2.0 * c[2] * pixel / 1000.0) / 1000.0; }
};

struct Match {
  std::size_t peak, line;
};

// Least squares through the matched pairs: a parabola from four pairs, a
// straight line below; nullopt for a singular system.
std::optional<Dispersion> Fit(std::span<const SpectrumPeak> peaks, std::span<const double> lines,
                              const std::vector<Match>& matches) {
  const int terms = matches.size() >= 4 ? 3 : 2;
  double a[3][4] = {};
  for (const Match& m : matches) {
    const double x = peaks[m.peak].pixel / 1000.0, y = lines[m.line];
    const double powers[3] = {1.0, x, x * x};
    for (int r = 0; r < terms; ++r) {
      for (int c = 0; c < terms; ++c) a[r][c] += powers[r] * powers[c];
      a[r][3] += powers[r] * y;
    }
  }
  // Gauss-Jordan elimination with partial pivoting.
  for (int col = 0; col < terms; ++col) {
    int pivot = col;
    for (int r = col + 1; r < terms; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (std::fabs(a[pivot][col]) < 1e-12) return std::nullopt;
    std::swap(a[col], a[pivot]);
    for (int r = 0; r < terms; ++r) {
      if (r == col) continue;
      const double f = a[r][col] / a[col][col];
      for (int c = col; c < 4; ++c) a[r][c] -= f * a[col][c];
    }
  }
  Dispersion d;
  for (int r = 0; r < terms; ++r) d.c[static_cast<std::size_t>(r)] = a[r][3] / a[r][r];
  return d;
}

// Each peak to its nearest line within `tolerancePx` pixels of dispersion;
// a line claimed twice goes to the closer peak.
std::vector<Match> MatchPeaks(std::span<const SpectrumPeak> peaks, std::span<const double> lines,
                              const Dispersion& d, double tolerancePx, double& spread) {
  std::vector<double> best(lines.size(), std::numeric_limits<double>::infinity());
  std::vector<std::size_t> owner(lines.size(), peaks.size());
  for (std::size_t p = 0; p < peaks.size(); ++p) {
    const double nm = d.At(peaks[p].pixel);
    const double tolerance = tolerancePx * std::fabs(d.Slope(peaks[p].pixel));
    const auto it = std::lower_bound(lines.begin(), lines.end(), nm);
    std::size_t line = lines.size();
    double off = tolerance;
    for (auto c : {it, it == lines.begin() ? it : it - 1})
      if (c != lines.end() && std::fabs(*c - nm) <= off) {
        off = std::fabs(*c - nm);
        line = static_cast<std::size_t>(c - lines.begin());
      }
    if (line < lines.size() && off < best[line]) {
      best[line] = off;
      owner[line] = p;
    }
  }
  std::vector<Match> matches;
  spread = 0;
  for (std::size_t l = 0; l < lines.size(); ++l)
    if (owner[l] < peaks.size()) {
      matches.push_back({owner[l], l});
      spread += best[l] * best[l];
    }
  std::sort(matches.begin(), matches.end(), [](const Match& x, const Match& y) { return x.peak < y.peak; });
  return matches;
}

// A dispersion a spectrometer can have over the sensor: rising, within the
// range, and not bending by more than half its slope.
bool Plausible(const Dispersion& d) {
  const double first = d.Slope(0), last = d.Slope(2047);
  return first >= kMinDispersion && last >= kMinDispersion && first <= kMaxDispersion &&
         last <= kMaxDispersion && std::fabs(last - first) <= 0.5 * std::min(first, last);
}

}  // namespace

std::vector<IdentifiedLine> IdentifyLines(std::span<const SpectrumPeak> peaksIn,
                                          std::span<const double> linesIn, std::size_t most) {
  std::vector<SpectrumPeak> peaks(peaksIn.begin(), peaksIn.end());
  std::sort(peaks.begin(), peaks.end(),
            [](const SpectrumPeak& a, const SpectrumPeak& b) { return a.pixel < b.pixel; });
  std::vector<double> lines(linesIn.begin(), linesIn.end());
  std::sort(lines.begin(), lines.end());

  std::vector<Match> chosen;
  double chosenSpread = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < peaks.size(); ++i)
    for (std::size_t j = i + 1; j < peaks.size(); ++j)
      for (std::size_t a = 0; a < lines.size(); ++a)
        for (std::size_t b = a + 1; b < lines.size(); ++b) {
          const double slope = (lines[b] - lines[a]) / (peaks[j].pixel - peaks[i].pixel);
          if (!(slope >= kMinDispersion && slope <= kMaxDispersion)) continue;
          Dispersion d;
          d.c[1] = slope * 1000.0;
          d.c[0] = lines[a] - slope * peaks[i].pixel;
          // Loose while the dispersion is a straight guess, then closer.
          double spread = 0;
          std::vector<Match> m;
          bool plausible = true;
          for (const double tolerancePx : {60.0, 20.0, 8.0}) {
            m = MatchPeaks(peaks, lines, d, tolerancePx, spread);
            const auto refit = m.size() >= 2 ? Fit(peaks, lines, m) : std::nullopt;
            if (!refit || !Plausible(*refit)) {
              plausible = false;
              break;
            }
            d = *refit;
          }
          if (!plausible) continue;
          m = MatchPeaks(peaks, lines, d, 8.0, spread);
          if (m.size() > chosen.size() || (m.size() == chosen.size() && spread < chosenSpread)) {
            chosen = m;
            chosenSpread = spread;
          }
        }
  if (chosen.size() < 3) return {};

  // Too many: the first and last, then the strongest of the others.
  if (chosen.size() > most && most >= 2) {
    std::vector<Match> middle(chosen.begin() + 1, chosen.end() - 1);
    std::stable_sort(middle.begin(), middle.end(), [&](const Match& x, const Match& y) {
      return peaks[x.peak].strength > peaks[y.peak].strength;
    });
    middle.resize(most - 2);
    middle.push_back(chosen.front());
    middle.push_back(chosen.back());
    std::sort(middle.begin(), middle.end(), [](const Match& x, const Match& y) { return x.peak < y.peak; });
    chosen = middle;
  }
  std::vector<IdentifiedLine> out;
  for (const Match& m : chosen) out.push_back({peaks[m.peak].pixel, lines[m.line]});
  return out;
}

}  // namespace rovanel::optics
