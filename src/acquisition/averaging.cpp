#include "acquisition/averaging.h"

#include "device/timing.h"

namespace rovanel::acquisition {

AverageResult AcquireAverage(device::Board& board, device::Clock& clock,
                             std::span<std::uint8_t, kPixels> slot, int count, int level,
                             AcquisitionReport& report, Progress& progress) {
  auto take = [&] {
    const device::Status status = AcquireFrame(board, slot);
    report.Frame(status);
    return status == 0;
  };
  AverageResult result;
  // Only frames that arrived whole are summed: a failed frame would pull
  // the average toward zero.
  FrameSum sum;
  if (take()) sum.Add(slot);
  progress.Tick(1);
  for (int i = 2; i <= count; ++i) {
    device::WaitMs(clock, static_cast<std::uint32_t>(10 + 5 * level));
    const bool good = take();
    progress.Tick(i);
    if (progress.CancelRequested()) {  // this frame is not added
      result.cancelled = true;
      break;
    }
    if (good) sum.Add(slot);
    progress.Pump();
    if (progress.CancelRequested()) {
      result.cancelled = true;
      break;
    }
  }
  result.added = sum.Count();
  if (sum.Count() > 0) sum.AverageInto(slot);
  return result;
}

}  // namespace rovanel::acquisition
