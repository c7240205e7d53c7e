#include "device/timing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rovanel::device {

void WaitMs(Clock& clock, std::uint32_t ms) {
  const std::uint32_t start = clock.TickMs();
  std::uint32_t elapsed = 0;
  while (elapsed < ms) {
    clock.PollPause(clock.NowUs());
    elapsed = clock.TickMs() - start;  // unsigned: wrap-safe
  }
}

bool PlausibleCalibration(double slope, double offset) {
  if (!std::isfinite(slope) || !std::isfinite(offset)) return false;
  if (slope < 0 || slope > 1e9) return false;
  return std::fabs(offset) <= 1e7;
}

TWAIT_Calib_ms::TWAIT_Calib_ms(Clock& clock, std::function<void()> pumpMessages)
    : clock_(clock), pump_(std::move(pumpMessages)) {}

void TWAIT_Calib_ms::DelayLoop() {
  if (LoopCount < 1) return;
  ++DelayCalls;
  DelayIterations += static_cast<std::uint64_t>(LoopCount);
  // volatile keeps the work from being optimised away; unsigned so it wraps.
  volatile std::uint32_t sum = 0;
  for (std::int32_t i = 0; i < LoopCount; ++i) sum = sum + static_cast<std::uint32_t>(i);
}

void TWAIT_Calib_ms::SetDelay(double ms) {
  const double n = std::nearbyint(ms * Slope + Offset);
  constexpr double lo = std::numeric_limits<std::int32_t>::min();
  constexpr double hi = kMaxLoopCount;
  LoopCount = std::isnan(n) ? 0 : static_cast<std::int32_t>(std::clamp(n, lo, hi));
}

void TWAIT_Calib_ms::Pump() {
  if (pump_) pump_();
}

double TWAIT_Calib_ms::TimeOneCall(std::int64_t& reps) {
  std::uint32_t dt = 0;
  for (;;) {
    const std::uint32_t t0 = clock_.TickMs();
    for (std::int64_t i = 0; i < reps; ++i) DelayLoop();
    dt = clock_.TickMs() - t0;
    if (dt > 1000) break;
    // A clock that does not move: no measurement is possible.
    if (reps > (std::int64_t{1} << 40)) return 0;
    if (dt < 125) {
      reps *= 8;
    } else {
      reps = static_cast<std::int64_t>(std::nearbyint(1000.0 / dt * reps * 1.1));
    }
    Pump();
  }
  const double d1 = dt;
  const std::uint32_t t0 = clock_.TickMs();
  for (std::int64_t i = 0; i < 4 * reps; ++i) DelayLoop();
  const double d4 = clock_.TickMs() - t0;
  Pump();
  return (d4 - d1) / (3.0 * static_cast<double>(reps));
}

double TWAIT_Calib_ms::Calibrate() {
  std::int64_t reps = 10;
  LoopCount = 10000;
  const double t10000 = TimeOneCall(reps);
  LoopCount = 100;
  const double t100 = TimeOneCall(reps);
  const double slope = 9900.0 / (t10000 - t100);
  if (!(t10000 > t100) || !std::isfinite(slope)) {
    // No usable difference: leave the loop harmless rather than infinite.
    Slope = 0;
    Offset = 0;
    return 0;
  }
  Slope = slope;
  Offset = 10000.0 - t10000 * Slope;
  return 1.0 / Slope;
}

}  // namespace rovanel::device
