#include "signal/fft.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <numbers>
#include <vector>

#include "signal/fft_levels.h"
#include "signal/fft_pages.h"
#include "signal/fft_reorder.h"
#include "signal/fft_twiddles.h"
#include "signal/paging.h"

namespace rovanel::signal {

namespace {

using namespace fft_detail;

constexpr std::uint32_t kChunkButterflies = 512;

// ---------------------------------------------------------------------------
// Butterflies

// One butterfly; every operation on single floats, in the order of the definition.
inline void Butterfly(const float* x, const float* y, float wr, float wi, float* lo, float* hi) {
  const float tr = y[0] * wr - y[1] * wi;
  const float ti = y[0] * wi + y[1] * wr;
  lo[0] = x[0] + tr;
  lo[1] = x[1] + ti;
  hi[0] = x[0] - tr;
  hi[1] = x[1] - ti;
}

// `count` butterflies sharing twiddle w, on contiguous cells.
void RunSharedScalar(const float* x, const float* y, const float* w, float* lo, float* hi,
                     std::uint32_t count) {
  for (std::uint32_t k = 0; k < count; ++k) {
    Butterfly(x + 2 * k, y + 2 * k, w[0], w[1], lo + 2 * k, hi + 2 * k);
  }
}

// `count` butterflies of a stage with L < count: `src` holds cells 2*j0 ..,
// `tw` cells j0 .., lo and hi the destination cells j0 .. and j0 + size/2 ...
void RunGroupsScalar(const float* src, const float* tw, float* lo, float* hi, std::uint32_t count,
                     std::uint32_t L) {
  for (std::uint32_t j = 0; j < count; ++j) {
    const std::uint32_t a = j - j % L;
    const std::uint32_t i1 = a + j;
    Butterfly(src + 2 * i1, src + 2 * (i1 + L), tw[2 * a], tw[2 * a + 1], lo + 2 * j, hi + 2 * j);
  }
}

#if ROVANEL_FFT_AVX2
// Four butterflies per vector. The products, sums and differences are those
// of Butterfly lane by lane (addsub forms yr*wr - yi*wi and yi*wr + yr*wi),
// so the results are bit-identical.

ROVANEL_AVX2 inline __m256 Twist(__m256 y, __m256 wr, __m256 wi) {
  const __m256 a = _mm256_mul_ps(y, wr);                           // yr*wr, yi*wr
  const __m256 b = _mm256_mul_ps(_mm256_permute_ps(y, 0xB1), wi);  // yi*wi, yr*wi
  return _mm256_addsub_ps(a, b);
}

ROVANEL_AVX2 inline void StoreBoth(float* lo, float* hi, __m256 x, __m256 t) {
  _mm256_storeu_ps(lo, _mm256_add_ps(x, t));
  _mm256_storeu_ps(hi, _mm256_sub_ps(x, t));
}

ROVANEL_AVX2 void RunSharedAvx2(const float* x, const float* y, const float* w, float* lo,
                                float* hi, std::uint32_t count) {
  const __m256 wr = _mm256_set1_ps(w[0]);
  const __m256 wi = _mm256_set1_ps(w[1]);
  std::uint32_t k = 0;
  for (; k + 4 <= count; k += 4) {
    const __m256 t = Twist(_mm256_loadu_ps(y + 2 * k), wr, wi);
    StoreBoth(lo + 2 * k, hi + 2 * k, _mm256_loadu_ps(x + 2 * k), t);
  }
  RunSharedScalar(x + 2 * k, y + 2 * k, w, lo + 2 * k, hi + 2 * k, count - k);
}

ROVANEL_AVX2 void RunGroupsAvx2(const float* src, const float* tw, float* lo, float* hi,
                                std::uint32_t count, std::uint32_t L) {
  if (count % 4 != 0) {
    RunGroupsScalar(src, tw, lo, hi, count, L);
    return;
  }
  if (L >= 4) {
    for (std::uint32_t g = 0; g < count; g += L) {
      RunSharedAvx2(src + 4 * g, src + 4 * g + 2 * L, tw + 2 * g, lo + 2 * g, hi + 2 * g, L);
    }
    return;
  }
  for (std::uint32_t j = 0; j < count; j += 4) {
    // Source cells 2j .. 2j+7 and twiddle cells j .. j+3.
    const __m256 v0 = _mm256_loadu_ps(src + 4 * j);
    const __m256 v1 = _mm256_loadu_ps(src + 4 * j + 8);
    const __m256 w = _mm256_loadu_ps(tw + 2 * j);
    __m256 x, y, wsel;
    if (L == 2) {
      // j, j+1: x from cells 2j, 2j+1, y from 2j+2, 2j+3, twiddle j;
      // j+2, j+3: the next four cells, twiddle j+2.
      x = _mm256_permute2f128_ps(v0, v1, 0x20);
      y = _mm256_permute2f128_ps(v0, v1, 0x31);
      wsel = _mm256_permute_ps(w, 0x44);
    } else {
      // x from the even cells, y from the odd ones, twiddles j .. j+3.
      const __m256d d0 = _mm256_castps_pd(v0);
      const __m256d d1 = _mm256_castps_pd(v1);
      x = _mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_unpacklo_pd(d0, d1), 0xD8));
      y = _mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_unpackhi_pd(d0, d1), 0xD8));
      wsel = w;
    }
    const __m256 t = Twist(y, _mm256_moveldup_ps(wsel), _mm256_movehdup_ps(wsel));
    StoreBoth(lo + 2 * j, hi + 2 * j, x, t);
  }
}
#endif

