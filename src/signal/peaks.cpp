#include "signal/peaks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "signal/in_place_passes.h"
#include "signal/paging.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rovanel::signal {

namespace {

enum : std::uint8_t { kUntouched = 0, kFlooded = 1, kPeakStart = 2 };

// kPeakSmoothPasses in-place sweeps of the 3-point mean over samples
// 1..n-2. Three levels over 3 never end in one half, so rounding the mean
// to nearest is (sum + 1) div 3.
#if defined(__SSE2__)
// All sweeps advance together, sweep q two samples behind sweep q-1 (see
// in_place_passes.h), with lane q of two vectors of 16-bit lanes holding
// sweep q's last two results instead of memory. Each step is then one short
// chain of vector operations for all ten sweeps. (sum + 1) div 3 is the high
// half of (sum + 1) * 21846 for sums below 32768.
void SmoothSweeps(std::span<std::uint8_t> a) {
  static_assert(kPeakSmoothPasses > 8 && kPeakSmoothPasses <= 16);
  constexpr std::ptrdiff_t kLast = kPeakSmoothPasses - 1;
  const auto n = static_cast<std::ptrdiff_t>(a.size());
  if (n < 3) return;
  // lo: sweeps 0..7, hi: sweeps 8..15. y1: latest result, y2: the one before.
  __m128i y1lo = _mm_setzero_si128(), y1hi = y1lo, y2lo = y1lo, y2hi = y1lo;
  const __m128i one = _mm_set1_epi16(1), third = _mm_set1_epi16(21846);
  const auto input = [&](std::ptrdiff_t i) { return i < n ? a[i] : 0; };
  for (std::ptrdiff_t t = 0; t <= n - 1 + 2 * kLast; ++t) {
    // Sweep q at t works on sample t - 2q with sweep q-1's results for that
    // sample and the next; sweep 0 takes them from the curve.
    const __m128i alo = _mm_insert_epi16(_mm_slli_si128(y2lo, 2), input(t), 0);
    const __m128i ahi = _mm_or_si128(_mm_slli_si128(y2hi, 2), _mm_srli_si128(y2lo, 14));
    const __m128i blo = _mm_insert_epi16(_mm_slli_si128(y1lo, 2), input(t + 1), 0);
    const __m128i bhi = _mm_or_si128(_mm_slli_si128(y1hi, 2), _mm_srli_si128(y1lo, 14));
    __m128i nlo =
        _mm_mulhi_epu16(_mm_add_epi16(_mm_add_epi16(y1lo, alo), _mm_add_epi16(blo, one)), third);
    __m128i nhi =
        _mm_mulhi_epu16(_mm_add_epi16(_mm_add_epi16(y1hi, ahi), _mm_add_epi16(bhi, one)), third);
    if (t < 2 * kPeakSmoothPasses || t > n - 2) {
      // A sweep at sample 0 or n-1 leaves it as it is.
      alignas(16) std::int16_t lanes[16];
      _mm_store_si128(reinterpret_cast<__m128i*>(lanes), nlo);
      _mm_store_si128(reinterpret_cast<__m128i*>(lanes + 8), nhi);
      for (std::ptrdiff_t q = 0; q <= kLast; ++q) {
        const std::ptrdiff_t i = t - 2 * q;
        if (i == 0 || i == n - 1) lanes[q] = a[i];
      }
      nlo = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes));
      nhi = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes + 8));
    }
    y2lo = y1lo;
    y2hi = y1hi;
    y1lo = nlo;
    y1hi = nhi;
    // The last sweep's result is final; the curve is read only further on.
    const std::ptrdiff_t done = t - 2 * kLast;
    if (done >= 1 && done <= n - 2) {
      a[done] = static_cast<std::uint8_t>(_mm_extract_epi16(nhi, kLast - 8));
    }
  }
}
#else
void SmoothSweeps(std::span<std::uint8_t> a) {
  detail::InPlacePasses<1>(a.data(), static_cast<std::ptrdiff_t>(a.size()), kPeakSmoothPasses,
                           [](const std::uint8_t* x) {
                             return static_cast<std::uint8_t>((x[-1] + x[0] + x[1] + 1) / 3);
                           });
}
#endif

