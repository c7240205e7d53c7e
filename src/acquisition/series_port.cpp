#include "acquisition/series_port.h"

#include <algorithm>

namespace rovanel::acquisition {

std::uint8_t PortParameterByte(int durationCode, int points) {
  const int r = durationCode;
  const int f = ((r >> 4) & 1) * 128 + ((r >> 5) & 1) * 64 + (points == 8192 ? 32 : 0);
  return static_cast<std::uint8_t>(SensiCode(r & 15) + f);
}

PortSeriesResult AcquireSeriePort(device::TSmallPort& port, device::Clock& clock,
                                  device::TWAIT_Calib_ms& delay, const SeriesPlan& plan,
                                  bool& serieStop, const PortSeriesHooks& hooks,
                                  std::span<std::uint8_t> dest) {
  PortSeriesResult result;
  result.samples = plan.points;
  const auto code = static_cast<std::uint8_t>(plan.sensiCode & 15);
  const auto gauge = [&](int position, int max) {
    if (hooks.gauge) hooks.gauge(position, max);
  };

  port.ParaWriteData(static_cast<std::uint8_t>(kPortSensiCommand + code));
  device::WaitMs(clock, kPortCommandWaitMs);

  const std::uint8_t param = PortParameterByte(plan.durationCode, plan.points);
  for (int i = 0; i < kPortParamRepeats; ++i) {
    port.ParaWriteData(kPortParamStrobe);
    delay.DelayLoop();
    port.ParaWriteData(param);
    delay.DelayLoop();
  }

  const int max = plan.duration + kPortGaugeExtra;
  serieStop = false;
  // The box records for the duration; the read follows even after a stop.
  for (int i = 1;; ++i) {
    gauge(i, max);
    device::WaitMs(clock, 1000);
    ++result.secondsWaited;
    if (hooks.pumpMessages) hooks.pumpMessages();
    if (serieStop) {
      result.end = PortSeriesEnd::kStopped;
      break;
    }
    if (i >= plan.duration + kPortWaitExtra) break;
  }

  const std::size_t keep = std::min<std::size_t>(kPortReadSamples, dest.size());
  for (int k = 0; k < kPortReadSamples; ++k) {
    delay.DelayLoop();
    const std::uint8_t hi = port.ParaReadStatus() & 0xF0;
    port.ParaWriteData(code | kPortReadLow);
    delay.DelayLoop();
    delay.DelayLoop();
    const std::uint8_t lo = port.ParaReadStatus() >> 4;
    if (static_cast<std::size_t>(k) < keep) dest[static_cast<std::size_t>(k)] = hi | lo;
    port.ParaWriteData(code | kPortReadNext);
    delay.DelayLoop();
  }
  result.stored = static_cast<int>(keep);

  // The box's last sample is not trusted: it repeats the one before.
  const std::size_t n = std::min<std::size_t>(keep, std::max(plan.points, 0));
  if (n >= 2 && n == static_cast<std::size_t>(plan.points)) dest[n - 1] = dest[n - 2];
  gauge(max, max);
  // The box sends levels inverted.
  for (std::size_t k = 0; k < n; ++k) dest[k] = static_cast<std::uint8_t>(255 - dest[k]);
  return result;
}

}  // namespace rovanel::acquisition