// Butterflies j0 .. j0+count-1 of the stage with this L. count is a power of
// two not above 512 that divides j0 and half, so every run of cells used
// here starts at a multiple of its length and lies inside one block.
void RunChunk(const CellPages& src, const CellPages& dst, const CellPages& tw, std::uint32_t half,
              std::uint32_t L, std::uint32_t j0, std::uint32_t count) {
  float* lo = dst.At(j0);
  float* hi = dst.At(j0 + half);
  if (L >= count) {
    const std::uint32_t a = j0 - j0 % L;
    const float *x = src.At(a + j0), *y = src.At(a + j0 + L), *w = tw.At(a);
#if ROVANEL_FFT_AVX2
    if (gVector) return RunSharedAvx2(x, y, w, lo, hi, count);
#endif
    RunSharedScalar(x, y, w, lo, hi, count);
  } else {
    const float *s = src.At(2 * j0), *w = tw.At(j0);
#if ROVANEL_FFT_AVX2
    if (gVector) return RunGroupsAvx2(s, w, lo, hi, count, L);
#endif
    RunGroupsScalar(s, w, lo, hi, count, L);
  }
}

// Two stages in one pass over the arrays. Stage L's butterflies j = a + r
// and j + L/2 (a = L*m, r < L/2) produce exactly the four values that stage
// L/2's butterflies j' = m*L/2 + r and j' + size/4 consume, so those four
// butterflies run together on values held in registers: the same operations
// on the same floats, with half the memory traffic. The pass reads src and
// writes dst, so afterwards the roles of the arrays are swapped once, not twice.

// Units r = 0..n-1 of one group m: x0 = src + 2a + r, x1 = x0 + L/2, y0 = x0 + L,
// y1 = x0 + 3L/2; o0 = dst + j', o1 = o0 + size/2, o2 = o0 + size/4, o3 = o2 + size/2.
struct FusedRun {
  const float *x0, *x1, *y0, *y1;
  const float *wA, *wB, *wC;  // tw[a], tw[m*L/2], tw[m*L/2 + size/4]
  float *o0, *o1, *o2, *o3;
};

