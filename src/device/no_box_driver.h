// Driver for running without any box ("--box none"): nothing can be opened.
#pragma once

#include <memory>

#include "device/d2xx.h"

namespace rovanel::device {

// FT_Open returns FT_DEVICE_NOT_FOUND, every other call FT_INVALID_HANDLE.
std::unique_ptr<FtDriver> MakeNoBoxDriver();

}  // namespace rovanel::device
