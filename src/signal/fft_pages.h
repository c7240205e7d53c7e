// Internal to the transform: the FFT stores seen as pages of float pairs,
// and the switch between the vector and scalar kernels.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "signal/large_tab.h"

#if defined(__x86_64__) && defined(__GNUC__)
#define ROVANEL_FFT_AVX2 1
#include <immintrin.h>
#define ROVANEL_AVX2 __attribute__((target("avx2")))
#endif

namespace rovanel::signal::fft_detail {

// ---------------------------------------------------------------------------
// Paged cells

constexpr std::uint32_t kCellShift = TDblTab::kBlockShift;
constexpr std::uint32_t kBlockCells = TDblTab::BlockElements;
constexpr std::uint32_t kCellMask = kBlockCells - 1;

// True when cells 0..cells-1 of t are all allocated.
inline bool HoldsCells(const TDblTab& t, std::uint32_t cells) {
  if (cells == 0) return true;
  if (t.Capacity() < cells) return false;
  for (std::uint32_t b = 0; b <= (cells - 1) >> kCellShift; ++b) {
    if (!t.BlockData(b)) return false;
  }
  return true;
}

// A TDblTab seen as pairs of floats: cell c is At(c)[0] (real), At(c)[1]
// (imaginary). The blocks are byte arrays, in which the floats live as written.
class CellPages {
 public:
  explicit CellPages(TDblTab& t) {
    for (std::uint32_t b = 0; b < t.BlockCount(); ++b) {
      blocks_[b] = reinterpret_cast<float*>(t.BlockData(b));
    }
  }
  float* At(std::uint32_t cell) const {
    return blocks_[cell >> kCellShift] + 2 * static_cast<std::size_t>(cell & kCellMask);
  }
  // f(cells, first, n) for each run of cells [first, first + n) of [0, count) inside one block.
  template <typename F>
  void ForEachRun(std::uint32_t count, F f) const {
    ForEachRunIn(0, count, f);
  }
  // The same for the cells [from, to).
  template <typename F>
  void ForEachRunIn(std::uint32_t from, std::uint32_t to, F f) const {
    while (from < to) {
      const std::uint32_t n = std::min(kBlockCells - (from & kCellMask), to - from);
      f(At(from), from, n);
      from += n;
    }
  }

 private:
  std::array<float*, 256> blocks_{};
};

inline bool CpuHasAvx2() {
#if ROVANEL_FFT_AVX2
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

// Whether the vector kernels run (tests turn them off to compare).
inline bool gVector = CpuHasAvx2();

}  // namespace rovanel::signal::fft_detail