void FusedScalar(const FusedRun& f, std::uint32_t from, std::uint32_t n) {
  for (std::uint32_t r = from; r < n; ++r) {
    float u0[2], u1[2], v0[2], v1[2];
    Butterfly(f.x0 + 2 * r, f.y0 + 2 * r, f.wA[0], f.wA[1], u0, u1);
    Butterfly(f.x1 + 2 * r, f.y1 + 2 * r, f.wA[0], f.wA[1], v0, v1);
    Butterfly(u0, v0, f.wB[0], f.wB[1], f.o0 + 2 * r, f.o1 + 2 * r);
    Butterfly(u1, v1, f.wC[0], f.wC[1], f.o2 + 2 * r, f.o3 + 2 * r);
  }
}

#if ROVANEL_FFT_AVX2
// Four units of a fused run on the cells x0 .. y1, written at float k of the outputs.
ROVANEL_AVX2 inline void FusedUnitsAvx2(const FusedRun& f, std::uint32_t k, __m256 x0, __m256 x1,
                                        __m256 y0, __m256 y1, __m256 ar, __m256 ai, __m256 br,
                                        __m256 bi, __m256 cr, __m256 ci) {
  const __m256 t0 = Twist(y0, ar, ai);
  const __m256 t1 = Twist(y1, ar, ai);
  const __m256 u0 = _mm256_add_ps(x0, t0), u1 = _mm256_sub_ps(x0, t0);
  const __m256 v0 = _mm256_add_ps(x1, t1), v1 = _mm256_sub_ps(x1, t1);
  StoreBoth(f.o0 + k, f.o1 + k, u0, Twist(v0, br, bi));
  StoreBoth(f.o2 + k, f.o3 + k, u1, Twist(v1, cr, ci));
}

ROVANEL_AVX2 void FusedAvx2(const FusedRun& f, std::uint32_t n) {
  const __m256 ar = _mm256_set1_ps(f.wA[0]), ai = _mm256_set1_ps(f.wA[1]);
  const __m256 br = _mm256_set1_ps(f.wB[0]), bi = _mm256_set1_ps(f.wB[1]);
  const __m256 cr = _mm256_set1_ps(f.wC[0]), ci = _mm256_set1_ps(f.wC[1]);
  std::uint32_t r = 0;
  for (; r + 4 <= n; r += 4) {
    const std::uint32_t k = 2 * r;
    FusedUnitsAvx2(f, k, _mm256_loadu_ps(f.x0 + k), _mm256_loadu_ps(f.x1 + k),
                   _mm256_loadu_ps(f.y0 + k), _mm256_loadu_ps(f.y1 + k), ar, ai, br, bi, cr, ci);
  }
  FusedScalar(f, r, n);
}
#endif

#if ROVANEL_FFT_AVX2
// *lo in the four floats of the low lane, *hi in those of the high one.
ROVANEL_AVX2 inline __m256 LanePair(const float* lo, const float* hi) {
  return _mm256_set_m128(_mm_set1_ps(*hi), _mm_set1_ps(*lo));
}

