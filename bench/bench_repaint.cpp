// A full repaint through the window model: grid, curves, a band, legends
// and cursors, as every handler ends with it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "app/main_window.h"

namespace {

using namespace rovanel;

std::vector<std::uint8_t> Sine(std::size_t n) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(127 + 100 * std::sin(i * 0.05));
  return v;
}

app::BoxOptions NoBox() {
  app::BoxOptions o;
  o.kind = app::BoxKind::None;
  return o;
}

struct Window {
  Window() {
    fp.FormCreate();
    fp.FormShow();
    fp.Click("Grid");
    fp.Click("cursv");
    fp.Click("cursh");
  }
  device::ManualClock clock;
  app::Box box{NoBox(), clock};
  app::NullUiPort port;
  app::TFp fp{box, port};
};

// Three profiles (the most the window holds) with the grid, the grey band
// and both cursor pairs; the zoom step is the argument (1 or 4, the whole
// profile).
void BM_RepaintProfiles(benchmark::State& state) {
  Window w;
  w.fp.Click("superposition");
  w.fp.Click("acquisition");
  w.fp.Click("acquisition");
  if (w.fp.Controls().filtrage.down) w.fp.Click("filtrage");
  for (int k = 1; k <= 3; ++k) {
    signal::Curve c;
    for (int i = 0; i < 2048; ++i)
      c[static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(127 + 100 * std::sin(i * (0.01 + 0.013 * k)));
    w.fp.SetRawCurve(k, c);
  }
  w.fp.ProcessCurves();
  w.fp.SetZoom(2048, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    w.fp.DrawCurves();
    benchmark::DoNotOptimize(w.fp.Picture().Bits());
  }
}
BENCHMARK(BM_RepaintProfiles)->Arg(1)->Arg(4)->ArgName("zoom");

// An 8192-point Michelson series with the cursors, at zoom 1 and 16.
void BM_RepaintSeries(benchmark::State& state) {
  Window w;
  w.fp.Click("mi");
  w.fp.FillSeries(Sine(8192));
  w.fp.SetZoom(8192, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    w.fp.DrawCurves();
    benchmark::DoNotOptimize(w.fp.Picture().Bits());
  }
}
BENCHMARK(BM_RepaintSeries)->Arg(1)->Arg(16)->ArgName("zoom");

// One pass of the live view on the simulated box with its frame time at
// zero: the frame, the light processing, the redraw. The pump stops the
// loop after the passes asked for.
void BM_LivePass(benchmark::State& state) {
  device::ManualClock clock;
  app::BoxOptions o;
  o.kind = app::BoxKind::Sim;
  o.timeScale = 0;
  app::Box box(o, clock);
  struct Port : app::NullUiPort {
    int left = 0;
    app::TFp* fp = nullptr;
    void ProcessMessages() override {
      if (--left <= 0) fp->StopEndlessLoops();
    }
  } port;
  app::TFp fp(box, port);
  port.fp = &fp;
  fp.FormCreate();
  fp.FormShow();
  fp.Click("calibration");
  for (auto _ : state) {
    port.left = 100;
    fp.Click("rt");  // 100 passes, then the port stops the loop
    state.PauseTiming();
    fp.Click("rt");  // the button up again
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 100);  // passes
}
BENCHMARK(BM_LivePass)->Unit(benchmark::kMillisecond);

// From the last byte of a 131 072-point series to the picture, as an
// acquisition ends: the zoom that shows it whole, the processing with the
// filter on, one drawing.
void BM_SeriesToPicture(benchmark::State& state) {
  Window w;
  w.fp.Click("mi");
  if (!w.fp.Controls().filtrage.down) w.fp.Click("filtrage");
  w.fp.FillSeries(Sine(131072));
  for (auto _ : state) {
    w.fp.ShowAcquiredSeries(131072);
    benchmark::DoNotOptimize(w.fp.Picture().Bits());
  }
}
BENCHMARK(BM_SeriesToPicture)->Unit(benchmark::kMillisecond);

// The anchor: the same with the zoom's own drawing first, as the window drew
// a new series before (twice, the first time from the stale data).
void BM_SeriesToPictureTwoDrawings(benchmark::State& state) {
  Window w;
  w.fp.Click("mi");
  if (!w.fp.Controls().filtrage.down) w.fp.Click("filtrage");
  w.fp.FillSeries(Sine(131072));
  for (auto _ : state) {
    w.fp.SetZoom(131072, 256);
    w.fp.ProcessCurves();
    benchmark::DoNotOptimize(w.fp.Picture().Bits());
  }
}
BENCHMARK(BM_SeriesToPictureTwoDrawings)->Unit(benchmark::kMillisecond);

// The window's processing pass as a click on a processing button runs it
// (the inversion toggled), drawing included, in the states each mode
// reaches. With a spectrum shown the processing buttons are off and the
// spectrum is kept until the data change: there an iteration is new data
// (a profile, or the series stored sample by sample), processed with the
// spectrum computed again.
enum ProcessCase {
  kInterference,   // three superposed profiles, stretch and filter
  kAnalysis,       // three profiles, filter, logarithmic LUT, histogram band
  kSpectrometry,   // one spectrum, filter, colour band
  kSpectrum,       // one profile and its spectrum (no superposition with it)
  kSeries,         // a 131 072-point series, filter
  kSeriesSpectrum  // the same series and its spectrum
};

void Fill(app::TFp& fp, int profiles) {
  for (int k = 1; k <= profiles; ++k) {
    signal::Curve c;
    for (int i = 0; i < 2048; ++i)
      c[static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(127 + 100 * std::sin(i * (0.01 + 0.013 * k)));
    fp.SetRawCurve(k, c);
  }
}

void Press(app::TFp& fp, const char* name, bool down) {
  const app::Control* c = nullptr;
  if (std::string_view(name) == "filtrage") c = &fp.Controls().filtrage;
  if (std::string_view(name) == "calibration") c = &fp.Controls().calibration;
  if (c == nullptr || c->down != down) fp.Click(name);
}

void BM_ProcessCurves(benchmark::State& state) {
  Window w;
  const auto kind = static_cast<ProcessCase>(state.range(0));
  switch (kind) {
    case kInterference:
    case kAnalysis:
      w.fp.Click(kind == kAnalysis ? "opto" : "int");
      w.fp.Click("superposition");
      w.fp.Click("acquisition");
      w.fp.Click("acquisition");
      Fill(w.fp, 3);
      Press(w.fp, "calibration", true);
      Press(w.fp, "filtrage", true);
      if (kind == kAnalysis) {
        w.fp.Click("lutln");
        w.fp.Click("gauss");
      }
      break;
    case kSpectrometry:
      w.fp.Click("spectro");
      Fill(w.fp, w.fp.Curves().Count());
      Press(w.fp, "filtrage", true);
      w.fp.Click("spColor");
      break;
    case kSpectrum:
      w.fp.Click("int");
      Fill(w.fp, 1);
      Press(w.fp, "filtrage", true);
      w.fp.Click("fft");
      break;
    case kSeries:
    case kSeriesSpectrum:
      w.fp.Click("mi");
      Press(w.fp, "filtrage", true);
      w.fp.FillSeries(Sine(131072));
      w.fp.ShowAcquiredSeries(131072);
      if (kind == kSeriesSpectrum) w.fp.Click("fft");
      break;
  }
  signal::Curve profile{};
  for (int i = 0; i < 2048; ++i)
    profile[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(127 + 100 * std::sin(i * 0.02));
  const std::vector<std::uint8_t> series = Sine(131072);
  for (auto _ : state) {
    if (kind == kSpectrum)
      w.fp.FillLastCurve(profile);
    else if (kind == kSeriesSpectrum)
      w.fp.FillSeries(series);
    else
      w.fp.Click("invert");
    benchmark::DoNotOptimize(w.fp.Picture().Bits());
  }
}
BENCHMARK(BM_ProcessCurves)
    ->DenseRange(kInterference, kSeriesSpectrum)
    ->ArgName("case")
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
