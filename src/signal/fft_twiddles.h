// Internal to the transform: the twiddle table, cos and sin of a * 2pi/size
// rounded to floats exactly as the library's would be, from two small tables.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "signal/fft_pages.h"

namespace rovanel::signal::fft_detail {

// ---------------------------------------------------------------------------
// Twiddles: cos and sin of a*s = h*F*s + b*s (F a power of two, b < F) from two small tables of
// exact values by the angle-sum formulas, within a few units of the last
// double place of the true values (and of the library's). Rounding to float
// is monotonic, so when d - kTwiddleSlack and d + kTwiddleSlack round to the
// same float, so does the library's value; otherwise (a value near the
// middle between two floats, or near zero) it is computed directly.

constexpr double kTwiddleSlack = 0x1p-47;

struct TwiddleTables {
  double s;
  std::uint32_t fineShift;  // a = (h << fineShift) + b
  std::vector<double> cosFine, sinFine, cosCoarse, sinCoarse;
};

inline TwiddleTables MakeTwiddleTables(std::uint32_t size, std::uint32_t half) {
  TwiddleTables t;
  t.s = static_cast<float>(2.0 * std::numbers::pi / size);
  // About sqrt(half) entries in each table, at least four fine ones.
  t.fineShift = std::max<std::uint32_t>(2, (std::bit_width(half) + 1) / 2);
  const std::uint32_t fine = 1u << t.fineShift;
  const std::uint32_t coarse = (half + fine - 1) >> t.fineShift;
  t.cosFine.resize(fine);
  t.sinFine.resize(fine);
  t.cosCoarse.resize(coarse);
  t.sinCoarse.resize(coarse);
  for (std::uint32_t b = 0; b < fine; ++b) {
    t.cosFine[b] = std::cos(b * t.s);
    t.sinFine[b] = std::sin(b * t.s);
  }
  for (std::uint32_t h = 0; h < coarse; ++h) {
    const double x = static_cast<double>(h << t.fineShift) * t.s;
    t.cosCoarse[h] = std::cos(x);
    t.sinCoarse[h] = std::sin(x);
  }
  return t;
}

// d as a float when its rounding is sure, else `direct` as a float.
template <typename F>
inline float Narrow(double d, F direct) {
  const auto lo = static_cast<float>(d - kTwiddleSlack);
  const auto hi = static_cast<float>(d + kTwiddleSlack);
  return std::bit_cast<std::uint32_t>(lo) == std::bit_cast<std::uint32_t>(hi)
             ? lo
             : static_cast<float>(direct());
}

inline void TwiddleScalar(const TwiddleTables& t, std::uint32_t a, float* cell) {
  const std::uint32_t h = a >> t.fineShift;
  const std::uint32_t b = a & ((1u << t.fineShift) - 1);
  const double c = t.cosCoarse[h] * t.cosFine[b] - t.sinCoarse[h] * t.sinFine[b];
  const double s = t.sinCoarse[h] * t.cosFine[b] + t.cosCoarse[h] * t.sinFine[b];
  cell[0] = Narrow(c, [&] { return std::cos(a * t.s); });
  cell[1] = Narrow(s, [&] { return std::sin(a * t.s); });
}

#if ROVANEL_FFT_AVX2
// Narrow for four lanes: the floats when all four are sure, else false.
ROVANEL_AVX2 inline bool NarrowFour(__m256d d, __m128& f) {
  const __m256d slack = _mm256_set1_pd(kTwiddleSlack);
  const __m128 lo = _mm256_cvtpd_ps(_mm256_sub_pd(d, slack));
  const __m128 hi = _mm256_cvtpd_ps(_mm256_add_pd(d, slack));
  f = lo;
  return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_castps_si128(lo), _mm_castps_si128(hi))) == 0xFFFF;
}

// Cells a0 .. a0+3 (a0 a multiple of 4), all with the same coarse index.
ROVANEL_AVX2 inline void TwiddleFourAvx2(const TwiddleTables& t, std::uint32_t a0, float* cells) {
  const std::uint32_t h = a0 >> t.fineShift;
  const std::uint32_t b = a0 & ((1u << t.fineShift) - 1);
  const __m256d cc = _mm256_set1_pd(t.cosCoarse[h]);
  const __m256d sc = _mm256_set1_pd(t.sinCoarse[h]);
  const __m256d cf = _mm256_loadu_pd(&t.cosFine[b]);
  const __m256d sf = _mm256_loadu_pd(&t.sinFine[b]);
  const __m256d c = _mm256_sub_pd(_mm256_mul_pd(cc, cf), _mm256_mul_pd(sc, sf));
  const __m256d s = _mm256_add_pd(_mm256_mul_pd(sc, cf), _mm256_mul_pd(cc, sf));
  __m128 fc, fs;
  if (NarrowFour(c, fc) && NarrowFour(s, fs)) {
    _mm_storeu_ps(cells, _mm_unpacklo_ps(fc, fs));
    _mm_storeu_ps(cells + 4, _mm_unpackhi_ps(fc, fs));
  } else {
    for (std::uint32_t k = 0; k < 4; ++k) TwiddleScalar(t, a0 + k, cells + 2 * k);
  }
}
#endif

// Fills the twiddle table, calling done(k) each time cells 0..k-1 are
// ready, at least every four cells.
template <typename Done>
void FillTwiddles(TDblTab& twiddles, std::uint32_t size, Done done) {
  const std::uint32_t half = size / 2;
  if (half == 0) return;
  const TwiddleTables t = MakeTwiddleTables(size, half);
  if (!HoldsCells(twiddles, half)) {
    for (std::uint32_t a = 0; a < half; ++a) {
      float cell[2];
      TwiddleScalar(t, a, cell);
      twiddles.SetComplex(a, cell[0], cell[1]);
      done(a + 1);
    }
    return;
  }
  CellPages(twiddles).ForEachRun(half, [&](float* cells, std::uint32_t first, std::uint32_t n) {
    std::uint32_t k = 0;
#if ROVANEL_FFT_AVX2
    // Runs start at multiples of 4096, so four cells never straddle two coarse entries.
    if (gVector) {
      for (; k + 4 <= n; k += 4) {
        TwiddleFourAvx2(t, first + k, cells + 2 * k);
        done(first + k + 4);
      }
    }
#endif
    for (; k < n; ++k) {
      TwiddleScalar(t, first + k, cells + 2 * k);
      done(first + k + 1);
    }
  });
}

}  // namespace rovanel::signal::fft_detail
