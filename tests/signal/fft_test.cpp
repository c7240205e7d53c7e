#include "signal/fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

namespace rovanel::signal {
namespace {

using Cells = std::vector<std::complex<float>>;

std::uint8_t BlocksFor(std::uint32_t cells) {
  return static_cast<std::uint8_t>(std::max<std::uint32_t>(1, (cells + 4095) / 4096));
}

struct Fft {
  explicit Fft(std::uint32_t size)
      : data(BlocksFor(size)), work(BlocksFor(size)), twiddles(BlocksFor(size / 2)) {}
  TDblTab data, work, twiddles;
  FftArrays Arrays() { return {data, work, twiddles}; }
  void Load(const Cells& x) {
    for (std::uint32_t i = 0; i < x.size(); ++i) data.SetComplex(i, x[i].real(), x[i].imag());
  }
  Cells Read(std::uint32_t n) const {
    Cells x(n);
    for (std::uint32_t i = 0; i < n; ++i) {
      float re, im;
      data.GetComplex(i, re, im);
      x[i] = {re, im};
    }
    return x;
  }
};

// The transform by its definition: twiddles, stages between two arrays, reversal.
Cells LiteralTwiddles(std::uint32_t size) {
  const double s = static_cast<float>(2.0 * std::numbers::pi / size);
  Cells w(size / 2);
  for (std::uint32_t a = 0; a < size / 2; ++a) {
    w[a] = {static_cast<float>(std::cos(a * s)), static_cast<float>(std::sin(a * s))};
  }
  return w;
}

Cells LiteralTransform(Cells src) {
  const auto size = static_cast<std::uint32_t>(src.size());
  const Cells w = LiteralTwiddles(size);
  Cells dst(size);
  std::uint32_t L = size / 2;
  do {
    for (std::uint32_t j = 0; j < size / 2; ++j) {
      const std::uint32_t a = j - j % L, i1 = a + j, i2 = i1 + L;
      const float yr = src[i2].real(), yi = src[i2].imag();
      const float wr = w[a].real(), wi = w[a].imag();
      const float tr = yr * wr - yi * wi, ti = yr * wi + yi * wr;
      dst[j] = {src[i1].real() + tr, src[i1].imag() + ti};
      dst[j + size / 2] = {src[i1].real() - tr, src[i1].imag() - ti};
    }
    std::swap(src, dst);
    L /= 2;
  } while (L != 0);
  Cells x(size);
  x[0] = src[0];
  for (std::uint32_t k = 1; k < size; ++k) x[size - k] = src[k];
  return x;
}

std::vector<std::complex<double>> Dft(const std::vector<std::complex<double>>& x) {
  const std::size_t n = x.size();
  std::vector<std::complex<double>> e(n), X(n);
  for (std::size_t m = 0; m < n; ++m) {
    e[m] = std::polar(1.0, -2 * std::numbers::pi * static_cast<double>(m) / static_cast<double>(n));
  }
  for (std::size_t k = 0; k < n; ++k) {
    std::complex<double> sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += x[i] * e[(k * i) % n];
    X[k] = sum;
  }
  return X;
}

// Levels from a DFT in double: bin 0 := (1, 1), the maximum over bins 0..size/2-1.
std::vector<int> DftLevels(const std::vector<std::uint8_t>& samples, std::uint32_t size) {
  double mean = 0;
  for (std::uint8_t v : samples) mean += v;
  mean /= static_cast<double>(samples.size());
  std::vector<std::complex<double>> x(size);
  for (std::size_t i = 0; i < samples.size(); ++i) x[i] = samples[i] - mean;
  auto X = Dft(x);
  X[0] = {1, 1};
  double max = 0;
  for (std::uint32_t k = 0; k < size / 2; ++k) max = std::max(max, std::abs(X[k]));
  std::vector<int> levels(size / 2);
  for (std::uint32_t k = 0; k < size / 2; ++k) {
    levels[k] = static_cast<int>(std::lround(255 * std::abs(X[k]) / max));
  }
  return levels;
}

Cells RandomCells(std::uint32_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> d(-100.0f, 100.0f);
  Cells x(n);
  for (auto& c : x) c = {d(rng), d(rng)};
  return x;
}

std::vector<std::uint8_t> Cosine(std::uint32_t n, double periods, double amplitude = 100) {
  std::vector<std::uint8_t> v(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    v[i] = static_cast<std::uint8_t>(
        std::lround(128 + amplitude * std::cos(2 * std::numbers::pi * periods * i / n)));
  }
  return v;
}

bool SameBits(const Cells& a, const Cells& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0;
}

TEST(FftSizeFor, SmallestPowerOfTwoNotBelowN) {
  const struct {
    std::uint32_t n, size;
  } cases[] = {{1, 1},       {2, 2},       {3, 4},        {4096, 4096},     {4097, 8192},
               {5000, 8192}, {8192, 8192}, {8193, 16384}, {130560, 131072}, {163840, 262144}};
  for (const auto& c : cases) EXPECT_EQ(FftSizeFor(c.n), c.size) << c.n;
  // The defining formula: p = ln N / ln 2, rounded up when it has a fraction, size = 2^p.
  for (std::uint32_t n = 1; n <= 163840; ++n) {
    double p = std::log(static_cast<double>(n)) / std::log(2.0);
    if (p != std::trunc(p)) p = std::trunc(p) + 1;
    ASSERT_EQ(FftSizeFor(n), static_cast<std::uint32_t>(std::lround(std::pow(2.0, p)))) << n;
  }
}

TEST(ComputeTwiddles, FloatCosSinOfExactMultiplesOfTheFloatStep) {
  for (std::uint32_t size = 2; size <= (1u << 18); size *= 2) {
    TDblTab t(BlocksFor(size / 2));
    ComputeTwiddles(t, size);
    const Cells expected = LiteralTwiddles(size);
    for (std::uint32_t a = 0; a < size / 2; ++a) {
      float re, im;
      t.GetComplex(a, re, im);
      ASSERT_TRUE(SameBits({{re, im}}, {expected[a]})) << "size " << size << " a " << a;
    }
  }
}

// Every transform is run with and without the processor's vector kernels.
class TransformTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { detail::EnableVectorKernels(GetParam()); }
  void TearDown() override { detail::EnableVectorKernels(true); }
};

TEST_P(TransformTest, BitIdenticalToTheLiteralStagesAtEverySize) {
  for (std::uint32_t size = 1; size <= (1u << 17); size *= 2) {
    Fft f(size);
    const Cells x = RandomCells(size, size);
    f.Load(x);
    ComputeTwiddles(f.twiddles, size);
    ASSERT_EQ(Transform(f.Arrays(), size), FftStatus::Done);
    ASSERT_TRUE(SameBits(f.Read(size), LiteralTransform(x))) << "size " << size;
  }
}

TEST_P(TransformTest, IsTheForwardDft) {
  for (std::uint32_t size = 2; size <= 1024; size *= 2) {
    Fft f(size);
    const Cells x = RandomCells(size, 100 + size);
    f.Load(x);
    ComputeTwiddles(f.twiddles, size);
    ASSERT_EQ(Transform(f.Arrays(), size), FftStatus::Done);
    const Cells X = f.Read(size);
    const auto expected = Dft(std::vector<std::complex<double>>(x.begin(), x.end()));
    double scale = 0;
    for (const auto& c : expected) scale = std::max(scale, std::abs(c));
    for (std::uint32_t k = 0; k < size; ++k) {
      ASSERT_LT(std::abs(std::complex<double>(X[k]) - expected[k]), 1e-6 * scale * std::log2(size))
          << "size " << size << " k " << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Kernels, TransformTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Vector" : "Scalar"; });

TEST(ComputeSpectrum, ConstantAndPureCosine) {
  Fft f(2048);
  std::vector<std::uint8_t> levels(1024);

  // Constant input: only the fixed bin 0 remains.
  ASSERT_EQ(ComputeSpectrum(std::vector<std::uint8_t>(2048, 77), 2048, f.Arrays(), levels),
            FftStatus::Done);
  EXPECT_EQ(levels[0], 255);
  for (std::uint32_t k = 1; k < 1024; ++k) ASSERT_EQ(levels[k], 0) << k;

  // Sixteen periods over 2048 pixels.
  ASSERT_EQ(ComputeSpectrum(Cosine(2048, 16), 2048, f.Arrays(), levels), FftStatus::Done);
  EXPECT_EQ(levels[16], 255);
  for (std::uint32_t k = 1; k < 1024; ++k) {
    if (k != 16) {
      ASSERT_LE(levels[k], 1) << k;
    }
  }
}

TEST(ComputeSpectrum, LevelsOfADirectDftWithinOne) {
  std::mt19937 rng(5);
  const struct {
    std::uint32_t n, size;
  } cases[] = {{64, 64}, {100, 128}, {1000, 1024}, {2048, 2048}, {5000, 8192}};
  for (const auto& c : cases) {
    std::vector<std::uint8_t> samples(c.n);
    for (auto& v : samples) v = static_cast<std::uint8_t>(rng() % 256);
    Fft f(c.size);
    std::vector<std::uint8_t> levels(c.size / 2);
    ASSERT_EQ(ComputeSpectrum(samples, c.size, f.Arrays(), levels), FftStatus::Done);
    const std::vector<int> expected = DftLevels(samples, c.size);
    for (std::uint32_t k = 0; k < c.size / 2; ++k) {
      ASSERT_NEAR(levels[k], expected[k], 1) << "n " << c.n << " k " << k;
    }
  }
}

// The levels by the definition with twiddles computed afresh: the mean as a
// sum of sample/N in order, the literal stages, X[0] := (1, 1).
std::vector<std::uint8_t> LiteralLevels(const std::vector<std::uint8_t>& samples,
                                        std::uint32_t size) {
  double mean = 0;
  for (std::uint8_t v : samples) mean += static_cast<double>(v) / static_cast<double>(samples.size());
  Cells x(size);
  for (std::size_t i = 0; i < samples.size(); ++i) x[i] = {static_cast<float>(samples[i] - mean), 0};
  Cells X = LiteralTransform(x);
  X[0] = {1, 1};
  double max = 0;
  for (std::uint32_t k = 0; k < size / 2; ++k) {
    const double re = X[k].real(), im = X[k].imag();
    max = std::max(max, std::sqrt(re * re + im * im));
  }
  std::vector<std::uint8_t> levels(size / 2);
  for (std::uint32_t k = 0; k < size / 2; ++k) {
    const double re = X[k].real(), im = X[k].imag();
    levels[k] = static_cast<std::uint8_t>(std::nearbyint(255.0 * std::sqrt(re * re + im * im) / max));
  }
  return levels;
}

// The twiddles of each size are kept between spectra: sizes in turn, each
// twice, with the caller's twiddle store spoilt in between, give the levels
// of freshly computed twiddles bit for bit (and of a direct DFT within one).
TEST(ComputeSpectrum, KeptTwiddlesGiveTheLevelsOfFreshOnes) {
  std::mt19937 rng(11);
  const struct {
    std::uint32_t n, size;
  } cases[] = {{512, 512},       {2048, 2048},   {130560, 131072}, {512, 512}, {1500, 2048},
               {130560, 131072}, {40000, 65536}, {1501, 2048},     {5, 8},     {65535, 131072}};
  for (const auto& c : cases) {
    std::vector<std::uint8_t> samples(c.n);
    for (auto& v : samples) v = static_cast<std::uint8_t>(rng() % 256);
    const std::vector<std::uint8_t> expected = LiteralLevels(samples, c.size);
    Fft f(c.size);
    for (int pass = 0; pass < 2; ++pass) {
      for (std::uint32_t a = 0; a < c.size / 2; ++a) f.twiddles.SetComplex(a, NAN, NAN);
      std::vector<std::uint8_t> levels(c.size / 2);
      ASSERT_EQ(ComputeSpectrum(samples, c.size, f.Arrays(), levels), FftStatus::Done);
      ASSERT_EQ(levels, expected) << "size " << c.size << " pass " << pass;
    }
    if (c.size <= 2048) {
      const std::vector<int> dft = DftLevels(samples, c.size);
      for (std::uint32_t k = 0; k < c.size / 2; ++k) ASSERT_NEAR(expected[k], dft[k], 1) << k;
    }
  }
}

TEST(ComputeSpectrum, SameLevelsWithAndWithoutVectorKernels) {
  std::mt19937 rng(8);
  std::vector<std::uint8_t> samples(6000);
  for (auto& v : samples) v = static_cast<std::uint8_t>(rng() % 256);
  std::vector<std::uint8_t> levels[2] = {std::vector<std::uint8_t>(4096),
                                         std::vector<std::uint8_t>(4096)};
  std::vector<std::uint8_t> realTime[2] = {std::vector<std::uint8_t>(1024),
                                           std::vector<std::uint8_t>(1024)};
  for (int vector = 0; vector < 2; ++vector) {
    detail::EnableVectorKernels(vector == 1);
    Fft f(8192);
    ASSERT_EQ(ComputeSpectrum(samples, 8192, f.Arrays(), levels[vector]), FftStatus::Done);
    ASSERT_EQ(ComputeSpectrumRealTime(std::span(samples).first(512), f.Arrays(), realTime[vector]),
              FftStatus::Done);
  }
  detail::EnableVectorKernels(true);
  EXPECT_EQ(levels[0], levels[1]);
  EXPECT_EQ(realTime[0], realTime[1]);
}

TEST(ComputeSpectrum, SeriesFormWritesHalfTheSizeInLevels) {
  TLargeTab series(5), levels(5);
  const std::vector<std::uint8_t> v = Cosine(40000, 1000, 60);
  for (std::uint32_t i = 0; i < v.size(); ++i) series.SetValue(i, v[i]);
  for (std::uint32_t i = 0; i < 40000; ++i) levels.SetValue(i, 99);
  Fft f(65536);
  ASSERT_EQ(ComputeSpectrum(series, 40000, 65536, f.Arrays(), levels), FftStatus::Done);
  std::vector<std::uint8_t> expected(32768);
  Fft g(65536);
  ASSERT_EQ(ComputeSpectrum(v, 65536, g.Arrays(), expected), FftStatus::Done);
  for (std::uint32_t k = 0; k < 32768; ++k) ASSERT_EQ(levels.GetValue(k), expected[k]) << k;
  EXPECT_EQ(levels.GetValue(32768), 99);
  // 1000 periods over 40000 samples, padded to 65536: the peak lies at bin 1638.4.
  EXPECT_EQ(levels.GetValue(1638), 255);
}

TEST(ComputeSpectrum, RefusesWhatTheArraysCannotHold) {
  Fft f(4096);
  std::vector<std::uint8_t> levels(8192);
  const std::vector<std::uint8_t> samples(100, 1);
  EXPECT_EQ(ComputeSpectrum(samples, 8192, f.Arrays(), levels), FftStatus::Refused);
  EXPECT_EQ(ComputeSpectrum(samples, 3000, f.Arrays(), levels), FftStatus::Refused);
  EXPECT_EQ(ComputeSpectrum(samples, 64, f.Arrays(), levels), FftStatus::Refused);
  EXPECT_EQ(ComputeSpectrum(samples, 4096, f.Arrays(), std::span(levels).first(100)),
            FftStatus::Refused);
  EXPECT_EQ(ComputeSpectrum(samples, 4096, {f.data, f.data, f.twiddles}, levels),
            FftStatus::Refused);
}

TEST(ComputeSpectrumRealTime, ZeroBinZeroMaximumOverAllBinsEachLevelTwice) {
  Fft f(512);
  std::vector<std::uint8_t> out(1024, 7);
  ASSERT_EQ(ComputeSpectrumRealTime(Cosine(512, 8), f.Arrays(), out), FftStatus::Done);
  for (std::uint32_t k = 0; k < 512; ++k) {
    ASSERT_EQ(out[2 * k], out[2 * k + 1]) << k;
    const int expected = (k == 8 || k == 504) ? 255 : 0;
    ASSERT_NEAR(out[2 * k], expected, 1) << k;
  }
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[2 * 8], 255);
  EXPECT_EQ(out[2 * 504], 255);

  // A flat frame has no positive modulus; the maximum becomes 1 and every level 0.
  ASSERT_EQ(ComputeSpectrumRealTime(std::vector<std::uint8_t>(512, 200), f.Arrays(), out),
            FftStatus::Done);
  for (std::uint8_t v : out) ASSERT_EQ(v, 0);

  // The frame may be the start of the output curve.
  std::vector<std::uint8_t> curve(1024);
  const std::vector<std::uint8_t> frame = Cosine(512, 8);
  std::copy(frame.begin(), frame.end(), curve.begin());
  ASSERT_EQ(ComputeSpectrumRealTime(std::span(curve).first(512), f.Arrays(), curve),
            FftStatus::Done);
  EXPECT_EQ(curve[16], 255);
  EXPECT_EQ(curve[17], 255);
}

// A clock that moves 1 ms at each reading, and a pump that counts.
struct FakePump : FftPump {
  std::int64_t now = 0;
  int reads = 0, pumps = 0, cancelAt = -1;
  std::vector<std::uint32_t> positions;
  std::int64_t NowUs() override {
    ++reads;
    return now += 1000;
  }
  bool PumpMessages() override { return ++pumps == cancelAt; }
  void StageDone(std::uint32_t p) override { positions.push_back(p); }
};

TEST(Transform, ReadsTheClockEveryFewThousandButterfliesAndPumpsEveryTenMilliseconds) {
  const std::uint32_t size = 131072;
  Fft f(size);
  f.Load(RandomCells(size, 3));
  ComputeTwiddles(f.twiddles, size);
  FakePump pump;
  ASSERT_EQ(Transform(f.Arrays(), size, &pump), FftStatus::Done);
  const int butterflies = 17 * size / 2;
  EXPECT_EQ(pump.reads, 1 + butterflies / static_cast<int>(kPumpCheckButterflies));
  EXPECT_EQ(pump.pumps, (pump.reads - 1) / 10);
  std::vector<std::uint32_t> expected;
  for (std::uint32_t L = size / 4; L >= 1; L /= 2) expected.push_back(size - L);
  expected.push_back(size);
  EXPECT_EQ(pump.positions, expected);
}

TEST(ComputeSpectrum, CancelStopsTheTransformButStillScalesThePartialResult) {
  const std::uint32_t size = 65536;
  Fft f(size);
  std::vector<std::uint8_t> levels(size / 2, 9);
  FakePump pump;
  pump.cancelAt = 1;
  ASSERT_EQ(ComputeSpectrum(Cosine(size, 300), size, f.Arrays(), levels, &pump),
            FftStatus::Cancelled);
  EXPECT_EQ(pump.pumps, 1);
  EXPECT_EQ(pump.reads, 11);
  EXPECT_LT(pump.positions.size(), 16u);
  // Bin 0 holds the fixed (1, 1) and every level was written.
  float re, im;
  f.data.GetComplex(0, re, im);
  EXPECT_EQ(re, 1.0f);
  EXPECT_EQ(im, 1.0f);
  int written = 0;
  for (std::uint8_t v : levels) written += v != 9;
  EXPECT_GT(written, 0);
  EXPECT_LE(*std::max_element(levels.begin(), levels.end()), 255);
}

}  // namespace
}  // namespace rovanel::signal
