// The D2XX-shaped driver interface that the USB call layer talks to.
// Backends: libftdi1 (a real box), the simulated box, and test doubles.
#pragma once

#include <cstdint>
#include <string>

namespace rovanel::device {

// Signed 32-bit status used by every device layer: 0 success, 1..6 D2XX
// statuses, -1 wrong echo, -20 short write, -150 no byte in time.
using Status = std::int32_t;
using FtHandle = std::uintptr_t;

inline constexpr Status FT_OK = 0;
inline constexpr Status FT_INVALID_HANDLE = 1;
inline constexpr Status FT_DEVICE_NOT_FOUND = 2;
inline constexpr Status FT_DEVICE_NOT_OPENED = 3;
inline constexpr Status FT_IO_ERROR = 4;
inline constexpr Status FT_INSUFFICIENT_RESOURCES = 5;
inline constexpr Status FT_INVALID_PARAMETER = 6;

inline constexpr Status kWrongEcho = -1;
inline constexpr Status kShortWrite = -20;
inline constexpr Status kNoByte = -150;
// A long wait given up at the user's request.
inline constexpr Status kCancelled = -30;

inline constexpr std::uint32_t FT_PURGE_RX = 1;
inline constexpr std::uint32_t FT_PURGE_TX = 2;

class FtDriver {
 public:
  virtual ~FtDriver() = default;

  virtual Status FT_Open(int deviceIndex, FtHandle* handle) = 0;
  virtual Status FT_Close(FtHandle handle) = 0;
  virtual Status FT_ResetDevice(FtHandle handle) = 0;
  virtual Status FT_Purge(FtHandle handle, std::uint32_t mask) = 0;
  virtual Status FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) = 0;
  virtual Status FT_SetUSBParameters(FtHandle handle, std::uint32_t inSize,
                                     std::uint32_t outSize) = 0;
  virtual Status FT_Write(FtHandle handle, const void* buffer, std::uint32_t count,
                          std::uint32_t* written) = 0;
  virtual Status FT_Read(FtHandle handle, void* buffer, std::uint32_t count,
                         std::uint32_t* got) = 0;
  virtual Status FT_GetStatus(FtHandle handle, std::uint32_t* rxQueue, std::uint32_t* txQueue,
                              std::uint32_t* events) = 0;

  // A status poll costs real time on this backend (a USB round trip), so
  // poll-counted waits must also be bounded by the clock.
  virtual bool PollsCostTime() const { return false; }
  // The last FT_Open found a device with the box's ids that the system does
  // not let this user open (its node lacks the udev rule's access).
  virtual bool OpenDenied() const { return false; }
  // The box behind this driver is an emulation.
  virtual bool Simulated() const { return false; }
};

}  // namespace rovanel::device
