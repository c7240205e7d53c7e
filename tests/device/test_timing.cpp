#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "device/timing.h"

namespace rovanel::device {
namespace {

// A clock whose reading is computed by the test; counts readings and spins.
class ScriptClock final : public Clock {
 public:
  explicit ScriptClock(std::function<std::int64_t()> now) : now_(std::move(now)) {}
  std::int64_t NowUs() override {
    ++readings;
    return now_();
  }
  void SleepUntilUs(std::int64_t) override {}
  void Spin() override { ++spins; }
  int readings = 0;
  int spins = 0;

 private:
  std::function<std::int64_t()> now_;
};

TEST(WaitMs, ZeroReadsTheCounterOnce) {
  ScriptClock clock([] { return 5000; });
  WaitMs(clock, 0);
  EXPECT_EQ(clock.readings, 1);
  EXPECT_EQ(clock.spins, 0);
}

TEST(WaitMs, WaitsWholeTicksFromTheFirstReading) {
  ManualClock clock(1000, 2500);  // tick 2, half way to tick 3
  WaitMs(clock, 10);
  EXPECT_EQ(clock.NowUs(), 12500);  // tick 12: ten ticks on
}

TEST(WaitMs, SurvivesTheCounterWrapping) {
  // Three ticks before the 32-bit millisecond counter wraps to 0.
  const std::int64_t start = ((std::int64_t{1} << 32) - 3) * 1000;
  ManualClock clock(1000, start);
  WaitMs(clock, 10);
  EXPECT_EQ(clock.NowUs(), start + 10000);
  EXPECT_EQ(clock.TickMs(), 7u);
}

TEST(DelayLoop, DoesNothingBelowOneIteration) {
  ManualClock clock;
  TWAIT_Calib_ms w(clock);
  for (std::int32_t n : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
    w.LoopCount = n;
    w.DelayLoop();
  }
  EXPECT_EQ(w.DelayCalls, 0u);
  w.LoopCount = 1000;
  w.DelayLoop();
  EXPECT_EQ(w.DelayCalls, 1u);
  EXPECT_EQ(w.DelayIterations, 1000u);
}

TEST(DelayLoop, StartsUncalibrated) {
  ManualClock clock;
  TWAIT_Calib_ms w(clock);
  EXPECT_EQ(w.LoopCount, 0);
  EXPECT_EQ(w.Slope, 0.0);
  EXPECT_EQ(w.Offset, 0.0);
}

TEST(SetDelay, NearestWithHalvesToEven) {
  ManualClock clock;
  TWAIT_Calib_ms w(clock);
  w.Slope = 1.0;
  w.Offset = 0.5;
  w.SetDelay(2.0);  // 2.5
  EXPECT_EQ(w.LoopCount, 2);
  w.SetDelay(3.0);  // 3.5
  EXPECT_EQ(w.LoopCount, 4);
  w.Slope = 1000.0;
  w.Offset = -3.0;
  w.SetDelay(0.02);  // 17
  EXPECT_EQ(w.LoopCount, 17);
  w.Offset = -25.0;
  w.SetDelay(0.02);  // -5: the loop then returns at once
  EXPECT_EQ(w.LoopCount, -5);
  w.DelayLoop();
  EXPECT_EQ(w.DelayCalls, 0u);
}

TEST(SetDelay, IsBoundedWhateverTheCalibration) {
  ManualClock clock;
  TWAIT_Calib_ms w(clock);
  w.Slope = 1e12;  // a corrupt file: 0.02 ms would last seconds
  w.SetDelay(0.02);
  EXPECT_EQ(w.LoopCount, kMaxLoopCount);
  w.Slope = 1e300;
  w.SetDelay(1.0);
  EXPECT_EQ(w.LoopCount, kMaxLoopCount);
  w.SetDelay(-1.0);
  EXPECT_EQ(w.LoopCount, std::numeric_limits<std::int32_t>::min());
  w.Slope = NAN;
  w.SetDelay(1.0);
  EXPECT_EQ(w.LoopCount, 0);
}

TEST(SetDelay, OnlyAPlausibleCalibrationIsKept) {
  EXPECT_TRUE(PlausibleCalibration(0, 0));  // not calibrated: no pause
  EXPECT_TRUE(PlausibleCalibration(850000.0, -120.0));
  for (const auto& [slope, offset] : std::vector<std::pair<double, double>>{
           {1e12, 0}, {INFINITY, 0}, {NAN, 0}, {-5, 0}, {1e6, 1e9}, {1e6, -INFINITY}})
    EXPECT_FALSE(PlausibleCalibration(slope, offset)) << slope << " " << offset;
}

// Time charged for the loop's work: usPerIteration per iteration plus
// usPerCall per call.
struct WorkClock {
  TWAIT_Calib_ms* w = nullptr;
  std::int64_t usPerCall = 0;
  std::int64_t usPerIteration = 1;
  std::int64_t Now() const {
    return static_cast<std::int64_t>(w->DelayCalls) * usPerCall +
           static_cast<std::int64_t>(w->DelayIterations) * usPerIteration;
  }
};

TEST(Calibrate, RepsGrowByEightThenAimAt1100Ms) {
  WorkClock work;
  ScriptClock clock([&work] { return work.Now(); });
  std::vector<std::uint64_t> callsAtPump;
  TWAIT_Calib_ms w(clock, [&] { callsAtPump.push_back(w.DelayCalls); });
  work.w = &w;
  // 1 µs per iteration: 10 ms per call at 10000 iterations, 0.1 ms at 100.
  //  10000: reps 10 (100 ms) -> 80 (800 ms) -> nearest(1000/800*80*1.1) = 110
  //         (1100 ms, ends); then 440 calls (4400 ms): t = 3300 / 330 = 10 ms.
  //  100:   reps 110 (11 ms) -> 880 (88 ms) -> 7040 (704 ms) -> 11000
  //         (1100 ms, ends); then 44000 calls: t = 3300 / 33000 = 0.1 ms.
  const double msPerIteration = w.Calibrate();
  EXPECT_EQ(callsAtPump, (std::vector<std::uint64_t>{10, 90, 640, 750, 1630, 8670, 63670}));
  EXPECT_NEAR(w.Slope, 1000.0, 1e-9);
  EXPECT_NEAR(w.Offset, 0.0, 1e-9);
  EXPECT_NEAR(msPerIteration, 0.001, 1e-15);
  w.SetDelay(0.02);
  EXPECT_EQ(w.LoopCount, 20);
}

TEST(Calibrate, OffsetIsTheFixedCostOfACall) {
  WorkClock work;
  work.usPerCall = 1000;  // 1 ms per call on top of 1 µs per iteration
  ScriptClock clock([&work] { return work.Now(); });
  TWAIT_Calib_ms w(clock);
  work.w = &w;
  // t10000 = 11 ms, t100 = 1.1 ms: Slope = 9900 / 9.9, Offset = 10000 - 11 * 1000.
  w.Calibrate();
  EXPECT_NEAR(w.Slope, 1000.0, 1e-9);
  EXPECT_NEAR(w.Offset, -1000.0, 1e-6);
}

TEST(Calibrate, NoUsableDifferenceLeavesTheLoopHarmless) {
  // Each call costs 1 ms whatever its length (t10000 = t100), or shorter
  // loops cost more (t100 > t10000): no slope to fit either way.
  for (std::int64_t usPerIteration : {0, -10}) {
    WorkClock work;
    work.usPerCall = usPerIteration == 0 ? 1000 : 200000;
    work.usPerIteration = usPerIteration;
    ScriptClock clock([&work] { return work.Now(); });
    TWAIT_Calib_ms w(clock);
    work.w = &w;
    EXPECT_EQ(w.Calibrate(), 0.0);
    EXPECT_EQ(w.Slope, 0.0);
    EXPECT_EQ(w.Offset, 0.0);
    w.SetDelay(0.02);
    EXPECT_EQ(w.LoopCount, 0);
  }
}

}  // namespace
}  // namespace rovanel::device
