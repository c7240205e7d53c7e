// The window's plot drawn as vectors at 1600 x 900, beside the model's
// 512 x 256 picture of the same measurement: four profiles with the grid,
// the band and both cursor pairs; a 131 072-point series; and a pass of the
// live view with the scaled plot drawn after each frame.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QThreadPool>
#include <cmath>
#include <vector>

#include "app/main_window.h"
#include "base/vector_state.h"
#include "display/page_qt.h"
#include "display/plot_drawing.h"
#include "display/pooled_paint.h"

namespace {

using namespace rovanel;

constexpr int kWidth = 1600, kHeight = 900;
constexpr double kDpi = 96;

// The plot drawn as the window's paint event draws it, into an image of
// the widget's size on a thread of Qt's pool. The benchmarks count the
// CPU of every thread of the process.
void DrawScreen(const app::TFp::ScreenPlot& plot, QImage& image) {
  display::PaintInPool(image, [&](QPainter& painter) {
    painter.fillRect(image.rect(), Qt::white);
    ClearUpperVectorHalves();  // as the window does after its white
    display::QtPagePainter page(painter, kDpi);
    display::DrawPlot(page, plot.page, plot.style, display::ScreenFrame(kWidth, kHeight, kDpi),
                      plot.options);
  });
}

QImage Target() {
  return QImage(kWidth, kHeight, QImage::Format_RGB32);
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

// Four 2048-sample profiles (the most a curve set holds), the grid, the
// grey band under them, both cursor pairs and the legend.
void BM_ScaledFourProfiles(benchmark::State& state) {
  Window w;
  display::PageFrame frame = display::ScreenFrame(kWidth, kHeight, kDpi);
  app::TFp::ScreenPlot plot = w.fp.MakeScreenPlot(frame, kDpi);
  plot.page.curves.clear();
  const display::Rgb pens[] = {display::kBlack, display::kNavy, display::kRed, display::kSilver};
  for (int k = 0; k < 4; ++k) {
    display::PageCurve c{std::vector<double>(2048), pens[k]};
    for (std::size_t i = 0; i < 2048; ++i)
      c.levels[i] = 127 + 100 * std::sin(static_cast<double>(i) * (0.01 + 0.013 * k));
    plot.page.curves.push_back(std::move(c));
  }
  plot.options.names = {"a.CCD", "b.CCD", "", ""};
  plot.options.gridLines = true;
  QImage image = Target();
  for (auto _ : state) {
    DrawScreen(plot, image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_ScaledFourProfiles)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// Three profiles through the window model, then drawn: at 512 x 256 (the
// model's picture) and at 1600 x 900 (the screen plot built and drawn).
void BM_ThreeProfiles(benchmark::State& state) {
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
  const bool scaled = state.range(0) != 0;
  const display::PageFrame frame = display::ScreenFrame(kWidth, kHeight, kDpi);
  QImage image = Target();
  for (auto _ : state) {
    if (scaled) {
      DrawScreen(w.fp.MakeScreenPlot(frame, kDpi), image);
      benchmark::DoNotOptimize(image.constBits());
    } else {
      w.fp.DrawCurves();
      benchmark::DoNotOptimize(w.fp.Picture().Bits());
    }
  }
}
BENCHMARK(BM_ThreeProfiles)->Arg(0)->Arg(1)->ArgName("scaled")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// A 131 072-point Michelson series, the whole of it in view.
void BM_Series131072(benchmark::State& state) {
  Window w;
  w.fp.Click("mi");
  std::vector<std::uint8_t> series(131072);
  for (std::size_t i = 0; i < series.size(); ++i)
    series[i] = static_cast<std::uint8_t>(127 + 100 * std::sin(static_cast<double>(i) * 0.05));
  w.fp.FillSeries(series);
  w.fp.SetZoom(131072, 256);
  const bool scaled = state.range(0) != 0;
  const display::PageFrame frame = display::ScreenFrame(kWidth, kHeight, kDpi);
  QImage image = Target();
  for (auto _ : state) {
    if (scaled) {
      DrawScreen(w.fp.MakeScreenPlot(frame, kDpi), image);
      benchmark::DoNotOptimize(image.constBits());
    } else {
      w.fp.DrawCurves();
      benchmark::DoNotOptimize(w.fp.Picture().Bits());
    }
  }
}
BENCHMARK(BM_Series131072)->Arg(0)->Arg(1)->ArgName("scaled")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// One pass of the live view on the simulated box (its frame time at zero):
// the frame, the light processing, the model's picture; with `scaled`, the
// window's plot drawn at 1600 x 900 each time the picture changes.
void BM_LivePass(benchmark::State& state) {
  device::ManualClock clock;
  app::BoxOptions o;
  o.kind = app::BoxKind::Sim;
  o.timeScale = 0;
  app::Box box(o, clock);
  struct Port : app::NullUiPort {
    int left = 0;
    bool scaled = false;
    app::TFp* fp = nullptr;
    QImage image = Target();
    void ProcessMessages() override {
      if (--left <= 0) fp->StopEndlessLoops();
    }
    void PictureChanged() override {
      if (scaled)
        DrawScreen(fp->MakeScreenPlot(display::ScreenFrame(kWidth, kHeight, kDpi), kDpi), image);
    }
  } port;
  port.scaled = state.range(0) != 0;
  app::TFp fp(box, port);
  port.fp = &fp;
  fp.FormCreate();
  fp.FormShow();
  fp.Click("calibration");
  for (auto _ : state) {
    port.left = 100;
    fp.Click("rt");  // 100 passes, then the port stops the loop
    state.PauseTiming();
    fp.Click("rt");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 100);  // passes
}
BENCHMARK(BM_LivePass)->Arg(0)->Arg(1)->ArgName("scaled")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Texts need a font database.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  rovanel::ClearUpperVectorHalves();  // as the program does after Qt's start-up
  // The drawing on one thread, as the window program has it (DrawOnOneThread).
  QThreadPool::globalInstance()->setMaxThreadCount(1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
