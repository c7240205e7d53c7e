// Busy waits: a millisecond wait on the tick counter, and a delay loop
// calibrated against it for pauses far below one millisecond.
#pragma once

#include <cstdint>
#include <functional>

#include "device/clock.h"

namespace rovanel::device {

// Busy-waits until ms milliseconds have passed on clock.TickMs(); the
// difference is taken modulo 2^32 so the counter's wrap does not matter.
// Calls clock.PollPause() between readings (a real clock sleeps a
// millisecond, a virtual one spins); WaitMs(0) reads the counter once.
void WaitMs(Clock& clock, std::uint32_t ms);

// The longest pause one DelayLoop may make, in iterations: some milliseconds
// on any machine, so that a corrupt calibration cannot turn a 0.02 ms pause
// into seconds.
inline constexpr std::int32_t kMaxLoopCount = 10'000'000;

// A delay-loop calibration that a machine can have given: finite, the slope
// 0 (not calibrated) to 10^9 iterations per millisecond, the offset within
// ±10^7 iterations. Anything else is calibrated again.
bool PlausibleCalibration(double slope, double offset);

class TWAIT_Calib_ms {
 public:
  explicit TWAIT_Calib_ms(Clock& clock, std::function<void()> pumpMessages = {});

  std::int32_t LoopCount = 0;  // iterations of one DelayLoop
  double Slope = 0;            // iterations per millisecond
  double Offset = 0;           // iterations added to ms * Slope

  // Runs LoopCount iterations; returns at once if LoopCount < 1.
  void DelayLoop();
  // LoopCount := nearest(ms * Slope + Offset), at most kMaxLoopCount.
  void SetDelay(double ms);
  // Times the loop at 10000 and 100 iterations and fits Slope and Offset;
  // returns milliseconds per iteration. With no usable difference between
  // the two times, Slope and Offset are set to 0 (DelayLoop then does
  // nothing) and 0 is returned.
  double Calibrate();

  // Work done so far (lets a test clock charge time for it).
  std::uint64_t DelayCalls = 0;
  std::uint64_t DelayIterations = 0;

 private:
  // Grows reps until one measurement of reps calls exceeds 1000 ms, then
  // times 4 * reps calls; returns milliseconds per call.
  double TimeOneCall(std::int64_t& reps);
  void Pump();

  Clock& clock_;
  std::function<void()> pump_;
};

}  // namespace rovanel::device