// The fused pass for L = 4, where a group is too short for FusedAvx2: group
// m reads cells 8m .. 8m+7 (x0, x1, y0, y1 two cells each) and writes cells
// 2m, 2m+1 of each output quarter. Two groups per vector, one per 128-bit
// lane; the operations are FusedScalar's. count is a multiple of 4.
ROVANEL_AVX2 void FusedFourAvx2(const CellPages& src, const CellPages& dst, const CellPages& tw,
                                std::uint32_t half, std::uint32_t u0, std::uint32_t count) {
  const std::uint32_t quarter = half / 2;
  const float* s = src.At(4 * u0);
  const float* wa = tw.At(2 * u0);
  const float* wb = tw.At(u0);
  const float* wc = tw.At(u0 + quarter);
  float* o0 = dst.At(u0);
  float* o1 = dst.At(u0 + half);
  float* o2 = dst.At(u0 + quarter);
  float* o3 = dst.At(u0 + quarter + half);
  for (std::uint32_t g = 0; g < count; g += 4) {
    const float* c = s + 8 * g;
    const __m256 a0 = _mm256_loadu_ps(c), b0 = _mm256_loadu_ps(c + 8);
    const __m256 a1 = _mm256_loadu_ps(c + 16), b1 = _mm256_loadu_ps(c + 24);
    const __m256 x0 = _mm256_permute2f128_ps(a0, a1, 0x20);
    const __m256 x1 = _mm256_permute2f128_ps(a0, a1, 0x31);
    const __m256 y0 = _mm256_permute2f128_ps(b0, b1, 0x20);
    const __m256 y1 = _mm256_permute2f128_ps(b0, b1, 0x31);
    const float* a = wa + 4 * g;
    const float* b = wb + 2 * g;
    const float* d = wc + 2 * g;
    const __m256 ar = LanePair(a, a + 8), ai = LanePair(a + 1, a + 9);
    const __m256 t0 = Twist(y0, ar, ai), t1 = Twist(y1, ar, ai);
    const __m256 u0v = _mm256_add_ps(x0, t0), u1v = _mm256_sub_ps(x0, t0);
    const __m256 v0v = _mm256_add_ps(x1, t1), v1v = _mm256_sub_ps(x1, t1);
    StoreBoth(o0 + 2 * g, o1 + 2 * g, u0v, Twist(v0v, LanePair(b, b + 4), LanePair(b + 1, b + 5)));
    StoreBoth(o2 + 2 * g, o3 + 2 * g, u1v, Twist(v1v, LanePair(d, d + 4), LanePair(d + 1, d + 5)));
  }
}
#endif

// Units u0 .. u0+count-1 of the fused pass for stages L and L/2 (L >= 2),
// unit u = m*L/2 + r. count is a power of two that divides u0 and size/4, so
// every run of cells used here lies inside one block.
void RunFusedChunk(const CellPages& src, const CellPages& dst, const CellPages& tw,
                   std::uint32_t half, std::uint32_t L, std::uint32_t u0, std::uint32_t count) {
#if ROVANEL_FFT_AVX2
  if (gVector && L == 4 && count % 4 == 0) return FusedFourAvx2(src, dst, tw, half, u0, count);
#endif
  const std::uint32_t quarter = half / 2;
  const std::uint32_t run = std::min(count, L / 2);
  for (std::uint32_t u = u0; u < u0 + count; u += run) {
    const std::uint32_t m = u / (L / 2);
    const std::uint32_t r = u % (L / 2);
    const std::uint32_t a = L * m;
    const std::uint32_t b = m * (L / 2);
    const FusedRun f{src.At(2 * a + r),
                     src.At(2 * a + r + L / 2),
                     src.At(2 * a + r + L),
                     src.At(2 * a + r + L + L / 2),
                     tw.At(a),
                     tw.At(b),
                     tw.At(b + quarter),
                     dst.At(u),
                     dst.At(u + half),
                     dst.At(u + quarter),
                     dst.At(u + quarter + half)};
#if ROVANEL_FFT_AVX2
    if (gVector) {
      FusedAvx2(f, run);
      continue;
    }
#endif
    FusedScalar(f, 0, run);
  }
}

// Reads the clock once every kPumpCheckButterflies butterflies (a clock read
// per chunk cost 5 % of a large transform) and pumps when the interval has
// passed.
class Ticker {
 public:
  explicit Ticker(FftPump* pump) : pump_(pump), last_(pump ? pump->NowUs() : 0) {}
  // After `butterflies` more butterflies; true on a cancel request.
  bool Tick(std::uint32_t butterflies) {
    if (!pump_) return false;
    done_ += butterflies;
    if (done_ < kPumpCheckButterflies) return false;
    done_ = 0;
    const std::int64_t now = pump_->NowUs();
    if (now - last_ < kPumpIntervalUs) return false;
    last_ = now;
    return pump_->PumpMessages();
  }

 private:
  FftPump* pump_;
  std::int64_t last_;
  std::uint32_t done_ = 0;
};

