// Amplitude spectrum by a radix-2 complex FFT in single precision, written
// as a self-sorting (Stockham) iteration between two paged arrays with a
// precomputed twiddle table.
//
// Each stage, with L = size/2, size/4, ..., 1, computes for j = 0..size/2-1
//   a = j - j mod L, i1 = a + j, i2 = i1 + L, t = src[i2] * tw[a],
//   dst[j] = src[i1] + t, dst[j + size/2] = src[i1] - t
// (t = (yr*wr - yi*wi, yr*wi + yi*wr), every operation on single floats),
// then the arrays swap roles. With tw[a] = e^(+i a 2pi/size) the final
// reversal X[0] = R[0], X[size-k] = R[k] makes X the forward DFT,
// X[k] = sum x[n] e^(-2 pi i k n / size).
//
// The arrays are the main window's FFT stores: cells of two floats (real,
// imaginary), 4096 cells per block; they are used in place, block by block.
// Pairs of stages run in one pass over the arrays (see spectrum.cpp); every
// butterfly is computed exactly as above, so the results are bit for bit
// those of one stage after the other.
#pragma once

#include <cstdint>
#include <span>

#include "signal/large_tab.h"

namespace rovanel::signal {

// What a long transform needs from the window: a clock, a way to let
// pending messages run (which reports a cancel request), and the gauge.
class FftPump {
 public:
  virtual ~FftPump() = default;
  // Monotonic microseconds.
  virtual std::int64_t NowUs() = 0;
  // Lets pending window messages run; true when a cancel has been requested.
  virtual bool PumpMessages() = 0;
  // After each stage: the gauge position size - L (size once the last stage is done).
  virtual void StageDone(std::uint32_t position) { (void)position; }
};

// The clock is read every kPumpCheckButterflies butterflies (about 5 µs of
// work), and messages are pumped when
// kPumpIntervalUs have passed since the last pump: the window stays
// responsive without paying for a pump at every butterfly.
inline constexpr std::uint32_t kPumpCheckButterflies = 4096;
inline constexpr std::int64_t kPumpIntervalUs = 10000;

// The three FFT stores.
struct FftArrays {
  TDblTab& data;      // input; the transform X after it
  TDblTab& work;      // the other side of each stage
  TDblTab& twiddles;  // size/2 cells (cos, sin); the spectra below fill it only when
                      // the table of their size cannot be kept (no memory for it)
};

enum class FftStatus {
  Done,
  Cancelled,  // stopped at the pump that saw the cancel, before the next butterfly; the
              // partial result was still reordered (and scaled)
  Refused,    // size not a power of two, more samples than size, or arrays that cannot
              // hold size cells (size/2 twiddles): nothing was touched
};

// Smallest power of two not below n (1 for n <= 1): the FFT size of a series of n samples.
std::uint32_t FftSizeFor(std::uint32_t n);

// twiddles[a] := (cos(a*s), sin(a*s)) as floats for a < size/2, with
// s = 2pi/size rounded to a float and a*s exact in double.
void ComputeTwiddles(TDblTab& twiddles, std::uint32_t size);

// The transform of the size cells of arrays.data, using the twiddles
// already in arrays.twiddles; X ends in arrays.data. A pump, when given, is
// asked at intervals to let messages run and may cancel.
FftStatus Transform(FftArrays arrays, std::uint32_t size, FftPump* pump = nullptr);

// The spectrum levels of `samples` (N = samples.size() <= size) zero-padded
// to size: twiddles (the table of that size, computed at its first use and
// kept), input x[i] = sample i - mean (mean = sum of sample/N in
// double), transform, X[0] := (1, 1), and
//   level[k] = round(255 * |X[k]| / max |X[k]|)   for k < size/2,
// the maximum over those bins (1 when not positive). levels.size() must be
// at least size/2. On a cancel the partial result is still scaled.
FftStatus ComputeSpectrum(std::span<const std::uint8_t> samples, std::uint32_t size,
                          FftArrays arrays, std::span<std::uint8_t> levels,
                          FftPump* pump = nullptr);
// The same on the first n samples of a series; size/2 levels into `levels`.
FftStatus ComputeSpectrum(const TLargeTab& series, std::uint32_t n, std::uint32_t size,
                          FftArrays arrays, TLargeTab& levels, FftPump* pump = nullptr);

// Real-time variant on one frame (size = frame.size(), a power of two):
// X[0] := (0, 0), the maximum over all bins, level = round(|X| / max * 255),
// and each of the size levels written twice, into out[2k] and out[2k+1]
// (out must hold 2 * size bytes; it may overlap the frame). No pumping.
FftStatus ComputeSpectrumRealTime(std::span<const std::uint8_t> frame, FftArrays arrays,
                                  std::span<std::uint8_t> out);

namespace detail {
// Whether the processor's vector instructions may be used (the default where
// the processor has them). Results are bit-identical either way; tests
// compare the two.
void EnableVectorKernels(bool on);
}  // namespace detail

}  // namespace rovanel::signal
