#include "device/sim/sim_box.h"

#include <algorithm>
#include <cmath>

namespace rovanel::device::sim {
namespace {

constexpr std::uint8_t kCmdIdentify = 0;
constexpr std::uint8_t kCmdRegister = 4;
constexpr std::uint8_t kCmdFrame = 6;
constexpr std::uint8_t kCmdSeries = 8;

// Handles carry a generation number, so a handle kept across a close is refused.
constexpr FtHandle kHandleBase = 0x5B0C0000;

void Invert(std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<std::uint8_t>(255 - p[i]);
}

}  // namespace

SimBox::SimBox(Clock& clock, OpticalBench& bench) : clock_(clock), bench_(bench) {}

std::uint8_t SimBox::Register(int index) const {
  return index >= 0 && index < kRegisters ? regs_[index] : 0;
}

double SimBox::IntegrationMs() const {
  const int count = regs_[0] | (regs_[1] << 8);
  return (65535 - count) * kCountMs;
}

std::int32_t SimBox::SampleCount() const {
  const std::int32_t value = regs_[2] | (regs_[3] << 8) | (regs_[4] << 16);
  return std::max(value - 1, 0);
}

// ---- firmware ----

void SimBox::OnByte(std::uint8_t b) {
  switch (fw_) {
    case Fw::Idle:
      if (b == kSync) {
        Send({kSync});
        fw_ = Fw::Command;
      }
      break;
    case Fw::Command:
      Send({b});
      OnCommand(b);
      break;
    case Fw::RegNumber:
      regNumber_ = b;
      fw_ = Fw::RegValue;
      break;
    case Fw::RegValue:
      if (regNumber_ < kRegisters) regs_[regNumber_] = b;
      fw_ = Fw::AwaitAck;
      break;
    case Fw::AwaitAck:
      if (b == kAck) {
        Send({kAck});
        fw_ = Fw::Idle;
      } else if (b == kSync) {
        Send({kSync});
        fw_ = Fw::Command;
      }
      break;
  }
}

void SimBox::OnCommand(std::uint8_t c) {
  switch (c) {
    case kCmdIdentify:
      Send({static_cast<std::uint8_t>(kBoardId & 0xFF), static_cast<std::uint8_t>(kBoardId >> 8)});
      fw_ = Fw::AwaitAck;
      break;
    case kCmdRegister:
      fw_ = Fw::RegNumber;
      break;
    case kCmdFrame: {
      const double t = IntegrationMs();
      std::vector<std::uint8_t> block(kFrameBlockBytes);
      bench_.Dark(t, kLeadingBytes, block.data());
      bench_.Frame(t, block.data() + kLeadingBytes);
      bench_.Dark(t, kTrailingBytes, block.data() + kLeadingBytes + OpticalBench::kPixels);
      Invert(block.data(), block.size());
      Send(std::move(block), t);
      fw_ = Fw::AwaitAck;
      break;
    }
    case kCmdSeries: {
      const double t = IntegrationMs();
      const auto n = static_cast<std::size_t>(SampleCount());
      Send({kSeriesStartByte});
      std::vector<std::uint8_t> samples(n);
      bench_.Series(t, n, samples.data());
      Invert(samples.data(), samples.size());
      Send(std::move(samples), static_cast<double>(n) * t);
      fw_ = Fw::AwaitAck;
      break;
    }
    default:
      fw_ = Fw::Idle;
      break;
  }
}

// ---- delivery queue ----

void SimBox::Send(std::vector<std::uint8_t> bytes, double delayMs) {
  std::int64_t due = clock_.NowUs() + std::llround(delayMs * 1000.0 * timeScale_);
  if (!pending_.empty()) due = std::max(due, pending_.back().dueUs);
  pending_.push_back({due, std::move(bytes)});
  Release();
}

void SimBox::Release() {
  const std::int64_t now = clock_.NowUs();
  while (!pending_.empty() && pending_.front().dueUs <= now) {
    const auto& b = pending_.front().bytes;
    rx_.insert(rx_.end(), b.begin(), b.end());
    pending_.pop_front();
  }
}

void SimBox::DropAnswers() {
  rx_.clear();
  pending_.clear();
  polledSinceRead_ = false;
}

std::uint32_t SimBox::RxQueued() {
  Release();
  return static_cast<std::uint32_t>(rx_.size());
}

// ---- D2XX calls ----

Status SimBox::FT_Open(int deviceIndex, FtHandle* handle) {
  if (deviceIndex != 0) return FT_DEVICE_NOT_FOUND;
  if (handle == nullptr) return FT_INVALID_PARAMETER;
  if (open_) return FT_DEVICE_NOT_OPENED;  // already in use
  open_ = true;
  handle_ = kHandleBase + (++generation_ & 0xFFFF);
  *handle = handle_;
  DropAnswers();
  return FT_OK;
}

Status SimBox::FT_Close(FtHandle handle) {
  if (!Valid(handle)) return FT_INVALID_HANDLE;
  DropAnswers();
  open_ = false;
  return FT_OK;
}

Status SimBox::FT_ResetDevice(FtHandle handle) {
  if (!Valid(handle)) return FT_INVALID_HANDLE;
  fw_ = Fw::Idle;
  DropAnswers();
  return FT_OK;
}

Status SimBox::FT_Purge(FtHandle handle, std::uint32_t mask) {
  if (!Valid(handle)) return FT_INVALID_HANDLE;
  // Written bytes reach the firmware at once, so there is never a transmit
  // queue to purge.
  if (mask & FT_PURGE_RX) DropAnswers();
  return FT_OK;
}

Status SimBox::FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
  if (!Valid(handle)) return FT_INVALID_HANDLE;
  readTimeoutMs_ = readMs;
  writeTimeoutMs_ = writeMs;
  return FT_OK;
}

