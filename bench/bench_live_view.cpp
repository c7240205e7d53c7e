// The live view through the Qt window, off screen: the CPU of one frame
// (the box's frames instant), and the whole program's share of a core while
// the live view runs at the simulated box's own rate (its frames take their
// integration time on the real clock), beside the simulated box alone.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <array>
#include <chrono>
#include <cstdint>

#include "app/box.h"
#include "base/sizes.h"
#include "base/vector_state.h"
#include "device/board.h"
#include "device/clock.h"
#include "gui/main_view.h"

namespace {

using namespace rovanel;

// User and system time of the whole process (every thread), in seconds.
double ProcessCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// The window, which stops the live loop after `frames` passes or once
// `until` has passed on the steady clock.
class Window : public gui::MainView {
 public:
  using gui::MainView::MainView;
  void ProcessMessages() override {
    gui::MainView::ProcessMessages();
    ++passes;
    if (passes >= frames || std::chrono::steady_clock::now() >= until) Model().StopEndlessLoops();
  }
  long frames = 0;
  long passes = 0;
  std::chrono::steady_clock::time_point until = std::chrono::steady_clock::time_point::max();
};

app::BoxOptions Sim(double timeScale) {
  app::BoxOptions o;
  o.kind = app::BoxKind::Sim;
  o.timeScale = timeScale;
  return o;
}

void Start(Window& w) {
  w.Model().FormCreate();
  w.Model().FormShow();
  w.Sync();
  w.show();
  QApplication::processEvents();
}

// One pass of the live loop through the window: the frame, the light
// processing, the model's picture, the events; the plot is repainted at
// most once a screen period, so with the box's frames instant most passes
// are not drawn (BM_LivePass/scaled:1 in bench_screen_plot draws each).
void BM_LiveFrameQtView(benchmark::State& state) {
  device::ManualClock clock;
  app::Box box(Sim(0), clock);
  Window w(box);
  Start(w);
  for (auto _ : state) {
    w.passes = 0;
    w.frames = 100;
    w.Model().Click("rt");  // 100 passes, then the loop stops
    state.PauseTiming();
    w.Model().Click("rt");  // the button up again
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 100);  // frames
}
BENCHMARK(BM_LiveFrameQtView)->Unit(benchmark::kMillisecond);

// Counts the paints of the plot.
struct Paints : QObject {
  long count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

// Ten seconds of live view at the box's rate. fps: frames read and
// processed per second; paints: the plot's repaints per second (at most
// the screen's rate); cpu_share: the process' CPU time over the wall time
// (1 = one core).
void BM_LiveViewAtBoxRate(benchmark::State& state) {
  app::Box box(Sim(1.0), device::RealClock());
  Window w(box);
  Start(w);
  Paints paints;
  if (QWidget* plot = w.findChild<QWidget*>("ecran")) plot->installEventFilter(&paints);
  for (auto _ : state) {
    paints.count = 0;
    w.passes = 0;
    w.frames = 1L << 40;
    const auto t0 = std::chrono::steady_clock::now();
    w.until = t0 + std::chrono::seconds(10);
    const double cpu0 = ProcessCpuSeconds();
    w.Model().Click("rt");
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = ProcessCpuSeconds() - cpu0;
    state.counters["fps"] = static_cast<double>(w.passes) / wall;
    state.counters["paints"] = static_cast<double>(paints.count) / wall;
    state.counters["cpu_share"] = cpu / wall;
    state.PauseTiming();
    w.Model().Click("rt");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LiveViewAtBoxRate)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// The anchor of the one above: ten seconds of frames from the simulated
// box alone, each asked for as soon as the one before is in, nothing
// processed or drawn. fps: the box's own rate on this machine (its
// integration time plus the sleeps' lateness); cpu_share: what the box
// simulation and the link cost the process, work a real box does itself.
void BM_SimulatedBoxAlone(benchmark::State& state) {
  // The window's last paints left the vector state in use; the live loop's
  // thread runs without it, and so does its anchor.
  ClearUpperVectorHalves();
  app::Box box(Sim(1.0), device::RealClock());
  device::Board& board = box.GetBoard();
  board.Connect(0);
  board.SetIntegrationTime(device::kDefaultIntegrationMs);
  std::array<std::uint16_t, kFrameBlockSize> words{};
  for (auto _ : state) {
    long frames = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const auto until = t0 + std::chrono::seconds(10);
    const double cpu0 = ProcessCpuSeconds();
    board.StartFrame();
    while (std::chrono::steady_clock::now() < until) {
      if (board.FinishFrame(words) == 0) ++frames;
      board.StartFrame();
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.counters["fps"] = static_cast<double>(frames) / wall;
    state.counters["cpu_share"] = (ProcessCpuSeconds() - cpu0) / wall;
    board.DropStartedFrame();
  }
}
BENCHMARK(BM_SimulatedBoxAlone)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  rovanel::ClearUpperVectorHalves();  // as the program does after Qt's start-up
  gui::DrawOnOneThread();  // as the program does
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
