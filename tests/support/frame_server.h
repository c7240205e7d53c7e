// A box that serves chosen frames: the protocol's answers on top of the
// scripted driver, with each frame's light levels sent inverted.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>

#include "support/scripted_driver.h"

namespace rovanel::support {

using Levels = std::array<std::uint8_t, 2048>;

class FrameServer {
 public:
  // Answers every byte written to `driver` from now on.
  explicit FrameServer(ScriptedDriver& driver);
  // Frames served in order; the last one is served again when none is left.
  void Push(const Levels& light);
  void PushFlat(std::uint8_t level);
  int FramesServed() const { return state_->served; }
  // The n-th frame request (from 1) gets no answer at all, not even its echo.
  void SilentAt(int n) { state_->silent = n; }

 private:
  struct State {
    std::deque<Levels> frames;
    Levels last{};
    int served = 0;
    int requests = 0;
    int silent = 0;
    int expect = 0;  // 0 sync, 1 command, 2 register, 3 value, 4 acknowledgement
  };
  std::shared_ptr<State> state_;
};

}  // namespace rovanel::support