Status SimBox::FT_SetUSBParameters(FtHandle handle, std::uint32_t inSize, std::uint32_t) {
  if (!Valid(handle)) return FT_INVALID_HANDLE;
  // The bridge takes IN transfer sizes of 64 bytes to 64 KiB in steps of 64.
  if (inSize < 64 || inSize > 65536 || inSize % 64 != 0) return FT_INVALID_PARAMETER;
  usbInSize_ = inSize;
  return FT_OK;
}

Status SimBox::FT_Write(FtHandle handle, const void* buffer, std::uint32_t count,
                        std::uint32_t* written) {
  if (!Valid(handle)) return FT_INVALID_HANDLE;
  if (written == nullptr || (buffer == nullptr && count > 0)) return FT_INVALID_PARAMETER;
  const auto* p = static_cast<const std::uint8_t*>(buffer);
  for (std::uint32_t i = 0; i < count; ++i) OnByte(p[i]);
  *written = count;
  polledSinceRead_ = false;
  return FT_OK;
}

Status SimBox::FT_Read(FtHandle handle, void* buffer, std::uint32_t count, std::uint32_t* got) {
  if (!Valid(handle)) return FT_INVALID_HANDLE;
  if (got == nullptr || (buffer == nullptr && count > 0)) return FT_INVALID_PARAMETER;
  Release();
  const std::size_t n = std::min<std::size_t>(count, rx_.size());
  std::copy_n(rx_.begin(), n, static_cast<std::uint8_t*>(buffer));
  rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(n));
  *got = static_cast<std::uint32_t>(n);
  polledSinceRead_ = false;
  return FT_OK;
}

Status SimBox::FT_GetStatus(FtHandle handle, std::uint32_t* rxQueue, std::uint32_t* txQueue,
                            std::uint32_t* events) {
  if (!Valid(handle)) return FT_INVALID_HANDLE;
  if (rxQueue == nullptr) return FT_INVALID_PARAMETER;
  Release();
  // A host that has nothing to read, or polls again without reading what it
  // saw, waits for the next answer: sleep until it is due rather than let
  // the host spin (a virtual clock jumps there at once).
  if (!pending_.empty() && (rx_.empty() || polledSinceRead_)) {
    clock_.SleepUntilUs(pending_.front().dueUs);
    const auto& b = pending_.front().bytes;
    rx_.insert(rx_.end(), b.begin(), b.end());
    pending_.pop_front();
    Release();
  }
  *rxQueue = static_cast<std::uint32_t>(rx_.size());
  if (txQueue != nullptr) *txQueue = 0;
  if (events != nullptr) *events = 0;
  polledSinceRead_ = true;
  return FT_OK;
}

}  // namespace rovanel::device::sim
