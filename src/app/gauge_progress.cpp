#include "app/gauge_progress.h"

#include "app/main_window.h"

namespace rovanel::app {

GaugeProgress::GaugeProgress(TFp& fp, std::function<void(std::int64_t)> label,
                             std::function<bool()> stop)
    : fp_(fp), label_(std::move(label)), stop_(std::move(stop)) {}

void GaugeProgress::Tick(std::int64_t position) {
  fp_.gjauge.SetPosition(static_cast<int>(position));
  if (label_) label_(position);
}

void GaugeProgress::Pump() {
  fp_.Ui().ProcessMessages();
}

bool GaugeProgress::CancelRequested() const {
  return fp_.gjauge.Result || fp_.Closed() || (stop_ && stop_());
}

}  // namespace rovanel::app
