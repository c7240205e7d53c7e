#include "device/sim/sim_box.h"

#include <algorithm>
#include <charconv>
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
      if (b == kCmdFrame) {
        const std::int64_t n = ++frameRequests_;
        if (faults_.unplug && *faults_.unplug == n) {
          gone_ = true;
          goneAtUs_ = clock_.NowUs();
          return;
        }
        if (faults_.silent.count(n)) {
          fw_ = Fw::Idle;
          return;
        }
      }
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
      // The integration runs from the request: the time the simulation
      // takes to compute the frame is not the box's.
      const std::int64_t requestedUs = clock_.NowUs();
      const double t = IntegrationMs();
      std::vector<std::uint8_t> block(kFrameBlockSize);
      bench_.Dark(t, kFrameLead, block.data());
      bench_.Frame(t, block.data() + kFrameLead);
      bench_.Dark(t, kFrameTrail, block.data() + kFrameLead + OpticalBench::kPixels);
      Invert(block.data(), block.size());
      if (faults_.late.count(frameRequests_)) {
        // Unscaled: it must miss the host's wait whatever the time scale.
        const double hostWaitMs = t + readTimeoutMs_ + SimFaults::kLateMarginMs;
        SendUnscaled(std::move(block), hostWaitMs, true);
      } else {
        const double computedMs = static_cast<double>(clock_.NowUs() - requestedUs) / 1000.0;
        SendUnscaled(std::move(block), std::max(0.0, t * timeScale_ - computedMs));
      }
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
  SendUnscaled(std::move(bytes), delayMs * timeScale_);
}

void SimBox::SendUnscaled(std::vector<std::uint8_t> bytes, double delayMs, bool late) {
  std::int64_t due = clock_.NowUs() + std::llround(delayMs * 1000.0);
  if (!pending_.empty()) due = std::max(due, pending_.back().dueUs);
  pending_.push_back({due, std::move(bytes), late});
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
  pollsSinceRead_ = 0;
}

std::uint32_t SimBox::RxQueued() {
  Release();
  return static_cast<std::uint32_t>(rx_.size());
}

// ---- plugging ----

void SimBox::PowerUp() {
  const std::uint8_t powerUp[kRegisters] = {0x78, 0xFE, 0x01, 0x00, 0x00, 0x00};
  std::copy(powerUp, powerUp + kRegisters, regs_);
  fw_ = Fw::Idle;
  DropAnswers();
}

bool SimBox::Unplugged() {
  if (gone_ && faults_.replugMs && clock_.NowUs() - goneAtUs_ >= *faults_.replugMs * 1000) {
    gone_ = false;
    PowerUp();
    staleHandle_ = open_;
  }
  return gone_;
}

Status SimBox::Check(FtHandle h) {
  if (Unplugged()) return Valid(h) ? FT_IO_ERROR : FT_INVALID_HANDLE;
  if (!Valid(h)) return FT_INVALID_HANDLE;
  return staleHandle_ ? FT_IO_ERROR : FT_OK;
}

std::optional<SimFaults> ParseSimFaults(std::string_view text, std::string& error) {
  SimFaults faults;
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    const auto eq = item.find('=');
    const std::string_view name = item.substr(0, eq);
    std::int64_t value = 0;
    const char* first = eq == std::string_view::npos ? nullptr : item.data() + eq + 1;
    const char* last = item.data() + item.size();
    const auto [end, ec] = first ? std::from_chars(first, last, value)
                                 : std::from_chars_result{nullptr, std::errc::invalid_argument};
    const bool ok = first != nullptr && first != last && ec == std::errc() && end == last;
    const bool known = name == "late" || name == "silent" || name == "unplug" || name == "replug";
    if (!known) {
      error = "unknown fault '" + std::string(name) + "' (late=N, silent=N, unplug=N, replug=MS)";
      return std::nullopt;
    }
    const std::int64_t least = name == "replug" ? 0 : 1;
    if (!ok || value < least) {
      error = "fault " + std::string(name) + " takes a whole number of at least " +
              std::to_string(least) + ", not '" + std::string(item) + "'";
      return std::nullopt;
    }
    if (name == "late") faults.late.insert(value);
    if (name == "silent") faults.silent.insert(value);
    if (name == "unplug") faults.unplug = value;
    if (name == "replug") faults.replugMs = value;
  }
  return faults;
}

// ---- D2XX calls ----

