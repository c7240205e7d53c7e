#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "acquisition/series_port.h"
#include "device/port.h"
#include "device/sim/optical_bench.h"
#include "device/sim/sim_port_box.h"

namespace rovanel::acquisition {
namespace {

using Transcript = std::vector<std::string>;

template <typename... Args>
std::string Tok(const char* fmt, Args... args) {
  char s[64];
  std::snprintf(s, sizeof s, fmt, args...);
  return s;
}

// Records every register access, every delay-loop call, pump and gauge
// step, with the clock in ms. Status registers come from a fixed pattern.
class RecordingPort final : public device::TSmallPort {
 public:
  RecordingPort(device::Clock& clock, device::TWAIT_Calib_ms& delay)
      : clock_(clock), delay_(delay) {}
  Transcript log;
  int statusReads = 0;
  static std::uint8_t StatusRegister(int n) { return static_cast<std::uint8_t>(n * 37 + 11); }

  void Note(const std::string& s) {
    Delays();
    log.push_back(s);
  }
  void Delays() {
    for (; seenDelays_ < delay_.DelayCalls; ++seenDelays_) log.push_back("D");
  }
  long Ms() { return static_cast<long>(clock_.NowUs() / 1000); }

 protected:
  std::int32_t DoOpen() override { return 0; }
  void DoClose() override {}
  std::int32_t DoRead(std::uint16_t a, std::uint8_t& v) override {
    Note(Tok("R%d @%ld", int(a), Ms()));
    v = a == 889 ? StatusRegister(statusReads++) : 0;
    return 0;
  }
  std::int32_t DoWrite(std::uint16_t a, std::uint8_t v) override {
    Note(Tok("W%d %02X @%ld", int(a), int(v), Ms()));
    return 0;
  }

