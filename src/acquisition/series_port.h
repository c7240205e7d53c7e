// Time series of the parallel-port box: the command and parameter bytes,
// the wait while the box records (pumping window messages once a second),
// then the samples read nibble by nibble from the status lines.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "acquisition/series_timing.h"
#include "device/clock.h"
#include "device/port.h"
#include "device/timing.h"

namespace rovanel::acquisition {

// Samples read from the box whatever the series' point count.
inline constexpr int kPortReadSamples = 8192;
// Extra seconds of the wait beyond the duration, and of the gauge's range.
inline constexpr int kPortWaitExtra = 7;
inline constexpr int kPortGaugeExtra = 8;

// Data bytes of the exchange.
inline constexpr std::uint8_t kPortSensiCommand = 192;  // + SensiCode
inline constexpr std::uint8_t kPortParamStrobe = 16;
inline constexpr int kPortParamRepeats = 15;
inline constexpr std::uint8_t kPortReadLow = 48;   // or SensiCode: low nibble
inline constexpr std::uint8_t kPortReadNext = 32;  // or SensiCode: next sample
inline constexpr std::uint32_t kPortCommandWaitMs = 200;

// The parameter byte: r bits 0..3 bit-reversed, bit 4 as 128, bit 5 as 64,
// 32 for an 8192-point series.
std::uint8_t PortParameterByte(int durationCode, int points);

struct PortSeriesHooks {
  // Lets pending window messages run (they may set the stop flag).
  std::function<void()> pumpMessages;
  // The gauge's position out of max.
  std::function<void(int position, int max)> gauge;
};

enum class PortSeriesEnd { kDone, kStopped };

struct PortSeriesResult {
  PortSeriesEnd end = PortSeriesEnd::kDone;
  int secondsWaited = 0;  // one-second waits run
  int samples = 0;        // the series' point count
  int stored = 0;         // samples written to the destination
};

// Runs one series as `plan` says (PlanPortSeries; points 4096 or 8192).
// `delay` is the calibrated pause (set for 0.02 ms). `serieStop` is cleared
// before the wait and tested right after each message pump; a stop shortens
// only the wait. All 8192 samples are read from the box and the first
// min(8192, dest.size()) are stored; of these the first plan.points become
// light levels (sample points - 1 repeats points - 2, then 255 - v), the
// rest stay as the box sent them.
PortSeriesResult AcquireSeriePort(device::TSmallPort& port, device::Clock& clock,
                                  device::TWAIT_Calib_ms& delay, const SeriesPlan& plan,
                                  bool& serieStop, const PortSeriesHooks& hooks,
                                  std::span<std::uint8_t> dest);

}  // namespace rovanel::acquisition
