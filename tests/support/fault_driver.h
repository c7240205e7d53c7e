// A decorator over any driver that injects the faults of a real link:
// unplug after byte k, wrong echo, no answer, short write, failing status.
// Byte positions count from the moment the fault is armed, 0-based.
#pragma once

#include <cstdint>
#include <vector>

#include "device/d2xx.h"

namespace rovanel::support {

using device::FtHandle;
using device::Status;

class FaultDriver : public device::FtDriver {
 public:
  enum class Unplug {
    kIoError,  // every call fails with FT_IO_ERROR
    kSilent,   // calls succeed but nothing arrives and nothing is taken
  };

  explicit FaultDriver(device::FtDriver& inner) : inner_(inner) {}

  // Once k bytes have been written or read (added up), the box is gone.
  void UnplugAfter(std::uint64_t k, Unplug mode = Unplug::kIoError);
  // The k-th byte read comes back with its bits flipped.
  void WrongEchoAt(std::uint64_t k);
  // Once k bytes have been written the box stops answering.
  void NoAnswerAfterWrite(std::uint64_t k);
  // The write that carries the k-th written byte reports 0 bytes written.
  void ShortWriteAt(std::uint64_t k);
  // The n-th status poll (1-based) fails with `status`; with `onward`,
  // every poll from the n-th on.
  void FailStatusAt(std::uint64_t n, Status status, bool onward = false);
  void Disarm();

  // Every byte that reached the inner driver, since construction.
  std::vector<std::uint8_t> wire;

  std::uint64_t BytesWritten() const { return written_; }
  std::uint64_t BytesRead() const { return read_; }
  bool Unplugged() const { return unplugAt_ != kNever && written_ + read_ >= unplugAt_; }

  Status FT_Open(int deviceIndex, FtHandle* handle) override;
  Status FT_Close(FtHandle handle) override;
  Status FT_ResetDevice(FtHandle handle) override;
  Status FT_Purge(FtHandle handle, std::uint32_t mask) override;
  Status FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override;
  Status FT_SetUSBParameters(FtHandle handle, std::uint32_t inSize, std::uint32_t outSize) override;
  Status FT_Write(FtHandle handle, const void* buffer, std::uint32_t count,
                  std::uint32_t* written) override;
  Status FT_Read(FtHandle handle, void* buffer, std::uint32_t count, std::uint32_t* got) override;
  Status FT_GetStatus(FtHandle handle, std::uint32_t* rxQueue, std::uint32_t* txQueue,
                      std::uint32_t* events) override;
  bool PollsCostTime() const override { return inner_.PollsCostTime(); }
  bool Simulated() const override { return inner_.Simulated(); }

 private:
  static constexpr std::uint64_t kNever = ~std::uint64_t{0};
  // Status of a call made while unplugged.
  Status Gone() const { return mode_ == Unplug::kIoError ? device::FT_IO_ERROR : device::FT_OK; }
  bool Mute() const { return muteAt_ != kNever && written_ >= muteAt_; }

  device::FtDriver& inner_;
  std::uint64_t written_ = 0, read_ = 0, polls_ = 0;
  std::uint64_t unplugAt_ = kNever;
  Unplug mode_ = Unplug::kIoError;
  std::uint64_t wrongAt_ = kNever;
  std::uint64_t muteAt_ = kNever;
  std::uint64_t shortAt_ = kNever;
  std::uint64_t failPollAt_ = kNever;
  bool failOnward_ = false;
  Status failStatus_ = 0;
};

}  // namespace rovanel::support
