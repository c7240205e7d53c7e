#include "app/box.h"

#include "device/no_box_driver.h"

namespace rovanel::app {

std::optional<BoxKind> BoxKindFromName(std::string_view name) {
  if (name == "usb") return BoxKind::Usb;
  if (name == "sim") return BoxKind::Sim;
  if (name == "none") return BoxKind::None;
  if (name == "auto") return BoxKind::Auto;
  return std::nullopt;
}

std::string_view BoxKindName(BoxKind kind) {
  switch (kind) {
    case BoxKind::Usb:
      return "usb";
    case BoxKind::Sim:
      return "sim";
    case BoxKind::None:
      return "none";
    case BoxKind::Auto:
      return "auto";
  }
  return "sim";
}

std::optional<BoxKind> ResolveBoxKind(std::optional<std::string_view> commandLine,
                                      const char* environment) {
  if (commandLine) return BoxKindFromName(*commandLine);
  if (environment != nullptr && *environment != '\0') return BoxKindFromName(environment);
  return BoxKind::Auto;
}

Box::Box(const BoxOptions& options, device::Clock& clock) : kind_(options.kind), clock_(clock) {
  if (kind_ == BoxKind::Auto) {
    // A USB box that identifies itself, or else the simulated one.
    auto ftdi = device::MakeFtdiDriver(options.ids);
    device::UsbLink probe(*ftdi, clock);
    device::Board board(probe);
    const bool found = board.Connect() == 0;
    board.BoardClose();
    kind_ = found ? BoxKind::Usb : BoxKind::Sim;
    fellBack_ = !found;
    usbDenied_ = ftdi->OpenDenied();
    if (found) driver_ = std::move(ftdi);
  }
  switch (kind_) {
    case BoxKind::Usb:
      if (!driver_) driver_ = device::MakeFtdiDriver(options.ids);
      break;
    case BoxKind::Auto:
      break;
    case BoxKind::Sim: {
      bench_ = std::make_unique<device::sim::OpticalBench>(options.scene, options.seed);
      auto sim = std::make_unique<device::sim::SimBox>(clock, *bench_);
      sim->SetTimeScale(options.timeScale);
      sim->SetFaults(options.faults);
      simBox_ = sim.get();
      driver_ = std::move(sim);
      break;
    }
    case BoxKind::None:
      driver_ = device::MakeNoBoxDriver();
      break;
  }
  driverRef_ = driver_.get();
  link_ = std::make_unique<device::UsbLink>(*driverRef_, clock);
  board_ = std::make_unique<device::Board>(*link_);
  portBox_ = options.portBox;
  switch (options.parport) {
    case device::PortKind::kPpdev:
      port_ = std::make_unique<device::PpdevPort>();
      break;
    case device::PortKind::kSim:
      // The port box sees fringes, whatever the USB box's scene.
      portBench_ =
          std::make_unique<device::sim::OpticalBench>(device::sim::Scene::Michelson, options.seed);
      port_ = std::make_unique<device::sim::SimPortBox>(clock, *portBench_);
      break;
    case device::PortKind::kNone:
      port_ = std::make_unique<device::NoPort>();
      break;
  }
  port_->Open();  // a port that cannot be opened only says so in LastError
}

Box::Box(device::FtDriver& driver, device::Clock& clock, BoxKind kind)
    : kind_(kind), clock_(clock), driverRef_(&driver) {
  simBox_ = dynamic_cast<device::sim::SimBox*>(&driver);
  link_ = std::make_unique<device::UsbLink>(driver, clock);
  board_ = std::make_unique<device::Board>(*link_);
  port_ = std::make_unique<device::NoPort>();
}

Box::~Box() = default;

}  // namespace rovanel::app
