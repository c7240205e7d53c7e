#include "support/sim_fixture.h"

#include <algorithm>

namespace rovanel::support {

SimRig::SimRig(device::sim::Scene scene, std::uint64_t seed, double timeScale)
    : bench(scene, seed), box(clock, bench) {
  box.SetTimeScale(timeScale);
}

RawSession::RawSession(device::FtDriver& driver) : driver_(driver) {
  status_ = driver_.FT_Open(0, &handle_);
  open_ = status_ == device::FT_OK;
}

RawSession::~RawSession() {
  Close();
}

void RawSession::Close() {
  if (open_) driver_.FT_Close(handle_);
  open_ = false;
}

device::Status RawSession::Write(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t written = 0;
  return driver_.FT_Write(handle_, bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                          &written);
}

std::uint32_t RawSession::Queued() {
  std::uint32_t rx = 0, tx = 0, ev = 0;
  driver_.FT_GetStatus(handle_, &rx, &tx, &ev);
  return rx;
}

std::vector<std::uint8_t> RawSession::Read(std::size_t n) {
  std::uint32_t rx = Queued();
  // A simulated box sleeps one slice per poll toward an answer on its way:
  // keep polling while one is.
  const auto* sim = dynamic_cast<const device::sim::SimBox*>(&driver_);
  for (int idle = 0; rx < n && (idle < 2 || (sim != nullptr && sim->Pending()));) {
    const std::uint32_t again = Queued();
    idle = again == rx ? idle + 1 : 0;
    rx = again;
  }
  std::vector<std::uint8_t> out(std::min<std::size_t>(n, rx));
  std::uint32_t got = 0;
  if (!out.empty()) {
    driver_.FT_Read(handle_, out.data(), static_cast<std::uint32_t>(out.size()), &got);
  }
  out.resize(got);
  return out;
}

std::vector<std::uint8_t> RawSession::Exchange(std::initializer_list<std::uint8_t> bytes,
                                               std::size_t n) {
  Write(bytes);
  return Read(n);
}

}  // namespace rovanel::support
