// The window's side of a loop that waits for the box: the gauge follows the
// loop's position, messages run at its pumps, and Cancel or the window's
// closing ends it.
#pragma once

#include <functional>

#include "acquisition/progress.h"

namespace rovanel::app {

class TFp;

class GaugeProgress final : public acquisition::Progress {
 public:
  // `label` (may be empty) writes the gauge's second line for a position;
  // `stop` (may be empty) is a further reason to end besides Cancel and
  // the window's closing.
  GaugeProgress(TFp& fp, std::function<void(std::int64_t)> label = {},
                std::function<bool()> stop = {});
  void Tick(std::int64_t position) override;
  void Pump() override;
  bool CancelRequested() const override;

 private:
  TFp& fp_;
  std::function<void(std::int64_t)> label_;
  std::function<bool()> stop_;
};

}  // namespace rovanel::app
