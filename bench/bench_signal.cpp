// The signal steps at their largest sizes: the spectrum and the transform
// beside FFTW's single-precision real-to-complex ones of the same data, the
// peak search on the longest USB series and the series filter (the window's
// whole processing pass is in bench_repaint).
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "signal/filters.h"
#include "signal/peaks.h"
#include "signal/fft.h"
#include "signal/stores.h"

namespace {

using namespace rovanel::signal;

constexpr std::uint32_t kLongestSeries = 255 * 512;  // 130 560 samples

// Fringes: a slow cosine with noise, as the interferometer records them.
std::vector<std::uint8_t> Fringes(std::size_t n, double period) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> noise(-6, 6);
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double x = 128 + 100 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / period);
    v[i] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(x) + noise(rng), 0, 255));
  }
  return v;
}

struct FftStores {
  explicit FftStores(std::uint32_t size)
      : blocks(static_cast<std::uint8_t>(std::max<std::uint32_t>(2, size / 4096))) {}
  std::uint8_t blocks;
  TDblTab data{blocks}, work{blocks}, twiddles{blocks};
  FftArrays Arrays() { return {data, work, twiddles}; }
};

// The window's pump as it will be: the steady clock, and no messages waiting.
class SteadyPump final : public FftPump {
 public:
  std::int64_t NowUs() override {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  bool PumpMessages() override { return false; }
};

void BM_ComputeSpectrum(benchmark::State& state) {
  const auto size = static_cast<std::uint32_t>(state.range(0));
  FftStores s(size);
  const std::vector<std::uint8_t> in = Fringes(size, 37.5);
  std::vector<std::uint8_t> levels(size / 2);
  SteadyPump pump;
  for (auto _ : state) {
    ComputeSpectrum(in, size, s.Arrays(), levels, &pump);
    benchmark::DoNotOptimize(levels.data());
  }
}
BENCHMARK(BM_ComputeSpectrum)->RangeMultiplier(2)->Range(8192, 131072)->Unit(benchmark::kMicrosecond);

// The transform alone (stages and reordering), twiddles computed once.
void BM_Transform(benchmark::State& state) {
  const auto size = static_cast<std::uint32_t>(state.range(0));
  FftStores s(size);
  const std::vector<std::uint8_t> in = Fringes(size, 37.5);
  ComputeTwiddles(s.twiddles, size);
  for (auto _ : state) {
    state.PauseTiming();
    for (std::uint32_t i = 0; i < size; ++i) s.data.SetComplex(i, in[i] - 128.0f, 0.0f);
    state.ResumeTiming();
    Transform(s.Arrays(), size);
  }
}
BENCHMARK(BM_Transform)->RangeMultiplier(2)->Range(8192, 131072)->Unit(benchmark::kMicrosecond);

void BM_ComputeTwiddles(benchmark::State& state) {
  const auto size = static_cast<std::uint32_t>(state.range(0));
  FftStores s(size);
  for (auto _ : state) ComputeTwiddles(s.twiddles, size);
}
BENCHMARK(BM_ComputeTwiddles)->Arg(8192)->Arg(131072)->Unit(benchmark::kMicrosecond);

// FFTW, single precision, complex to complex, out of place, planned once.
void BM_FftwComplex(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  auto* in = fftwf_alloc_complex(size);
  auto* out = fftwf_alloc_complex(size);
  fftwf_plan plan = fftwf_plan_dft_1d(size, in, out, FFTW_FORWARD, FFTW_MEASURE);
  const std::vector<std::uint8_t> v = Fringes(size, 37.5);
  for (int i = 0; i < size; ++i) {
    in[i][0] = v[i] - 128.0f;
    in[i][1] = 0.0f;
  }
  for (auto _ : state) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(out);
  }
  fftwf_destroy_plan(plan);
  fftwf_free(in);
  fftwf_free(out);
}
BENCHMARK(BM_FftwComplex)->Arg(8192)->Arg(131072)->Unit(benchmark::kMicrosecond);

// The yardstick of BM_Transform: the input is real, and FFTW's real-to-complex
// transform of the same data (size/2 + 1 bins, the rest by symmetry).
void BM_Fftw(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  float* in = fftwf_alloc_real(size);
  auto* out = fftwf_alloc_complex(size / 2 + 1);
  fftwf_plan plan = fftwf_plan_dft_r2c_1d(size, in, out, FFTW_MEASURE);
  const std::vector<std::uint8_t> v = Fringes(size, 37.5);
  for (int i = 0; i < size; ++i) in[i] = v[i] - 128.0f;
  for (auto _ : state) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(out);
  }
  fftwf_destroy_plan(plan);
  fftwf_free(in);
  fftwf_free(out);
}
BENCHMARK(BM_Fftw)->RangeMultiplier(2)->Range(8192, 131072)->Unit(benchmark::kMicrosecond);

