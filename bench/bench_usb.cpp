// The real USB path (libftdi1, libusb, link, protocol) against the emulated
// FT232R carrying the simulated box: the wall time of a frame and of a
// 131 072-point series, and the CPU time the host's thread spends meanwhile
// (a wait that polls without pausing shows as a share near 1).
//
// Runs itself under umockdev's preload, like the tests of the same path.
#include <benchmark/benchmark.h>
#include <time.h>

#include <memory>
#include <vector>

#include "device/board.h"
#include "device/ftdi_driver.h"
#include "device/sim/sim_box.h"
#include "device/usb_link.h"
#include "support/usb_emulation/ft232r.h"
#include "support/usb_emulation/usb_testbed.h"

namespace {

using namespace rovanel;
using support::usb::BoxFirmware;

double ThreadCpuS() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double WallS() {
  return static_cast<double>(device::RealClock().NowUs()) * 1e-6;
}

struct Rig {
  explicit Rig(double timeScale)
      : chip(bed.Plug(std::make_unique<BoxFirmware>(bench, timeScale))),
        driver(device::MakeFtdiDriver()),
        link(*driver, device::RealClock()),
        board(link) {}
  support::usb::UsbTestbed bed;
  device::sim::OpticalBench bench{device::sim::Scene::Slit, 1};
  support::usb::Ft232r& chip;
  std::unique_ptr<device::FtDriver> driver;
  device::UsbLink link;
  device::Board board;
};

// Reports the host thread's CPU time per second of wall time over the loop.
template <class Body>
void Measure(benchmark::State& state, Body body) {
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    const double c0 = ThreadCpuS(), w0 = WallS();
    if (body() != device::FT_OK) state.SkipWithError("the exchange failed");
    cpu += ThreadCpuS() - c0;
    wall += WallS() - w0;
  }
  state.counters["host_cpu_ms"] = benchmark::Counter(cpu * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["host_cpu_share"] = wall > 0 ? cpu / wall : 0;
}

void BM_UsbFrame(benchmark::State& state) {
  if (!support::usb::UnavailableReason().empty()) {
    state.SkipWithError(support::usb::UnavailableReason().c_str());
    return;
  }
  Rig rig(1.0);
  rig.board.Connect();
  std::vector<std::uint16_t> frame(kFrameBlockSize);
  Measure(state, [&] { return rig.board.ReadFrame(frame); });
}
BENCHMARK(BM_UsbFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

// The series' 22 minutes at 10 ms per sample pass in about a second.
void BM_UsbSeries131072(benchmark::State& state) {
  if (!support::usb::UnavailableReason().empty()) {
    state.SkipWithError(support::usb::UnavailableReason().c_str());
    return;
  }
  constexpr std::int32_t n = 131072;
  Rig rig(1.0 / 1300);
  rig.board.Connect();
  std::vector<std::uint16_t> series(n + 1);
  Measure(state, [&] {
    const device::Status s = rig.board.SetNbSamples(n);
    return s != device::FT_OK ? s : rig.board.ReadSamples(series, n);
  });
}
BENCHMARK(BM_UsbSeries131072)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// For comparison, a status poll that costs nothing: the simulated box on
// the real clock, waiting for a byte that does not come (a silent box).
void BM_SimByteWaitSilent(benchmark::State& state) {
  device::sim::OpticalBench bench;
  device::sim::SimBox box(device::RealClock(), bench);
  device::UsbLink link(box, device::RealClock());
  link.OpenUSB();
  std::uint8_t b = 0;
  Measure(state, [&] { return link.ReadByteUSB(b) == device::kNoByte ? device::FT_OK : 1; });
  state.counters["polls"] = static_cast<double>(link.LastPollCount);
}
BENCHMARK(BM_SimByteWaitSilent)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  support::usb::RunUnderPreload(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
