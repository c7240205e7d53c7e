#include "signal/prominence.h"

#include <algorithm>

#include "signal/peaks.h"

namespace rovanel::signal {

namespace {

// A sample of the top (a maximum or a plateau of them) reached by climbing
// from `i`.
std::size_t ClimbToTop(std::span<const std::uint8_t> curve, std::size_t i) {
  const std::size_t n = curve.size();
  for (;;) {
    // Across a plateau to the first sample that differs, either way.
    std::size_t right = i;
    while (right + 1 < n && curve[right + 1] == curve[i]) ++right;
    std::size_t left = i;
    while (left > 0 && curve[left - 1] == curve[i]) --left;
    if (right + 1 < n && curve[right + 1] > curve[i]) {
      i = right + 1;
    } else if (left > 0 && curve[left - 1] > curve[i]) {
      i = left - 1;
    } else {
      return i;
    }
  }
}

}  // namespace

int PeakProminence(std::span<const std::uint8_t> curve, std::size_t i) {
  const std::size_t n = curve.size();
  if (i >= n) return 0;
  const std::size_t top = ClimbToTop(curve, i);
  const std::uint8_t height = curve[top];
  std::uint8_t lowLeft = height;
  for (std::size_t k = top; k-- > 0 && curve[k] <= height;) lowLeft = std::min(lowLeft, curve[k]);
  std::uint8_t lowRight = height;
  for (std::size_t k = top + 1; k < n && curve[k] <= height; ++k)
    lowRight = std::min(lowRight, curve[k]);
  return height - std::max(lowLeft, lowRight);
}

bool ProminentEnough(std::span<const std::uint8_t> curve, std::size_t i, double percent) {
  if (percent <= 0) return true;
  return PeakProminence(curve, i) * 100.0 >= percent * 255.0;
}

std::vector<std::uint8_t> PeakSmoothed(std::span<const std::uint8_t> curve) {
  std::vector<std::uint8_t> a(curve.begin(), curve.end());
  // A sum of three integers over 3 is never a half: plain rounding.
  for (int pass = 0; pass < 10; ++pass)
    for (std::size_t i = 1; i + 1 < a.size(); ++i)
      a[i] = static_cast<std::uint8_t>((a[i - 1] + a[i] + a[i + 1] + 1) / 3);
  return a;
}

std::uint32_t KeepProminentMarks(std::span<const std::uint8_t> raw, std::span<std::uint8_t> marks,
                                 double percent) {
  const std::size_t n = std::min(raw.size(), marks.size());
  std::uint32_t kept = 0;
  const std::vector<std::uint8_t> smoothed = percent > 0 ? PeakSmoothed(raw.first(n))
                                                         : std::vector<std::uint8_t>{};
  const std::span<const std::uint8_t> curve(smoothed);
  for (std::size_t i = 0; i < n; ++i) {
    if (marks[i] == 0) continue;
    if (ProminentEnough(curve, i, percent))
      ++kept;
    else
      marks[i] = 0;
  }
  return kept;
}

std::vector<ProminentPeak> ProminentPeaks(std::span<const std::uint8_t> raw, double percent) {
  std::vector<ProminentPeak> out;
  if (raw.size() < 3) return out;
  std::vector<std::uint8_t> marks(raw.size());
  DetectPeaks(raw, marks);
  const std::vector<std::uint8_t> s = PeakSmoothed(raw);
  std::size_t lastTop = s.size();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (marks[i] == 0 || !ProminentEnough(s, i, percent)) continue;
    const std::size_t top = ClimbToTop(s, i);
    if (top == lastTop) continue;
    lastTop = top;
    const std::size_t from = top >= 4 ? top - 4 : 0, to = std::min(top + 4, s.size() - 1);
    const std::uint8_t floor = *std::min_element(s.begin() + static_cast<std::ptrdiff_t>(from),
                                                 s.begin() + static_cast<std::ptrdiff_t>(to) + 1);
    double sum = 0, moment = 0;
    for (std::size_t k = from; k <= to; ++k) {
      sum += s[k] - floor;
      moment += static_cast<double>(k) * (s[k] - floor);
    }
    out.push_back({sum > 0 ? moment / sum : static_cast<double>(top), PeakProminence(s, top)});
  }
  return out;
}

}  // namespace rovanel::signal