// ---------------------------------------------------------------------------
// Input

// The mean of the samples: the sum of sample / N in sample order, in double.
class MeanOf {
 public:
  explicit MeanOf(std::span<const std::uint8_t> samples) : samples_(samples) {
    // The quotient depends only on the level.
    if (samples.empty()) return;
    for (int v = 0; v < 256; ++v) {
      share_[v] = static_cast<double>(v) / static_cast<double>(samples.size());
    }
  }
  // Adds the samples before index `end`.
  void AddUpTo(std::size_t end) {
    end = std::min(end, samples_.size());
    double sum = sum_;  // in a register along the chain
    for (std::size_t i = next_; i < end; ++i) sum += share_[samples_[i]];
    sum_ = sum;
    next_ = std::max(next_, end);
  }
  double Value() {
    AddUpTo(samples_.size());
    return sum_;
  }

 private:
  std::span<const std::uint8_t> samples_;
  std::array<double, 256> share_{};
  std::size_t next_ = 0;
  double sum_ = 0.0;
};

// The centred input x[i] = (sample i - mean, 0) for i < N, (0, 0) up to size.
class CentredInput {
 public:
  CentredInput(std::span<const std::uint8_t> samples, double mean)
      : samples_(samples), mean_(mean) {
    for (int v = 0; v < 256; ++v) centred_[v] = static_cast<float>(v - mean);
  }
  std::span<const std::uint8_t> Samples() const { return samples_; }
  double Mean() const { return mean_; }
  // Cells first .. first+count-1 into c.
  void Fill(std::uint32_t first, std::uint32_t count, float* c) const {
    const std::size_t n = samples_.size();
    const std::uint32_t filled =
        first < n ? static_cast<std::uint32_t>(std::min<std::size_t>(count, n - first)) : 0;
    for (std::uint32_t i = 0; i < filled; ++i) {
      c[2 * i] = centred_[samples_[first + i]];
      c[2 * i + 1] = 0.0f;
    }
    std::fill(c + 2 * filled, c + 2 * count, 0.0f);
  }

 private:
  std::span<const std::uint8_t> samples_;
  double mean_;
  std::array<float, 256> centred_{};
};

// The run of the first fused pass (m = 0) from unit u0: its twiddles and
// destinations, and the input cells when they are gathered first.
FusedRun FirstFusedRun(const CellPages& dst, const CellPages& tw, std::uint32_t half,
                       std::uint32_t u0, std::array<const float*, 4> inputs) {
  const std::uint32_t quarter = half / 2;
  return {inputs[0], inputs[1], inputs[2], inputs[3], tw.At(0), tw.At(0), tw.At(quarter),
          dst.At(u0), dst.At(u0 + half), dst.At(u0 + quarter), dst.At(u0 + quarter + half)};
}

#if ROVANEL_FFT_AVX2
// Input cells i .. i+3 as (x, 0) pairs: x = (float)(sample - mean), as
// CentredInput computes it.
ROVANEL_AVX2 inline __m256 CentredFourAvx2(const CentredInput& in, std::span<const std::uint8_t> s,
                                           std::uint32_t i, __m256d mean) {
  if (i + 4 <= s.size()) {
    std::int32_t four;
    std::memcpy(&four, s.data() + i, sizeof four);
    const __m256d v = _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(four)));
    const __m128 x = _mm256_cvtpd_ps(_mm256_sub_pd(v, mean));
    const __m128 zero = _mm_setzero_ps();
    return _mm256_set_m128(_mm_unpackhi_ps(x, zero), _mm_unpacklo_ps(x, zero));
  }
  alignas(32) float c[8];
  in.Fill(i, 4, c);
  return _mm256_load_ps(c);
}

