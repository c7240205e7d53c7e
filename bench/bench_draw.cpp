// Drawing cost of the plot: curve traces and the full off-screen composition.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "display/canvas.h"
#include "display/traces.h"

namespace {

using rovanel::display::Canvas;
using rovanel::display::DrawTrace;
using rovanel::display::Rgb;
using rovanel::display::TraceStyle;
using rovanel::display::TraceView;

constexpr int kSamples = 2048;
constexpr int kProfiles = 3;  // the most the window superposes
constexpr int kLongestSeries = 131072;

// Curves of n samples: fringes of different pitch and some noise.
std::vector<std::vector<std::uint8_t>> MakeCurves(int count = kProfiles, int n = kSamples) {
  std::vector<std::vector<std::uint8_t>> curves(count, std::vector<std::uint8_t>(n));
  std::uint32_t seed = 12345;
  for (int k = 0; k < count; ++k) {
    for (int i = 0; i < n; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const double v = 127.5 + 110.0 * std::sin(i * (0.01 + 0.013 * k)) + ((seed >> 24) % 17) - 8.0;
      curves[k][i] = static_cast<std::uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, v))));
    }
  }
  return curves;
}

const Rgb kColours[4] = {rovanel::display::kBlack, rovanel::display::kNavy, rovanel::display::kRed,
                         rovanel::display::kBlack};

// Each curve over the 512 columns at the zoom that shows it whole.
void DrawAll(Canvas& c, const std::vector<std::vector<std::uint8_t>>& curves, TraceStyle style) {
  for (std::size_t k = 0; k < curves.size(); ++k) {
    c.penColour = kColours[k];
    const int zoom = static_cast<int>(curves[k].size() / 512);
    DrawTrace(c, curves[k].data(), curves[k].size(), style, TraceView{0, zoom, 1, false});
  }
}

// Three profiles at zoom 4 (samples 2048), or the longest series at zoom 256
// (samples 131072). Items are the samples the style reads: one per column
// for Vecteurs, every sample for the others.
void BM_DrawTrace(benchmark::State& state) {
  const auto style = static_cast<TraceStyle>(state.range(0));
  const int n = static_cast<int>(state.range(1));
  const auto curves = n == kSamples ? MakeCurves() : MakeCurves(1, n);
  Canvas c(512, 256);
  for (auto _ : state) {
    DrawAll(c, curves, style);
    benchmark::DoNotOptimize(c.Bits());
  }
  const std::int64_t read = style == TraceStyle::Vecteurs ? 512 : n;
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(curves.size()) * read);
}
BENCHMARK(BM_DrawTrace)
    ->ArgsProduct({{static_cast<int>(TraceStyle::Vecteurs), static_cast<int>(TraceStyle::Pics),
                    static_cast<int>(TraceStyle::Points)},
                   {kSamples, kLongestSeries}})
    ->ArgNames({"style", "samples"});

// Background copy, three traces, copy to the screen bitmap.
void BM_Compose(benchmark::State& state) {
  const auto style = static_cast<TraceStyle>(state.range(0));
  const auto curves = MakeCurves();
  const Canvas back(512, 256);
  Canvas draw(512, 256);
  Canvas screen(512, 256);
  for (auto _ : state) {
    draw.CopyFrom(back, 0, 0);
    draw.penStyle = rovanel::display::PenStyle::Solid;
    DrawAll(draw, curves, style);
    screen.CopyFrom(draw, 0, 0);
    benchmark::DoNotOptimize(screen.Bits());
  }
}
BENCHMARK(BM_Compose)
    ->Arg(static_cast<int>(TraceStyle::Vecteurs))
    ->Arg(static_cast<int>(TraceStyle::Pics))
    ->Arg(static_cast<int>(TraceStyle::Points))
    ->ArgName("style");

}  // namespace

BENCHMARK_MAIN();
