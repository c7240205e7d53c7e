// The texts of every form put in place from the shipped dictionary, as at
// start-up and at each change of language: the file read once, then every
// caption, hint and item looked up.
#include <benchmark/benchmark.h>

#include "app/main_window.h"

namespace {

using namespace rovanel;

void BM_LoadLanguage(benchmark::State& state) {
  device::ManualClock clock;
  app::BoxOptions o;
  o.kind = app::BoxKind::None;
  app::Box box(o, clock);
  app::NullUiPort port;
  app::TFp fp(box, port);
  fp.SetForcedLanguage(2);
  fp.FormCreate();
  fp.FormShow();
  if (!fp.Words().Loaded()) state.SkipWithError("no dictionary next to the program");
  for (auto _ : state) {
    fp.LanguageChosen(1 + static_cast<int>(state.iterations() % 3));
    benchmark::DoNotOptimize(fp.Controls().acquisition.caption.data());
  }
}
BENCHMARK(BM_LoadLanguage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
