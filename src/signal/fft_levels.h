// Internal to the transform: the squared moduli, their maximum and the
// levels 0..255 of the bins, in double as the definition has them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "signal/fft_pages.h"

namespace rovanel::signal::fft_detail {

inline double SquaredModulus(const float* c) {
  const double re = c[0];
  const double im = c[1];
  return re * re + im * im;
}

#if ROVANEL_FFT_AVX2
// Squared moduli of cells c .. c+3, in cell order.
ROVANEL_AVX2 inline __m256d SquaresAvx2(const float* c) {
  const __m256 v = _mm256_loadu_ps(c);
  const __m256d lo = _mm256_cvtps_pd(_mm256_castps256_ps128(v));    // re0 im0 re1 im1
  const __m256d hi = _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1));  // re2 im2 re3 im3
  const __m256d q = _mm256_hadd_pd(_mm256_mul_pd(lo, lo), _mm256_mul_pd(hi, hi));
  return _mm256_permute4x64_pd(q, 0xD8);
}

// max and the squared moduli of cells c .. c + 4*groups - 1.
ROVANEL_AVX2 inline double MaxSquareAvx2(const float* c, std::uint32_t groups, double max) {
  __m256d m = _mm256_set1_pd(max);
  for (std::uint32_t g = 0; g < groups; ++g) m = _mm256_max_pd(m, SquaresAvx2(c + 8 * g));
  alignas(32) double lanes[4];
  _mm256_store_pd(lanes, m);
  return std::max(std::max(lanes[0], lanes[1]), std::max(lanes[2], lanes[3]));
}

// The levels of cells c .. c+3 (see LevelScale).
ROVANEL_AVX2 inline void FourLevelsAvx2(const float* c, double max, bool realTime,
                                        std::int32_t* out) {
  const __m256d m = _mm256_sqrt_pd(SquaresAvx2(c));
  const __m256d vmax = _mm256_set1_pd(max);
  const __m256d c255 = _mm256_set1_pd(255.0);
  const __m256d v = realTime ? _mm256_mul_pd(_mm256_div_pd(m, vmax), c255)
                             : _mm256_div_pd(_mm256_mul_pd(c255, m), vmax);
  const __m256d r = _mm256_round_pd(v, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_cvtpd_epi32(r));
}
#endif

// The largest squared modulus of cells from..to-1 (-1 when there are none).
inline double MaxSquare(const CellPages& x, std::uint32_t from, std::uint32_t to) {
  double max = -1.0;
  x.ForEachRunIn(from, to, [&](const float* c, std::uint32_t, std::uint32_t n) {
    std::uint32_t k = 0;
#if ROVANEL_FFT_AVX2
    if (gVector) {
      max = MaxSquareAvx2(c, n / 4, max);
      k = n / 4 * 4;
    }
#endif
    for (; k < n; ++k) max = std::max(max, SquaredModulus(c + 2 * k));
  });
  return max;
}

// Level of the bins whose moduli are sqrt of the squared moduli:
// round(255 * m / max), or round(m / max * 255) for the real-time variant.
struct LevelScale {
  double max;
  bool realTime;
  std::uint8_t Of(double square) const {
    const double m = std::sqrt(square);
    const double v = realTime ? m / max * 255.0 : 255.0 * m / max;
    return static_cast<std::uint8_t>(std::nearbyint(v));
  }
};

// f(c, level) for the cells from <= c < to.
template <typename F>
inline void ForEachLevel(const CellPages& x, std::uint32_t from, std::uint32_t to, LevelScale scale,
                         F f) {
  x.ForEachRunIn(from, to, [&](const float* c, std::uint32_t first, std::uint32_t n) {
    std::uint32_t k = 0;
#if ROVANEL_FFT_AVX2
    if (gVector) {
      std::int32_t lv[4];
      for (; k + 4 <= n; k += 4) {
        FourLevelsAvx2(c + 2 * k, scale.max, scale.realTime, lv);
        for (std::uint32_t q = 0; q < 4; ++q) f(first + k + q, static_cast<std::uint8_t>(lv[q]));
      }
    }
#endif
    for (; k < n; ++k) f(first + k, scale.Of(SquaredModulus(c + 2 * k)));
  });
}

// The maximum modulus of the largest squared modulus q, 1 when not positive.
inline double MaxModulus(double q) {
  const double max = q < 0.0 ? -1000.0 : std::sqrt(q);
  return max <= 0.0 ? 1.0 : max;
}

}  // namespace rovanel::signal::fft_detail
