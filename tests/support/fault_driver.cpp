#include "support/fault_driver.h"

#include <algorithm>

namespace rovanel::support {

using namespace device;

void FaultDriver::Disarm() {
  written_ = read_ = polls_ = 0;
  unplugAt_ = wrongAt_ = muteAt_ = shortAt_ = failPollAt_ = kNever;
  failOnward_ = false;
}

void FaultDriver::UnplugAfter(std::uint64_t k, Unplug mode) {
  Disarm();
  unplugAt_ = k;
  mode_ = mode;
}

void FaultDriver::WrongEchoAt(std::uint64_t k) {
  Disarm();
  wrongAt_ = k;
}

void FaultDriver::NoAnswerAfterWrite(std::uint64_t k) {
  Disarm();
  muteAt_ = k;
}

void FaultDriver::ShortWriteAt(std::uint64_t k) {
  Disarm();
  shortAt_ = k;
}

void FaultDriver::FailStatusAt(std::uint64_t n, Status status, bool onward) {
  Disarm();
  failPollAt_ = n;
  failStatus_ = status;
  failOnward_ = onward;
}

Status FaultDriver::FT_Open(int deviceIndex, FtHandle* handle) {
  if (Unplugged()) return mode_ == Unplug::kIoError ? FT_DEVICE_NOT_FOUND : FT_OK;
  return inner_.FT_Open(deviceIndex, handle);
}

Status FaultDriver::FT_Close(FtHandle handle) {
  if (Unplugged()) return Gone();
  return inner_.FT_Close(handle);
}

Status FaultDriver::FT_ResetDevice(FtHandle handle) {
  if (Unplugged()) return Gone();
  return inner_.FT_ResetDevice(handle);
}

Status FaultDriver::FT_Purge(FtHandle handle, std::uint32_t mask) {
  if (Unplugged()) return Gone();
  return inner_.FT_Purge(handle, mask);
}

Status FaultDriver::FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
  if (Unplugged()) return Gone();
  return inner_.FT_SetTimeouts(handle, readMs, writeMs);
}

Status FaultDriver::FT_SetUSBParameters(FtHandle handle, std::uint32_t inSize,
                                        std::uint32_t outSize) {
  if (Unplugged()) return Gone();
  return inner_.FT_SetUSBParameters(handle, inSize, outSize);
}

Status FaultDriver::FT_Write(FtHandle handle, const void* buffer, std::uint32_t count,
                             std::uint32_t* written) {
  *written = 0;
  if (Unplugged()) return Gone();
  if (shortAt_ >= written_ && shortAt_ < written_ + count) {
    shortAt_ = kNever;
    return FT_OK;
  }
  std::uint32_t n = count;
  if (unplugAt_ != kNever)
    n = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, unplugAt_ - written_ - read_));
  const Status s = inner_.FT_Write(handle, buffer, n, written);
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  wire.insert(wire.end(), bytes, bytes + *written);
  written_ += *written;
  return s;
}

Status FaultDriver::FT_Read(FtHandle handle, void* buffer, std::uint32_t count,
                            std::uint32_t* got) {
  *got = 0;
  if (Unplugged()) return Gone();
  if (Mute()) return FT_OK;
  std::uint32_t n = count;
  if (unplugAt_ != kNever)
    n = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, unplugAt_ - written_ - read_));
  const Status s = inner_.FT_Read(handle, buffer, n, got);
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  if (wrongAt_ >= read_ && wrongAt_ < read_ + *got) bytes[wrongAt_ - read_] ^= 0xFF;
  read_ += *got;
  return s;
}

Status FaultDriver::FT_GetStatus(FtHandle handle, std::uint32_t* rxQueue, std::uint32_t* txQueue,
                                 std::uint32_t* events) {
  *rxQueue = 0;
  *txQueue = 0;
  *events = 0;
  if (Unplugged()) return Gone();
  ++polls_;
  if (polls_ == failPollAt_ || (failOnward_ && polls_ >= failPollAt_)) return failStatus_;
  if (Mute()) return FT_OK;
  return inner_.FT_GetStatus(handle, rxQueue, txQueue, events);
}

}  // namespace rovanel::support