// RunFirstFusedChunk with the vector kernel; count is a multiple of 4.
ROVANEL_AVX2 void FirstFusedAvx2(const CentredInput& in, const CellPages& dst, const CellPages& tw,
                                 std::uint32_t half, std::uint32_t u0, std::uint32_t count) {
  const std::uint32_t quarter = half / 2;
  const std::span<const std::uint8_t> s = in.Samples();
  const __m256d mean = _mm256_set1_pd(in.Mean());
  const FusedRun f = FirstFusedRun(dst, tw, half, u0, {});
  const __m256 ar = _mm256_set1_ps(f.wA[0]), ai = _mm256_set1_ps(f.wA[1]);
  const __m256 cr = _mm256_set1_ps(f.wC[0]), ci = _mm256_set1_ps(f.wC[1]);
  for (std::uint32_t r = 0; r < count; r += 4) {
    const std::uint32_t u = u0 + r;
    FusedUnitsAvx2(f, 2 * r, CentredFourAvx2(in, s, u, mean),
                   CentredFourAvx2(in, s, u + quarter, mean),
                   CentredFourAvx2(in, s, u + half, mean),
                   CentredFourAvx2(in, s, u + half + quarter, mean), ar, ai, ar, ai, cr, ci);
  }
}
#endif

// Units u0 .. u0+count-1 of the first fused pass (L = size/2, so m = 0) on
// the input cells built in place of src: the same operations on the same
// floats as RunFusedChunk, without writing the input out and reading it back.
void RunFirstFusedChunk(const CentredInput& in, const CellPages& dst, const CellPages& tw,
                        std::uint32_t half, std::uint32_t u0, std::uint32_t count) {
#if ROVANEL_FFT_AVX2
  if (gVector && count % 4 == 0) return FirstFusedAvx2(in, dst, tw, half, u0, count);
#endif
  const std::uint32_t quarter = half / 2;
  alignas(32) std::array<float, kChunkButterflies / 2> x0, x1, y0, y1;  // count <= kChunk / 4
  in.Fill(u0, count, x0.data());
  in.Fill(u0 + quarter, count, x1.data());
  in.Fill(u0 + half, count, y0.data());
  in.Fill(u0 + half + quarter, count, y1.data());
  const FusedRun f = FirstFusedRun(dst, tw, half, u0, {x0.data(), x1.data(), y0.data(), y1.data()});
#if ROVANEL_FFT_AVX2
  if (gVector) return FusedAvx2(f, count);
#endif
  FusedScalar(f, 0, count);
}

// The twiddle table of each size, filled once: a spectrum of a size already
// seen no longer pays for its cosines. One table per power of two, size/2
// cells each, so all of them together stay below twice the largest. Null
// when the memory is not there (the caller then fills its own table).
TDblTab* CachedTwiddles(std::uint32_t size) {
  constexpr std::size_t kSizes = 33;
  static std::mutex guard;
  static std::array<std::unique_ptr<TDblTab>, kSizes> tables;
  const std::uint32_t half = size / 2;
  const std::uint32_t blocks = std::max<std::uint32_t>(1, (half + kBlockCells - 1) / kBlockCells);
  if (blocks > 255) return nullptr;
  const std::lock_guard lock(guard);
  std::unique_ptr<TDblTab>& t = tables[static_cast<std::size_t>(std::countr_zero(size))];
  if (!t) {
    auto fresh = std::make_unique<TDblTab>(static_cast<std::uint8_t>(blocks));
    if (!HoldsCells(*fresh, half)) return nullptr;
    ComputeTwiddles(*fresh, size);
    t = std::move(fresh);
  }
  return t.get();
}

bool ValidSize(std::uint32_t size) {
  return size >= 1 && std::has_single_bit(size);
}

bool FitsArrays(const FftArrays& arrays, std::uint32_t size) {
  if (&arrays.data == &arrays.work || &arrays.twiddles == &arrays.data ||
      &arrays.twiddles == &arrays.work) {
    return false;
  }
  return HoldsCells(arrays.data, size) && HoldsCells(arrays.work, size) &&
         HoldsCells(arrays.twiddles, size / 2);
}

