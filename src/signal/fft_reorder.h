// Internal to the transform: the last stage's result put in the order of
// the bins (X[0] = R[0], X[size-k] = R[k]).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "signal/fft_pages.h"

namespace rovanel::signal::fft_detail {

#if ROVANEL_FFT_AVX2
// Reverses whole groups of four cells; returns how many cells it did.
ROVANEL_AVX2 inline std::uint32_t ReverseRunAvx2(const float* s, float* t, std::uint32_t run) {
  std::uint32_t r = 0;
  for (; r + 4 <= run; r += 4) {
    const __m256d v = _mm256_castps_pd(_mm256_loadu_ps(s + 2 * r));
    _mm256_storeu_ps(t - 2 * static_cast<std::ptrdiff_t>(r + 3),
                     _mm256_castpd_ps(_mm256_permute4x64_pd(v, 0x1B)));
  }
  return r;
}
#endif

// `run` cells from s upward into t downward.
inline void ReverseRun(const float* s, float* t, std::uint32_t run) {
  std::uint32_t r = 0;
#if ROVANEL_FFT_AVX2
  if (gVector) r = ReverseRunAvx2(s, t, run);
#endif
  for (; r < run; ++r) {
    float* c = t - 2 * static_cast<std::ptrdiff_t>(r);
    c[0] = s[2 * r];
    c[1] = s[2 * r + 1];
  }
}

#if ROVANEL_FFT_AVX2
// Swaps whole groups of four cells; returns how many cells it did.
ROVANEL_AVX2 inline std::uint32_t SwapReversedAvx2(float* lo, float* top, std::uint32_t run) {
  std::uint32_t r = 0;
  for (; r + 4 <= run; r += 4) {
    float* a = lo + 2 * r;
    float* b = top - 2 * static_cast<std::ptrdiff_t>(r + 3);
    const __m256d va = _mm256_castps_pd(_mm256_loadu_ps(a));
    const __m256d vb = _mm256_castps_pd(_mm256_loadu_ps(b));
    _mm256_storeu_ps(a, _mm256_castpd_ps(_mm256_permute4x64_pd(vb, 0x1B)));
    _mm256_storeu_ps(b, _mm256_castpd_ps(_mm256_permute4x64_pd(va, 0x1B)));
  }
  return r;
}
#endif

// Swaps cell lo + r with cell top - r for r < run; the two ranges do not overlap.
inline void SwapReversed(float* lo, float* top, std::uint32_t run) {
  std::uint32_t r = 0;
#if ROVANEL_FFT_AVX2
  if (gVector) r = SwapReversedAvx2(lo, top, run);
#endif
  for (; r < run; ++r) {
    float* a = lo + 2 * r;
    float* b = top - 2 * static_cast<std::ptrdiff_t>(r);
    std::swap(a[0], b[0]);
    std::swap(a[1], b[1]);
  }
}

// dst[0] := src[0], dst[size - k] := src[k] for k = 1..size-1.
inline void ReverseCells(const CellPages& src, const CellPages& dst, std::uint32_t size) {
  std::memcpy(dst.At(0), src.At(0), 2 * sizeof(float));
  std::uint32_t k = 1;
  while (k < size) {
    const std::uint32_t d = size - k;
    const std::uint32_t run = std::min({kBlockCells - (k & kCellMask), (d & kCellMask) + 1, d});
    ReverseRun(src.At(k), dst.At(d), run);
    k += run;
  }
}

// The same within one array: cells k and size - k swap places.
inline void ReverseCellsInPlace(const CellPages& x, std::uint32_t size) {
  const std::uint32_t half = size / 2;
  std::uint32_t k = 1;
  while (k < half) {
    const std::uint32_t d = size - k;
    const std::uint32_t run =
        std::min({kBlockCells - (k & kCellMask), (d & kCellMask) + 1, half - k});
    // Cells k .. k+run-1 lie below the middle and d-run+1 .. d above it.
    SwapReversed(x.At(k), x.At(d), run);
    k += run;
  }
}

}  // namespace rovanel::signal::fft_detail
