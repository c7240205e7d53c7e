// Emulated USB devices for the real libusb and libftdi, in user space, with
// umockdev: each plugged device is a sysfs entry with its descriptors and a
// device node whose usbdevfs ioctls (claim, release, URB submit and reap)
// are answered by an Ft232r. Every URB completes when it is submitted, so
// the reap that follows finds it.
//
// The process must run under umockdev's preload library (RunUnderPreload
// re-executes it so) and create the testbed before libusb is initialised.
// Other processes started from it (the front-end) see the same devices.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "support/usb_emulation/ft232r.h"

namespace rovanel::support::usb {

// Re-executes the program with umockdev's preload library (and, under
// AddressSanitizer, without the check of the library order) unless it is
// already loaded. Returns when it is loaded, or when it cannot be.
void RunUnderPreload(int argc, char** argv);
// The preload library is loaded in this process.
bool Preloaded();
// Why the emulation cannot run here, or "" when it can.
std::string UnavailableReason();

struct UsbIds {
  std::uint16_t vendor = 0x0403, product = 0x6001;
};

class UsbTestbed {
 public:
  UsbTestbed();
  ~UsbTestbed();
  UsbTestbed(const UsbTestbed&) = delete;
  UsbTestbed& operator=(const UsbTestbed&) = delete;

  // Plugs in a new device carrying `firmware`; the chip lives as long as the testbed.
  Ft232r& Plug(std::unique_ptr<Firmware> firmware, ChipStrings strings = {}, UsbIds ids = {});
  // A remove event, then the device is taken away; its open handles fail.
  void Unplug(Ft232r& chip);
  // Plugged in again, powered up afresh, under a new device number.
  void Replug(Ft232r& chip);
  // The chip vanishes once k more bytes have gone to the host, and comes
  // back replugMs later (never when negative).
  void UnplugAtByte(Ft232r& chip, std::uint64_t k, int replugMs);
  // Waits until the unplugs and replugs asked for so far have happened.
  void Settle();
  bool Plugged(Ft232r& chip);

  // The device node may not be opened by this user (no udev rule).
  // Root passes over file modes: see WithoutFileAccessRights.
  void RefuseOpen(Ft232r& chip, bool refuse);

  // Claims and releases of the chip's interface so far (libftdi's open and
  // close), and whether it is claimed now.
  int Claims(Ft232r& chip);
  int Releases(Ft232r& chip);
  bool Claimed(Ft232r& chip);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Runs fn on this thread with file modes binding even for root (the
// capabilities that pass over them are lowered for its duration). Returns
// false, without running fn, when they cannot be lowered.
bool WithoutFileAccessRights(const std::function<void()>& fn);

}  // namespace rovanel::support::usb