// How the stages ended, and which array holds their last result R
// (X[0] = R[0], X[size-k] = R[k]).
struct Stages {
  FftStatus status;
  bool inWork;
};

// The stages with the twiddles of `twiddles`; the sizes were checked. With
// `input` (size >= 8, so the first pass is fused) the first pass reads the
// input itself and dataTab's contents are not used. That pass does not pump:
// the input must not change under it, and it lasts one pass over the arrays.
Stages RunStages(TDblTab& dataTab, TDblTab& workTab, TDblTab& twiddles, std::uint32_t size,
                 FftPump* pump, const CentredInput* input) {
  const CellPages data(dataTab), work(workTab), tw(twiddles);
  const std::uint32_t half = size / 2;
  const CellPages* src = &data;
  const CellPages* dst = &work;
  Ticker ticker(pump);
  bool cancelled = false;
  std::uint32_t L = half;
  // The butterflies run in chunks of at most kChunkButterflies (a chunk's
  // runs of cells stay inside one block); a cancel ends the pass at the end
  // of the chunk that saw it.
  do {
    // Two stages per pass while L >= 4, then one.
    const bool fromInput = input && L == half;
    const int stages = L >= 4 ? 2 : 1;
    if (stages == 2) {
      const std::uint32_t chunk = std::min(kChunkButterflies / 4, half / 2);
      for (std::uint32_t u0 = 0; u0 < half / 2 && !cancelled; u0 += chunk) {
        if (fromInput) {
          RunFirstFusedChunk(*input, *dst, tw, half, u0, chunk);
        } else {
          RunFusedChunk(*src, *dst, tw, half, L, u0, chunk);
          cancelled = ticker.Tick(4 * chunk);
        }
      }
    } else {
      const std::uint32_t chunk = std::min(kChunkButterflies, half);
      for (std::uint32_t j0 = 0; j0 < half && !cancelled; j0 += chunk) {
        RunChunk(*src, *dst, tw, half, L, j0, chunk);
        cancelled = ticker.Tick(chunk);
      }
    }
    std::swap(src, dst);
    for (int stage = 0; stage < stages; ++stage) {
      L /= 2;
      if (pump) pump->StageDone(size - L);
    }
  } while (L != 0 && !cancelled);
  return {L == 0 ? FftStatus::Done : FftStatus::Cancelled, src == &work};
}

// The stages, then R into data reversed: X in data.
FftStatus TransformWith(TDblTab& dataTab, TDblTab& workTab, TDblTab& twiddles, std::uint32_t size,
                        FftPump* pump) {
  const Stages run = RunStages(dataTab, workTab, twiddles, size, pump, nullptr);
  const CellPages data(dataTab);
  if (run.inWork) {
    ReverseCells(CellPages(workTab), data, size);
  } else {
    ReverseCellsInPlace(data, size);
  }
  return run.status;
}

// The mean, the twiddles (the cached table of the size when there is one)
// and the stages on the centred input. The mean's additions form one chain
// of dependent operations; when the twiddles must be computed, they run
// between the twiddle groups (two samples per twiddle cell, which covers
// every sample) and overlap with that work.
Stages RunSpectrum(std::span<const std::uint8_t> samples, std::uint32_t size,
                   const FftArrays& arrays, FftPump* pump) {
  MeanOf mean(samples);
  TDblTab* twiddles = CachedTwiddles(size);
  if (!twiddles) {
    FillTwiddles(arrays.twiddles, size, [&](std::uint32_t cells) { mean.AddUpTo(2 * cells); });
    twiddles = &arrays.twiddles;
  }
  const CentredInput input(samples, mean.Value());
  if (size >= 8) return RunStages(arrays.data, arrays.work, *twiddles, size, pump, &input);
  CellPages(arrays.data).ForEachRun(size, [&](float* c, std::uint32_t first, std::uint32_t n) {
    input.Fill(first, n, c);
  });
  return RunStages(arrays.data, arrays.work, *twiddles, size, pump, nullptr);
}

}  // namespace