Status SimBox::FT_Open(int deviceIndex, FtHandle* handle) {
  if (deviceIndex != 0 || Unplugged()) return FT_DEVICE_NOT_FOUND;
  if (handle == nullptr) return FT_INVALID_PARAMETER;
  if (open_) return FT_DEVICE_NOT_OPENED;  // already in use
  open_ = true;
  handle_ = kHandleBase + (++generation_ & 0xFFFF);
  *handle = handle_;
  DropAnswers();
  return FT_OK;
}

Status SimBox::FT_Close(FtHandle handle) {
  // A handle is freed even when its device is gone.
  if (!Valid(handle)) return FT_INVALID_HANDLE;
  DropAnswers();
  open_ = false;
  staleHandle_ = false;
  return FT_OK;
}

Status SimBox::FT_ResetDevice(FtHandle handle) {
  if (const Status s = Check(handle)) return s;
  fw_ = Fw::Idle;
  DropAnswers();
  return FT_OK;
}

Status SimBox::FT_Purge(FtHandle handle, std::uint32_t mask) {
  if (const Status s = Check(handle)) return s;
  // Written bytes reach the firmware at once, so there is never a transmit
  // queue to purge.
  if (mask & FT_PURGE_RX) {
    Release();
    rx_.clear();
    pollsSinceRead_ = 0;
  }
  return FT_OK;
}

Status SimBox::FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
  if (const Status s = Check(handle)) return s;
  readTimeoutMs_ = readMs;
  writeTimeoutMs_ = writeMs;
  return FT_OK;
}

Status SimBox::FT_SetUSBParameters(FtHandle handle, std::uint32_t inSize, std::uint32_t) {
  if (const Status s = Check(handle)) return s;
  // The bridge takes IN transfer sizes of 64 bytes to 64 KiB in steps of 64.
  if (inSize < 64 || inSize > 65536 || inSize % 64 != 0) return FT_INVALID_PARAMETER;
  usbInSize_ = inSize;
  return FT_OK;
}

Status SimBox::FT_Write(FtHandle handle, const void* buffer, std::uint32_t count,
                        std::uint32_t* written) {
  if (const Status s = Check(handle)) return s;
  if (written == nullptr || (buffer == nullptr && count > 0)) return FT_INVALID_PARAMETER;
  const auto* p = static_cast<const std::uint8_t*>(buffer);
  for (std::uint32_t i = 0; i < count; ++i) {
    OnByte(p[i]);
    if (gone_) {
      *written = i;
      return FT_IO_ERROR;
    }
  }
  *written = count;
  pollsSinceRead_ = 0;
  return FT_OK;
}

Status SimBox::FT_Read(FtHandle handle, void* buffer, std::uint32_t count, std::uint32_t* got) {
  if (const Status s = Check(handle)) return s;
  if (got == nullptr || (buffer == nullptr && count > 0)) return FT_INVALID_PARAMETER;
  Release();
  const std::size_t n = std::min<std::size_t>(count, rx_.size());
  std::copy_n(rx_.begin(), n, static_cast<std::uint8_t*>(buffer));
  rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(n));
  *got = static_cast<std::uint32_t>(n);
  pollsSinceRead_ = 0;
  return FT_OK;
}

Status SimBox::FT_GetStatus(FtHandle handle, std::uint32_t* rxQueue, std::uint32_t* txQueue,
                            std::uint32_t* events) {
  if (const Status s = Check(handle)) return s;
  if (rxQueue == nullptr) return FT_INVALID_PARAMETER;
  Release();
  // A host that has nothing to read, or polls on without reading what it
  // saw, waits for the next answer: sleep toward it rather than let the host
  // spin, but never past one poll's slice, so that a host waiting for a
  // whole series still gets its turn at every poll (its window lives). One
  // poll more before a read is the host checking the count it will read
  // (a frame requested while the host works on the one before must not
  // hold its command's echo until the frame is due).
  if (!pending_.empty() && (rx_.empty() || pollsSinceRead_ >= 2)) {
    const Delivery& next = pending_.front();
    // A late answer comes in its own time: the host's waits must see the
    // time pass, poll by poll.
    const std::int64_t slice = next.late ? kLatePollUs : kPollSliceUs;
    clock_.SleepUntilUs(std::min(next.dueUs, clock_.NowUs() + slice));
    Release();
  }
  *rxQueue = static_cast<std::uint32_t>(rx_.size());
  if (txQueue != nullptr) *txQueue = 0;
  if (events != nullptr) *events = 0;
  ++pollsSinceRead_;
  return FT_OK;
}

}  // namespace rovanel::device::sim
