// How a loop that waits for the box says how far it is and learns that it
// must end: the window moves its gauge, lets its messages run, and answers
// Cancel or its own closing.
#pragma once

#include <cstdint>

namespace rovanel::acquisition {

class Progress {
 public:
  virtual ~Progress() = default;
  // The loop has reached `position` of its own count (a frame number, the
  // samples recorded so far, the seconds waited).
  virtual void Tick(std::int64_t position) = 0;
  // Lets pending messages run; a click handled there may ask the end.
  virtual void Pump() = 0;
  // True once the loop was asked to end (Cancel, the window closing).
  virtual bool CancelRequested() const = 0;
};

// A loop nobody watches: it runs to its end.
class NoProgress final : public Progress {
 public:
  void Tick(std::int64_t) override {}
  void Pump() override {}
  bool CancelRequested() const override { return false; }
};

}  // namespace rovanel::acquisition
