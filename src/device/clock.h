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
  // Called by polling waits (the link's, the millisecond wait) between a
  // poll that began at pollStartUs and found nothing and the next: a real
  // clock sleeps until kPollIntervalUs after that start (a poll that blocked
  // as long costs no sleep), so a wait never keeps a core busy; a virtual
  // clock spins, advancing by its quantum.
  virtual void PollPause(std::int64_t pollStartUs) {
    (void)pollStartUs;
    Spin();
  }
  // PollPause lets real time pass: a wait bounded by a count of polls must
  // be bounded by time as well.
  virtual bool PausesTakeTime() const { return false; }

  // The millisecond tick counter (wraps at 2^32 like the platform's).
  std::uint32_t TickMs() { return static_cast<std::uint32_t>(NowUs() / 1000); }
};

// At most one poll per millisecond: the bridge's latency timer sends a short
// answer only every 2 to 16 ms, so polling faster finds nothing more.
inline constexpr std::int64_t kPollIntervalUs = 1000;

class SteadyClock final : public Clock {
 public:
  std::int64_t NowUs() override;
  void SleepUntilUs(std::int64_t t) override;
  void PollPause(std::int64_t pollStartUs) override { SleepUntilUs(pollStartUs + kPollIntervalUs); }
  bool PausesTakeTime() const override { return true; }
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
