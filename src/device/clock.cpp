#include "device/clock.h"

#include <chrono>
#include <thread>

namespace rovanel::device {

std::int64_t SteadyClock::NowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::SleepUntilUs(std::int64_t t) {
  const std::int64_t now = NowUs();
  if (t > now) std::this_thread::sleep_for(std::chrono::microseconds(t - now));
}

Clock& RealClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace rovanel::device
