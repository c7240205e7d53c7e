// One least-squares fit of the interference models to a noisy bench frame:
// what the user waits for after pressing the fit button.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "device/sim/optical_bench.h"
#include "optics/fit.h"

namespace {

using namespace rovanel;

std::array<std::uint8_t, 2048> Frame(device::sim::Scene scene) {
  device::sim::OpticalBench bench(scene, 1);
  std::array<std::uint8_t, 2048> frame{};
  bench.Frame(device::sim::OpticalBench::kReferenceMs, frame.data());
  return frame;
}

optics::SimulationParams Given() {
  optics::SimulationParams p;  // the dialog's widths, the bench's L and λ
  p.ScreenDistance = 1.0;
  p.Wavelength = 632.8e-9;
  return p;
}

void Fit(benchmark::State& state, device::sim::Scene scene, int page) {
  const auto frame = Frame(scene);
  const optics::SimulationParams given = Given();
  int iterations = 0;
  for (auto _ : state) {
    const optics::FitResult r = optics::FitSimulation(frame, page, given);
    if (!r.ok) state.SkipWithError(r.why.c_str());
    iterations = r.iterations;
    benchmark::DoNotOptimize(r.params.SlitWidth);
  }
  state.counters["lm_iterations"] = iterations;
}

void BM_FitTwoSlits(benchmark::State& state) {
  Fit(state, device::sim::Scene::TwoSlits, optics::kPageTwoSlits);
}
BENCHMARK(BM_FitTwoSlits)->Unit(benchmark::kMillisecond);

void BM_FitOneSlit(benchmark::State& state) {
  Fit(state, device::sim::Scene::Slit, optics::kPageOneSlit);
}
BENCHMARK(BM_FitOneSlit)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