// The yardstick of BM_ComputeSpectrum: the same spectrum with FFTW's
// real-to-complex transform. The same mean (the sum of sample/N in order),
// the same bin 0 := (1, 1), maximum and rounding; "level_diffs" counts the
// levels that differ from ComputeSpectrum's (rounding of the two transforms).
class FftwSpectrum {
 public:
  explicit FftwSpectrum(int size)
      : size_(size), in_(fftwf_alloc_real(size)), out_(fftwf_alloc_complex(size / 2 + 1)) {
    plan_ = fftwf_plan_dft_r2c_1d(size, in_, out_, FFTW_MEASURE);
  }
  ~FftwSpectrum() {
    fftwf_destroy_plan(plan_);
    fftwf_free(in_);
    fftwf_free(out_);
  }
  FftwSpectrum(const FftwSpectrum&) = delete;
  FftwSpectrum& operator=(const FftwSpectrum&) = delete;

  void Levels(const std::vector<std::uint8_t>& samples, std::vector<std::uint8_t>& levels) {
    const std::size_t n = samples.size();
    std::array<double, 256> share{};
    for (int v = 0; v < 256; ++v) share[v] = static_cast<double>(v) / static_cast<double>(n);
    double mean = 0.0;
    for (std::uint8_t v : samples) mean += share[v];
    std::array<float, 256> centred{};
    for (int v = 0; v < 256; ++v) centred[v] = static_cast<float>(v - mean);
    for (std::size_t i = 0; i < n; ++i) in_[i] = centred[samples[i]];
    std::fill(in_ + n, in_ + size_, 0.0f);
    fftwf_execute(plan_);
    out_[0][0] = 1.0f;
    out_[0][1] = 1.0f;
    const int half = size_ / 2;
    double max = 0.0;
    for (int k = 0; k < half; ++k) {
      const double re = out_[k][0], im = out_[k][1];
      max = std::max(max, re * re + im * im);
    }
    max = std::sqrt(max);
    for (int k = 0; k < half; ++k) {
      const double re = out_[k][0], im = out_[k][1];
      levels[k] = static_cast<std::uint8_t>(std::nearbyint(255.0 * std::sqrt(re * re + im * im) / max));
    }
  }

 private:
  int size_;
  float* in_;
  fftwf_complex* out_;
  fftwf_plan plan_;
};

void BM_FftwSpectrum(benchmark::State& state) {
  const auto size = static_cast<std::uint32_t>(state.range(0));
  FftwSpectrum fftw(static_cast<int>(size));
  const std::vector<std::uint8_t> in = Fringes(size, 37.5);
  std::vector<std::uint8_t> levels(size / 2), ours(size / 2);
  FftStores s(size);
  ComputeSpectrum(in, size, s.Arrays(), ours);
  for (auto _ : state) {
    fftw.Levels(in, levels);
    benchmark::DoNotOptimize(levels.data());
  }
  std::size_t diffs = 0;
  for (std::uint32_t k = 0; k < size / 2; ++k) diffs += levels[k] != ours[k];
  state.counters["level_diffs"] = static_cast<double>(diffs);
}
BENCHMARK(BM_FftwSpectrum)->RangeMultiplier(2)->Range(8192, 131072)->Unit(benchmark::kMicrosecond);

void BM_DetectPeaks(benchmark::State& state) {
  const std::vector<std::uint8_t> curve = Fringes(kLongestSeries, 41.3);
  std::vector<std::uint8_t> marks(curve.size());
  for (auto _ : state) benchmark::DoNotOptimize(DetectPeaks(curve, marks));
}
BENCHMARK(BM_DetectPeaks)->Unit(benchmark::kMicrosecond);

// On the paged stores, as the Michelson pipeline calls it.
void BM_DetectPeaksSeries(benchmark::State& state) {
  auto stores = std::make_unique<Stores>();
  const std::vector<std::uint8_t> curve = Fringes(kLongestSeries, 41.3);
  for (std::uint32_t i = 0; i < kLongestSeries; ++i) stores->MiSerie.SetValue(i, curve[i]);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        DetectPeaks(stores->MiSerie, kLongestSeries, stores->PeakMarks, &stores->PeakFlags));
  }
}
BENCHMARK(BM_DetectPeaksSeries)->Unit(benchmark::kMicrosecond);

// The series filter at the default order (8 passes) and the largest one.
void BM_Smooth5Series(benchmark::State& state) {
  auto stores = std::make_unique<Stores>();
  const std::vector<std::uint8_t> curve = Fringes(kLongestSeries, 41.3);
  const int passes = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    for (std::uint32_t i = 0; i < kLongestSeries; ++i) stores->MiSerieRaw.SetValue(i, curve[i]);
    state.ResumeTiming();
    CopySamples(stores->MiSerie, stores->MiSerieRaw, kLongestSeries);
    Smooth5(stores->MiSerie, kLongestSeries, passes);
  }
}
BENCHMARK(BM_Smooth5Series)->Arg(8)->Arg(99)->Unit(benchmark::kMicrosecond);


}  // namespace

BENCHMARK_MAIN();