namespace detail {
void EnableVectorKernels(bool on) {
  gVector = on && CpuHasAvx2();
}
}  // namespace detail

std::uint32_t FftSizeFor(std::uint32_t n) {
  return n <= 1 ? 1 : std::bit_ceil(n);
}

void ComputeTwiddles(TDblTab& twiddles, std::uint32_t size) {
  FillTwiddles(twiddles, size, [](std::uint32_t) {});
}

FftStatus Transform(FftArrays arrays, std::uint32_t size, FftPump* pump) {
  if (!ValidSize(size) || !FitsArrays(arrays, size)) return FftStatus::Refused;
  return TransformWith(arrays.data, arrays.work, arrays.twiddles, size, pump);
}

FftStatus ComputeSpectrum(std::span<const std::uint8_t> samples, std::uint32_t size,
                          FftArrays arrays, std::span<std::uint8_t> levels, FftPump* pump) {
  const std::uint32_t half = size / 2;
  if (!ValidSize(size) || samples.size() > size || levels.size() < half ||
      !FitsArrays(arrays, size)) {
    return FftStatus::Refused;
  }
  const Stages run = RunSpectrum(samples, size, arrays, pump);
  if (half == 0) return run.status;
  // Read in R, unreversed: bin 0 is R[0], bins 1 .. half-1 are cells
  // size-1 down to half+1. Bin 0 gets the fixed value (1, 1); its modulus
  // sqrt 2 bounds the maximum from below.
  const CellPages r(run.inWork ? arrays.work : arrays.data);
  float* bin0 = r.At(0);
  bin0[0] = 1.0f;
  bin0[1] = 1.0f;
  const std::uint32_t from = half + 1;
  const LevelScale scale{MaxModulus(std::max(SquaredModulus(bin0), MaxSquare(r, from, size))),
                         false};
  levels[0] = scale.Of(SquaredModulus(bin0));
  ForEachLevel(r, from, size, scale,
               [&](std::uint32_t c, std::uint8_t v) { levels[size - c] = v; });
  return run.status;
}

FftStatus ComputeSpectrum(const TLargeTab& series, std::uint32_t n, std::uint32_t size,
                          FftArrays arrays, TLargeTab& levels, FftPump* pump) {
  if (n > series.Capacity() || size / 2 > levels.Capacity()) return FftStatus::Refused;
  const std::vector<std::uint8_t> samples = ReadSamples(series, n);
  std::vector<std::uint8_t> out(size / 2);
  const FftStatus status = ComputeSpectrum(samples, size, arrays, out, pump);
  if (status != FftStatus::Refused) WriteSamples(levels, 0, out);
  return status;
}

FftStatus ComputeSpectrumRealTime(std::span<const std::uint8_t> frame, FftArrays arrays,
                                  std::span<std::uint8_t> out) {
  if (frame.size() > UINT32_MAX) return FftStatus::Refused;
  const auto size = static_cast<std::uint32_t>(frame.size());
  if (!ValidSize(size) || out.size() < 2 * std::size_t{size} || !FitsArrays(arrays, size)) {
    return FftStatus::Refused;
  }
  const Stages run = RunSpectrum(frame, size, arrays, nullptr);
  // Bin k is R[size - k] (R[0] for bin 0), read in place.
  const CellPages r(run.inWork ? arrays.work : arrays.data);
  r.At(0)[0] = 0.0f;
  r.At(0)[1] = 0.0f;
  const LevelScale scale{MaxModulus(MaxSquare(r, 0, size)), true};
  ForEachLevel(r, 0, size, scale, [&](std::uint32_t c, std::uint8_t v) {
    const std::uint32_t k = c == 0 ? 0 : size - c;
    out[2 * k] = v;
    out[2 * k + 1] = v;
  });
  return run.status;
}

}  // namespace rovanel::signal
