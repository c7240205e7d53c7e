// Time source of the device layers and the simulated box. Injectable so
// that tests of frame timing, waits and long series run instantly.
#pragma once

#include <cstdint>

namespace rovanel::device {

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic microseconds.
  virtual std::int64_t NowUs() = 0;
  // Returns once NowUs() >= t: a real clock sleeps, a virtual clock jumps.
  virtual void SleepUntilUs(std::int64_t t) = 0;
  // Called by busy-wait loops between two readings. A real clock does
  // nothing (the loop stays busy); a virtual clock advances by its quantum,
  // so that loops bounded by time also end under test.
  virtual void Spin() {}

  // The millisecond tick counter (wraps at 2^32 like the platform's).
  std::uint32_t TickMs() { return static_cast<std::uint32_t>(NowUs() / 1000); }
};

class SteadyClock final : public Clock {
 public:
  std::int64_t NowUs() override;
  void SleepUntilUs(std::int64_t t) override;
};

// Virtual time: starts at `startUs`, moves only when told to, when slept
// on, or by `spinQuantumUs` at each Spin().
class ManualClock final : public Clock {
 public:
  explicit ManualClock(std::int64_t spinQuantumUs = 1, std::int64_t startUs = 0)
      : now_(startUs), quantum_(spinQuantumUs) {}
  std::int64_t NowUs() override { return now_; }
  void SleepUntilUs(std::int64_t t) override {
    if (t > now_) now_ = t;
  }
  void Spin() override { now_ += quantum_; }
  void AdvanceUs(std::int64_t us) { now_ += us; }
  void SetSpinQuantumUs(std::int64_t us) { quantum_ = us; }

 private:
  std::int64_t now_;
  std::int64_t quantum_;
};

// The process-wide real clock.
Clock& RealClock();

}  // namespace rovanel::device
