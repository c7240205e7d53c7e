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

// Four curves of 2048 samples: fringes of different pitch and some noise.
std::vector<std::vector<std::uint8_t>> MakeCurves() {
  std::vector<std::vector<std::uint8_t>> curves(4, std::vector<std::uint8_t>(kSamples));
  std::uint32_t seed = 12345;
  for (int k = 0; k < 4; ++k) {
    for (int i = 0; i < kSamples; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const double v = 127.5 + 110.0 * std::sin(i * (0.01 + 0.013 * k)) + ((seed >> 24) % 17) - 8.0;
      curves[k][i] = static_cast<std::uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, v))));
    }
  }
  return curves;
}

const Rgb kColours[4] = {rovanel::display::kBlack, rovanel::display::kNavy, rovanel::display::kRed,
                         rovanel::display::kBlack};

void DrawFour(Canvas& c, const std::vector<std::vector<std::uint8_t>>& curves, TraceStyle style) {
  for (int k = 0; k < 4; ++k) {
    c.penColour = kColours[k];
    DrawTrace(c, curves[k].data(), curves[k].size(), style, TraceView{0, 4, 1, false});
  }
}

void BM_DrawTrace(benchmark::State& state) {
  const auto style = static_cast<TraceStyle>(state.range(0));
  const auto curves = MakeCurves();
  Canvas c(512, 256);
  for (auto _ : state) {
    DrawFour(c, curves, style);
    benchmark::DoNotOptimize(c.Bits());
  }
  state.SetItemsProcessed(state.iterations() * 4 * kSamples);
}
BENCHMARK(BM_DrawTrace)
    ->Arg(static_cast<int>(TraceStyle::Vecteurs))
    ->Arg(static_cast<int>(TraceStyle::Pics))
    ->Arg(static_cast<int>(TraceStyle::Points))
    ->ArgName("style");

// Background copy, four traces, copy to the screen bitmap.
void BM_Compose(benchmark::State& state) {
  const auto style = static_cast<TraceStyle>(state.range(0));
  const auto curves = MakeCurves();
  const Canvas back(512, 256);
  Canvas draw(512, 256);
  Canvas screen(512, 256);
  for (auto _ : state) {
    draw.CopyFrom(back, 0, 0);
    draw.penStyle = rovanel::display::PenStyle::Solid;
    DrawFour(draw, curves, style);
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
