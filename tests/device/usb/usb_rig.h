// The real driver, link and protocol over an emulated FT232R carrying the
// simulated box's firmware.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "device/board.h"
#include "device/ftdi_driver.h"
#include "device/sim/optical_bench.h"
#include "device/usb_link.h"
#include "support/usb_emulation/ft232r.h"
#include "support/usb_emulation/usb_testbed.h"

namespace rovanel::support::usb {

struct UsbRig {
  explicit UsbRig(double timeScale = 1.0, device::FtdiIds ids = {})
      : chip(bed.Plug(std::make_unique<BoxFirmware>(bench, timeScale))),
        driver(device::MakeFtdiDriver(std::move(ids))) {}

  // The firmware's register, read with the chip locked.
  int Register(int index) {
    int value = -1;
    chip.Locked([&](Firmware& f) { value = static_cast<BoxFirmware&>(f).Sim().Register(index); });
    return value;
  }

  UsbTestbed bed;  // first: outlives every handle on it
  device::sim::OpticalBench bench{device::sim::Scene::Slit, 1};
  Ft232r& chip;
  std::unique_ptr<device::FtDriver> driver;
  device::UsbLink link{*driver, device::RealClock()};
  device::Board board{link};
};

#define SKIP_WITHOUT_USB_EMULATION()                                                      \
  if (const std::string why = ::rovanel::support::usb::UnavailableReason(); !why.empty()) \
  GTEST_SKIP() << why

}  // namespace rovanel::support::usb
