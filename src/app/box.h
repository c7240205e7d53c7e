// The box the program talks to: a real one over libftdi1, the simulated
// one, or none. Owns the driver and the link and protocol above it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "device/board.h"
#include "device/clock.h"
#include "device/d2xx.h"
#include "device/ftdi_driver.h"
#include "device/port.h"
#include "device/sim/optical_bench.h"
#include "device/sim/sim_box.h"
#include "device/sim/sim_port_box.h"
#include "device/usb_link.h"

namespace rovanel::app {

// The udev rule that gives the logged-in user the box, shipped with the program.
inline constexpr char kBoxRuleFile[] = "60-rovanel-box.rules";

// Auto: the USB box when one answers, else the simulated box.
enum class BoxKind { Usb, Sim, None, Auto };

std::optional<BoxKind> BoxKindFromName(std::string_view name);
std::string_view BoxKindName(BoxKind kind);

struct BoxOptions {
  BoxKind kind = BoxKind::Auto;
  device::sim::Scene scene = device::sim::Scene::Slit;
  double timeScale = 1.0;  // simulated box only: 0 makes frames instant
  std::uint64_t seed = 1;
  device::FtdiIds ids;
  device::sim::SimFaults faults;  // simulated box only
  // The parallel port and whether the series come from the box on it.
  device::PortKind parport = device::PortKind::kNone;
  bool portBox = false;
};

// The kind named on the command line wins, then the environment variable
// ROVANEL_BOX, then auto. Returns nullopt for a bad name.
std::optional<BoxKind> ResolveBoxKind(std::optional<std::string_view> commandLine,
                                      const char* environment);

class Box {
 public:
  Box(const BoxOptions& options, device::Clock& clock);
  // A box behind a driver owned elsewhere (tests, benchmarks).
  Box(device::FtDriver& driver, device::Clock& clock, BoxKind kind);
  ~Box();
  Box(const Box&) = delete;
  Box& operator=(const Box&) = delete;

  BoxKind Kind() const { return kind_; }
  bool Simulated() const { return kind_ == BoxKind::Sim; }
  // Auto found no USB box and took the simulated one.
  bool FellBack() const { return fellBack_; }
  // A USB box is there that this user may not open (no udev rule).
  bool UsbDenied() const { return usbDenied_ || driverRef_->OpenDenied(); }
  device::Clock& GetClock() { return clock_; }
  device::FtDriver& Driver() { return *driverRef_; }
  device::UsbLink& Link() { return *link_; }
  device::Board& GetBoard() { return *board_; }
  // The simulated bench, or null for a real box or none.
  device::sim::OpticalBench* Bench() { return bench_.get(); }
  device::sim::SimBox* Sim() { return simBox_; }
  device::TSmallPort& Port() { return *port_; }
  bool PortBox() const { return portBox_; }

 private:
  BoxKind kind_;
  device::Clock& clock_;
  std::unique_ptr<device::sim::OpticalBench> bench_;
  std::unique_ptr<device::FtDriver> driver_;
  device::FtDriver* driverRef_ = nullptr;
  device::sim::SimBox* simBox_ = nullptr;
  std::unique_ptr<device::UsbLink> link_;
  std::unique_ptr<device::Board> board_;
  std::unique_ptr<device::sim::OpticalBench> portBench_;
  std::unique_ptr<device::TSmallPort> port_;
  bool portBox_ = false;
  bool fellBack_ = false;
  bool usbDenied_ = false;
};

}  // namespace rovanel::app
