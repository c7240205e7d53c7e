// One frame from request to picture on the simulated box with its frame
// time set to zero, and the parts of that path.
#include <benchmark/benchmark.h>

#include <array>

#include "app/main_window.h"
#include "device/clock.h"

namespace {

using namespace rovanel;

struct Rig {
  device::ManualClock clock;
  app::Box box;
  app::NullUiPort port;
  app::TFp fp;

  explicit Rig(int curves) : box(Options(), clock), fp(box, port) {
    fp.FormCreate();
    fp.FormShow();
    if (curves > 1) fp.Click("superposition");
    for (int i = 1; i < curves; ++i) fp.Click("acquisition");
  }
  static app::BoxOptions Options() {
    app::BoxOptions o;
    o.kind = app::BoxKind::Sim;
    o.timeScale = 0.0;
    return o;
  }
};

void BM_FrameToPicture(benchmark::State& state) {
  Rig rig(1);
  for (auto _ : state) rig.fp.acquisitionClick();
  benchmark::DoNotOptimize(rig.fp.Picture().Bits());
}
BENCHMARK(BM_FrameToPicture)->Unit(benchmark::kMicrosecond);

void BM_ReadFrameOnly(benchmark::State& state) {
  Rig rig(1);
  std::array<std::uint16_t, 2100> words{};
  for (auto _ : state) benchmark::DoNotOptimize(rig.box.GetBoard().ReadFrame(words));
}
BENCHMARK(BM_ReadFrameOnly)->Unit(benchmark::kMicrosecond);

// The simulated optics alone: the box's share of a frame, not the program's.
void BM_SimulatedOpticsOnly(benchmark::State& state) {
  device::sim::OpticalBench bench(device::sim::Scene::Slit);
  std::array<std::uint8_t, 2048> light{};
  for (auto _ : state) {
    bench.Frame(10.0, light.data());
    benchmark::DoNotOptimize(light.data());
  }
}
BENCHMARK(BM_SimulatedOpticsOnly)->Unit(benchmark::kMicrosecond);

// Three overlaid profiles (the most the window holds) in each style.
void BM_DrawCurvesThreeCurves(benchmark::State& state) {
  Rig rig(3);
  switch (state.range(0)) {
    case 0:
      rig.fp.Vecteurs1Click();
      break;
    case 1:
      rig.fp.Pics1Click();
      break;
    default:
      rig.fp.Points1Click();
      break;
  }
  for (auto _ : state) rig.fp.DrawCurves();
  state.SetLabel(state.range(0) == 0 ? "Vecteurs" : state.range(0) == 1 ? "Pics" : "Points");
}
BENCHMARK(BM_DrawCurvesThreeCurves)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
