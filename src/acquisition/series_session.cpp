#include "acquisition/series_session.h"

#include <algorithm>

namespace rovanel::acquisition {

namespace {

// The link lets the window live at its waits for as long as this lasts.
class WaitHookScope {
 public:
  WaitHookScope(device::UsbLink& link, std::function<bool()> hook) : link_(link) {
    link_.WaitHook = std::move(hook);
  }
  ~WaitHookScope() { link_.WaitHook = nullptr; }
  WaitHookScope(const WaitHookScope&) = delete;
  WaitHookScope& operator=(const WaitHookScope&) = delete;

 private:
  device::UsbLink& link_;
};

}  // namespace

device::Status AcquireSeriesUsb(device::Board& board, device::Clock& clock, std::int32_t points,
                                double integrationMs, std::span<std::uint16_t> words,
                                Progress& progress) {
  if (points < 0 || words.size() < static_cast<std::size_t>(points) + 1)
    return device::FT_INVALID_PARAMETER;
  // The gauge is on screen before the box is asked anything.
  progress.Tick(0);
  progress.Pump();
  if (progress.CancelRequested()) return device::kCancelled;

  const std::int64_t start = clock.NowUs();
  const double perSampleUs = integrationMs * 1000.0;
  WaitHookScope scope(board.Link(), [&] {
    const double elapsed = static_cast<double>(clock.NowUs() - start);
    progress.Tick(static_cast<std::int64_t>(std::min<double>(points, elapsed / perSampleUs)));
    progress.Pump();
    return progress.CancelRequested();
  });
  device::Status s = board.SetNbSamples(points);
  if (s == 0) s = board.ReadSamples(words, points);
  return s;
}

}  // namespace rovanel::acquisition
