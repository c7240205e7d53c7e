// The driver for a real box: D2XX calls mapped onto libftdi1.
#pragma once

#include <memory>
#include <string>

#include "device/d2xx.h"

namespace rovanel::device {

// Which device is the box: the bridge's USB ids, narrowed by the serial
// number or the product description when those are set (many USB-serial
// cables share the factory ids).
struct FtdiIds {
  int vendor = 0x0403;
  int product = 0x6001;
  std::string serial;
  std::string description;
};

// libftdi has no receive-queue count: FT_GetStatus drains the chip into a
// host-side queue, reports its length, and FT_Read serves from it. With no
// box attached (or no USB access at all) FT_Open returns FT_DEVICE_NOT_FOUND;
// with one this user may not open, FT_DEVICE_NOT_OPENED and OpenDenied().
std::unique_ptr<FtDriver> MakeFtdiDriver(FtdiIds ids = {});

}  // namespace rovanel::device
