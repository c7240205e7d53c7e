#include "device/no_box_driver.h"

namespace rovanel::device {

namespace {

class NoBoxDriver final : public FtDriver {
 public:
  Status FT_Open(int, FtHandle*) override { return FT_DEVICE_NOT_FOUND; }
  Status FT_Close(FtHandle) override { return FT_INVALID_HANDLE; }
  Status FT_ResetDevice(FtHandle) override { return FT_INVALID_HANDLE; }
  Status FT_Purge(FtHandle, std::uint32_t) override { return FT_INVALID_HANDLE; }
  Status FT_SetTimeouts(FtHandle, std::uint32_t, std::uint32_t) override {
    return FT_INVALID_HANDLE;
  }
  Status FT_SetUSBParameters(FtHandle, std::uint32_t, std::uint32_t) override {
    return FT_INVALID_HANDLE;
  }
  Status FT_Write(FtHandle, const void*, std::uint32_t, std::uint32_t* written) override {
    if (written) *written = 0;
    return FT_INVALID_HANDLE;
  }
  Status FT_Read(FtHandle, void*, std::uint32_t, std::uint32_t* got) override {
    if (got) *got = 0;
    return FT_INVALID_HANDLE;
  }
  Status FT_GetStatus(FtHandle, std::uint32_t* rx, std::uint32_t* tx,
                      std::uint32_t* events) override {
    if (rx) *rx = 0;
    if (tx) *tx = 0;
    if (events) *events = 0;
    return FT_INVALID_HANDLE;
  }
};

}  // namespace

std::unique_ptr<FtDriver> MakeNoBoxDriver() {
  return std::make_unique<NoBoxDriver>();
}

}  // namespace rovanel::device
