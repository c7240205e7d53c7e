// A 131 072-point Michelson series saved to and loaded from a .CCT file,
// through the window's commands' own steps (codec, checks, the file written
// whole then renamed, the samples stored).
#include <benchmark/benchmark.h>

#include <vector>

#include <filesystem>

#include "app/main_window.h"

namespace {

using namespace rovanel;

struct Window {
  Window() : box(Options(), clock), fp(box, port) {
    fp.SetForcedLanguage(2);
    fp.FormCreate();
    fp.FormShow();
    std::vector<std::uint8_t> series(131072);
    for (std::uint32_t k = 0; k < series.size(); ++k) series[k] = static_cast<std::uint8_t>(k * 7);
    fp.FillSeries(series);
  }
  static app::BoxOptions Options() {
    app::BoxOptions o;
    o.kind = app::BoxKind::None;
    return o;
  }
  device::ManualClock clock;
  app::Box box;
  app::NullUiPort port;
  app::TFp fp;
  std::string file = (std::filesystem::temp_directory_path() / "rovanel-bench.CCT").string();
};

// The file is flushed to the disk before the rename: the wall time is mostly
// that wait, the CPU time (beside it) the program's own work.
void BM_SaveCct131072(benchmark::State& state) {
  Window w;
  for (auto _ : state)
    if (!w.fp.SaveCCT(w.file)) state.SkipWithError("save failed");
  state.SetBytesProcessed(state.iterations() * (1411 + 131072));
}
BENCHMARK(BM_SaveCct131072)->Unit(benchmark::kMillisecond);

void BM_LoadCct131072(benchmark::State& state) {
  Window w;
  w.fp.SaveCCT(w.file);
  for (auto _ : state)
    if (!w.fp.LoadCCT(w.file)) state.SkipWithError("load failed");
  state.SetBytesProcessed(state.iterations() * (1411 + 131072));
  std::filesystem::remove(w.file);
}
BENCHMARK(BM_LoadCct131072)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
