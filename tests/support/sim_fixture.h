// Test helpers around the simulated box: a virtual clock, a bench and a box
// wired together, and a raw byte session on any FtDriver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "device/clock.h"
#include "device/d2xx.h"
#include "device/sim/optical_bench.h"
#include "device/sim/sim_box.h"

namespace rovanel::support {

// A simulated box on a virtual clock: frames and series take their real
// (virtual) durations, so tests can check timing and still run instantly.
struct SimRig {
  explicit SimRig(device::sim::Scene scene = device::sim::Scene::Slit, std::uint64_t seed = 1,
                  double timeScale = 1.0);

  device::ManualClock clock;
  device::sim::OpticalBench bench;
  device::sim::SimBox box;
};

// Bytes straight through the driver interface, below any link layer.
class RawSession {
 public:
  // Opens device 0; status() tells whether that worked.
  explicit RawSession(device::FtDriver& driver);
  ~RawSession();
  RawSession(const RawSession&) = delete;
  RawSession& operator=(const RawSession&) = delete;

  device::Status status() const { return status_; }
  device::FtHandle handle() const { return handle_; }

  device::Status Write(const std::vector<std::uint8_t>& bytes);
  device::Status Write(std::initializer_list<std::uint8_t> bytes) {
    return Write(std::vector<std::uint8_t>(bytes));
  }
  // Polls until n bytes are queued, or the count stops growing over two
  // polls with nothing more on its way, then reads at most n bytes.
  std::vector<std::uint8_t> Read(std::size_t n);
  // Write, then read n bytes.
  std::vector<std::uint8_t> Exchange(std::initializer_list<std::uint8_t> bytes, std::size_t n);
  // Receive-queue count of one poll.
  std::uint32_t Queued();
  void Close();

 private:
  device::FtDriver& driver_;
  device::FtHandle handle_ = 0;
  device::Status status_ = device::FT_OK;
  bool open_ = false;
};

}  // namespace rovanel::support