// The working arrays of the search, kept from call to call: a search on the
// longest series needs about 1.2 MB, which allocated afresh each time made
// the heap grow and shrink on every call. They only grow.
struct Scratch {
  std::vector<std::uint8_t> smoothed, states;  // DetectPeaks, FloodPeaks
  std::vector<std::uint32_t> order;            // FloodPeaks
  std::vector<std::uint8_t> curve, marks, pagedStates;  // the paged form
};

Scratch& Buffers() {
  thread_local Scratch s;
  return s;
}

}  // namespace

std::uint32_t FloodPeaks(std::span<const std::uint8_t> s, std::span<std::uint8_t> marks,
                         std::span<std::uint8_t> states) {
  std::size_t n = std::min(s.size(), marks.size());
  if (!states.empty()) n = std::min(n, states.size());
  std::fill_n(marks.begin(), n, 0);
  std::vector<std::uint8_t>& st = Buffers().states;
  st.assign(n, kUntouched);
  for (std::size_t i = 0; i < std::min<std::size_t>(n, 2); ++i) st[i] = kFlooded;

  std::uint32_t peaks = 0;
  if (n >= 3) {
    // Samples 1..n-2 grouped by level, each group in increasing index: the
    // order in which a scan of every level over all samples meets them.
    std::array<std::uint32_t, 257> start{};
    for (std::size_t i = 1; i + 1 < n; ++i) ++start[s[i] + 1];
    for (int l = 0; l < 256; ++l) start[l + 1] += start[l];
    std::vector<std::uint32_t>& order = Buffers().order;
    order.resize(n - 2);
    {
      std::array<std::uint32_t, 257> next = start;
      for (std::size_t i = 1; i + 1 < n; ++i) order[next[s[i]]++] = static_cast<std::uint32_t>(i);
    }

    for (int level = 255; level >= 0; --level) {
      for (std::uint32_t k = start[level]; k < start[level + 1]; ++k) {
        const std::size_t i = order[k];
        if (st[i] == kPeakStart) continue;
        if (st[i] == kUntouched) {
          std::size_t end = i;
          while (end + 1 < n && s[end] == level) ++end;
          const double w = static_cast<double>(end - i);
          st[i] = kPeakStart;
          marks[i + static_cast<std::size_t>(std::nearbyint(w / 2 + 0.49))] = kPeakMark;
          ++peaks;
        }
        // Flooding: the right neighbour; the left neighbour with its run of
        // equal samples.
        if (st[i + 1] == kUntouched) st[i + 1] = kFlooded;
        if (st[i - 1] == kUntouched) {
          st[i - 1] = kFlooded;
          const std::uint8_t v = s[i - 1];
          for (std::size_t j = i - 1; j-- > 0 && s[j] == v;) st[j] = kFlooded;
        }
      }
    }
  }

  if (!states.empty()) std::copy_n(st.begin(), n, states.begin());
  return peaks;
}

std::uint32_t DetectPeaks(std::span<const std::uint8_t> curve, std::span<std::uint8_t> marks,
                          std::span<std::uint8_t> states) {
  std::size_t n = std::min(curve.size(), marks.size());
  if (!states.empty()) n = std::min(n, states.size());
  std::vector<std::uint8_t>& s = Buffers().smoothed;
  s.assign(curve.begin(), curve.begin() + static_cast<std::ptrdiff_t>(n));
  SmoothSweeps(s);
  return FloodPeaks(s, marks, states);
}

std::uint32_t DetectPeaks(const TLargeTab& curve, std::uint32_t n, TLargeTab& marks,
                          TLargeTab* states) {
  n = std::min({n, curve.Capacity(), marks.Capacity()});
  if (states) n = std::min(n, states->Capacity());
  Scratch& b = Buffers();
  std::vector<std::uint8_t>& c = b.curve;
  std::vector<std::uint8_t>& m = b.marks;
  std::vector<std::uint8_t>& st = b.pagedStates;
  c.resize(n);
  m.resize(n);
  st.resize(n);
  ReadSamples(curve, 0, c);
  const std::uint32_t peaks = DetectPeaks(c, m, st);
  WriteSamples(marks, 0, m);
  if (states) WriteSamples(*states, 0, st);
  return peaks;
}

}  // namespace rovanel::signal