 private:
  device::Clock& clock_;
  device::TWAIT_Calib_ms& delay_;
  std::uint64_t seenDelays_ = 0;
};

// The exchange as the host must run it, token by token.
Transcript Expected(const SeriesPlan& p, int waits) {
  static constexpr int kRev[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
  const int r = p.durationCode;
  const int f = (r >> 4 & 1) * 128 + (r >> 5 & 1) * 64 + (p.points == 8192 ? 32 : 0);
  const int max = p.duration + 8;
  Transcript t;
  t.push_back(Tok("W888 %02X @%ld", 192 + p.sensiCode, 0L));
  for (int i = 0; i < 15; ++i) {
    t.push_back(Tok("W888 %02X @%ld", 16, 200L));
    t.push_back("D");
    t.push_back(Tok("W888 %02X @%ld", kRev[r & 15] + f, 200L));
    t.push_back("D");
  }
  for (int i = 1; i <= waits; ++i) {
    t.push_back(Tok("G%d/%d", i, max));
    t.push_back(Tok("P%d @%ld", i, 200 + 1000L * i));
  }
  const long end = 200 + 1000L * waits;
  for (int k = 0; k < 8192; ++k) {
    t.push_back("D");
    t.push_back(Tok("R%d @%ld", 889, end));
    t.push_back(Tok("W888 %02X @%ld", p.sensiCode | 48, end));
    t.push_back("D");
    t.push_back("D");
    t.push_back(Tok("R%d @%ld", 889, end));
    t.push_back(Tok("W888 %02X @%ld", p.sensiCode | 32, end));
    t.push_back("D");
  }
  t.push_back(Tok("G%d/%d", max, max));
  return t;
}

SeriesPlan Plan(int level, int points, int durationCode, int duration) {
  SeriesPlan p;
  p.level = level;
  p.sensiCode = SensiCode(level);
  p.points = points;
  p.durationCode = durationCode;
  p.duration = duration;
  p.blocks = points / 512;
  return p;
}

struct Rig {
  device::ManualClock clock{1000};
  device::TWAIT_Calib_ms delay{clock};
  bool stop = false;
  int pumps = 0;
  int stopAtPump = 0;  // 0: never
  PortSeriesHooks hooks;
  Rig() { delay.LoopCount = 1; }
  // Hooks that note into `port`'s transcript when given.
  PortSeriesHooks Hooks(RecordingPort* port = nullptr) {
    PortSeriesHooks h;
    h.pumpMessages = [this, port] {
      ++pumps;
      if (port) port->Note(Tok("P%d @%ld", pumps, port->Ms()));
      if (pumps == stopAtPump) stop = true;
    };
    h.gauge = [port](int pos, int max) {
      if (port) port->Note(Tok("G%d/%d", pos, max));
    };
    return h;
  }
};

TEST(PortParameterByte, ReversedLowBitsAndTheHighFlags) {
  struct Row {
    int r, points;
    std::uint8_t byte;
  };
  for (const Row& row : {Row{0, 4096, 0x00}, Row{1, 4096, 0x08}, Row{0, 8192, 0x20},
                         Row{15, 4096, 0x0F}, Row{16, 4096, 0x80}, Row{32, 4096, 0x40},
                         Row{63, 8192, 0xEF}, Row{22, 8192, 0xA6}, Row{5, 4096, 0x0A}})
    EXPECT_EQ(PortParameterByte(row.r, row.points), row.byte) << row.r << " " << row.points;
}

TEST(AcquireSeriePort, ExchangeIsByteForByteTheBoxProtocol) {
  struct Row {
    SeriesPlan plan;
    int stopAtPump;
    int waits;
  };
  const Row rows[] = {
      {Plan(0, 4096, 0, 41), 0, 48},    // shortest 4096-point series at 10 ms
      {Plan(15, 8192, 63, 20), 0, 27},  // every high flag, sensitivity code 15
      {Plan(5, 8192, 22, 9), 0, 16},    // r = 22: reversed 6, bit 4 set
      {Plan(3, 4096, 1, 100), 4, 4},    // stopped at the 4th pump: read at once
  };
  for (const Row& row : rows) {
    Rig rig;
    rig.stopAtPump = row.stopAtPump;
    RecordingPort port(rig.clock, rig.delay);
    ASSERT_TRUE(port.Open());
    std::vector<std::uint8_t> dest(8192, 0xAA);
    const PortSeriesResult res =
        AcquireSeriePort(port, rig.clock, rig.delay, row.plan, rig.stop, rig.Hooks(&port), dest);
    port.Delays();
    const Transcript want = Expected(row.plan, row.waits);
    ASSERT_EQ(port.log.size(), want.size()) << row.plan.durationCode;
    for (std::size_t i = 0; i < want.size(); ++i)
      ASSERT_EQ(port.log[i], want[i]) << "token " << i << " r=" << row.plan.durationCode;

    EXPECT_EQ(res.end, row.stopAtPump ? PortSeriesEnd::kStopped : PortSeriesEnd::kDone);
    EXPECT_EQ(res.secondsWaited, row.waits);
    EXPECT_EQ(res.samples, row.plan.points);
    EXPECT_EQ(res.stored, 8192);

    // Samples: high nibble from the first status read, low from the second,
    // both with the top bit put back; the series inverted, its last sample
    // repeating the one before; what lies past it as read.
    const int n = row.plan.points;
    for (int k = 0; k < 8192; ++k) {
      const int hi = (RecordingPort::StatusRegister(2 * k) ^ 0x80) & 0xF0;
      const int lo = (RecordingPort::StatusRegister(2 * k + 1) ^ 0x80) >> 4;
      int want_v = hi | lo;
      if (k == n - 1) {
        const int h2 = (RecordingPort::StatusRegister(2 * k - 2) ^ 0x80) & 0xF0;
        want_v = h2 | (RecordingPort::StatusRegister(2 * k - 1) ^ 0x80) >> 4;
      }
      if (k < n) want_v = 255 - want_v;
      ASSERT_EQ(dest[k], want_v) << k;
    }
  }
}

TEST(AcquireSeriePort, ClearsAStaleStopFlagBeforeTheWait) {
  Rig rig;
  rig.stop = true;
  device::NoPort port;
  std::vector<std::uint8_t> dest(8192);
  const auto res = AcquireSeriePort(port, rig.clock, rig.delay, Plan(0, 4096, 0, 41), rig.stop,
                                    rig.Hooks(), dest);
  EXPECT_EQ(res.end, PortSeriesEnd::kDone);
  EXPECT_EQ(res.secondsWaited, 48);  // D + 7 waits
  EXPECT_EQ(rig.pumps, 48);
  EXPECT_FALSE(rig.stop);
}

TEST(AcquireSeriePort, WithoutTheDriverTheSeriesIsOneConstantValue) {
  for (int points : {4096, 8192}) {
    Rig rig;
    device::NoPort port;
    port.Open();
    std::vector<std::uint8_t> dest(8192, 1);
    AcquireSeriePort(port, rig.clock, rig.delay, Plan(2, points, 0, 61), rig.stop, rig.Hooks(),
                     dest);
    EXPECT_EQ(port.LastError(), device::kPortNotOpen);
    // Every status read gives 0x80: 0x88 from the box, 0x77 once inverted.
    for (int k = 0; k < points; ++k) ASSERT_EQ(dest[k], 0x77) << k;
    for (int k = points; k < 8192; ++k) ASSERT_EQ(dest[k], 0x88) << k;
  }
}

TEST(AcquireSeriePort, AShortDestinationTakesOnlyWhatFits) {
  Rig rig;
  device::NoPort port;
  std::vector<std::uint8_t> buf(4096 + 16, 9);
  const auto res = AcquireSeriePort(port, rig.clock, rig.delay, Plan(0, 4096, 0, 41), rig.stop,
                                    rig.Hooks(), std::span(buf).first(4096));
  EXPECT_EQ(res.stored, 4096);
  EXPECT_EQ(buf[4095], 0x77);
  for (std::size_t k = 4096; k < buf.size(); ++k) ASSERT_EQ(buf[k], 9) << k;
}

// Crossings of the mean with a dead band, i.e. twice the fringe count.
int MeanCrossings(const std::uint8_t* v, int n) {
  double mean = 0;
  for (int k = 0; k < n; ++k) mean += v[k];
  mean /= n;
  int crossings = 0, side = 0;
  for (int k = 0; k < n; ++k) {
    const int s = v[k] > mean + 10 ? 1 : v[k] < mean - 10 ? -1 : 0;
    if (s != 0 && side != 0 && s != side) ++crossings;
    if (s != 0) side = s;
  }
  return crossings;
}

TEST(AcquireSeriePort, TheSimulatedBoxGivesTheBenchFringes) {
  struct Row {
    int level, points, r;
  };
  for (const Row& row : {Row{0, 4096, 0}, Row{2, 8192, 1}, Row{1, 4096, 3}}) {
    Rig rig;
    device::sim::OpticalBench bench(device::sim::Scene::Michelson, 3);
    device::sim::OpticalBench twin(device::sim::Scene::Michelson, 3);
    bench.NoiseSigma = twin.NoiseSigma = 0;
    device::sim::SimPortBox box(rig.clock, bench);
    ASSERT_TRUE(box.Open());
    const double t = IntegrationTimeMs(row.level);
    const int step = PortGrid(row.level, row.points).step;
    const SeriesPlan plan = Plan(row.level, row.points, row.r, step * (row.r + 1));
    std::vector<std::uint8_t> dest(8192);
    const auto res = AcquireSeriePort(box, rig.clock, rig.delay, plan, rig.stop, rig.Hooks(), dest);
    EXPECT_EQ(res.end, PortSeriesEnd::kDone);
    EXPECT_EQ(box.Level(), row.level);
    EXPECT_EQ(box.RateCode(), row.r);
    EXPECT_EQ(box.Points(), row.points);
    ASSERT_EQ(box.Stored(), row.points);

    // Every sample is the bench's light at the sensor's centre.
    std::vector<std::uint8_t> periods(static_cast<std::size_t>(row.r + 1));
    for (int k = 0; k < row.points - 1; ++k) {
      twin.Series(t, periods.size(), periods.data());
      ASSERT_EQ(dest[k], periods.back()) << k;
    }
    EXPECT_EQ(dest[row.points - 1], dest[row.points - 2]);

    // Fringes: a varying level, the bench's fringe rate over the duration.
    const auto [lo, hi] = std::minmax_element(dest.begin(), dest.begin() + row.points);
    EXPECT_GT(*hi - *lo, 60);
    const double seconds = row.points * t * (row.r + 1) / 1000.0;
    const double fringes = MeanCrossings(dest.data(), row.points) / 2.0;
    EXPECT_NEAR(fringes / seconds, bench.FringeRateHz, 0.25 * bench.FringeRateHz);
  }
}

TEST(AcquireSeriePort, StopDuringTheWaitReadsWhatTheBoxHoldsSoFar) {
  Rig rig;
  rig.stopAtPump = 3;
  device::sim::OpticalBench bench(device::sim::Scene::Michelson, 5);
  device::sim::OpticalBench twin(device::sim::Scene::Michelson, 5);
  device::sim::SimPortBox box(rig.clock, bench);
  box.Open();
  std::vector<std::uint8_t> dest(8192);
  const auto res = AcquireSeriePort(box, rig.clock, rig.delay, Plan(0, 4096, 0, 41), rig.stop,
                                    rig.Hooks(), dest);
  EXPECT_EQ(res.end, PortSeriesEnd::kStopped);
  EXPECT_EQ(res.secondsWaited, 3);
  EXPECT_EQ(rig.pumps, 3);
  // Three seconds at 10 ms a sample; the rest is the memory's dark content.
  const int stored = box.Stored();
  EXPECT_EQ(stored, 300);
  std::uint8_t v = 0;
  for (int k = 0; k < stored; ++k) {
    twin.Series(10.0, 1, &v);
    ASSERT_EQ(dest[k], v) << k;
  }
  for (int k = stored; k < 4095; ++k) ASSERT_EQ(dest[k], 0) << k;
}

}  // namespace
}  // namespace rovanel::acquisition
