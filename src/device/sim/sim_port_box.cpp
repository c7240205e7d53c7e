#include "device/sim/sim_port_box.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace rovanel::device::sim {
namespace {

constexpr int kBitRev4[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};

}  // namespace

SimPortBox::SimPortBox(Clock& clock, OpticalBench& bench) : clock_(clock), bench_(bench) {
  memory_.fill(kPowerUpByte);
}

std::int64_t SimPortBox::SamplePeriodUs() const {
  return std::llround(IntegrationMs() * 1000.0) * (rate_ + 1);
}

std::uint8_t SimPortBox::StatusLines() {
  CatchUp();
  const std::uint8_t b = memory_[static_cast<std::size_t>(address_)];
  const std::uint8_t nibble = lowNibble_ ? (b & 0x0F) : (b >> 4);
  return static_cast<std::uint8_t>(nibble << 4 | kUndrivenStatus);
}

int SimPortBox::Stored() {
  CatchUp();
  return stored_;
}

std::int32_t SimPortBox::DoRead(std::uint16_t address, std::uint8_t& value) {
  if (address == ParaBase) {
    value = data_;
  } else if (address == ParaBase + 1) {
    value = StatusLines() ^ kStatusWireXor;
  } else if (address == ParaBase + 2) {
    value = control_ ^ kControlWireXor;
  } else {
    return kPortBadAddress;
  }
  return 0;
}

std::int32_t SimPortBox::DoWrite(std::uint16_t address, std::uint8_t value) {
  if (address == ParaBase) {
    const std::uint8_t old = data_;
    data_ = value;
    if (old != value) OnData(old, value);
    return 0;
  }
  if (address == ParaBase + 2) {
    control_ = value ^ kControlWireXor;
    return 0;
  }
  return kPortBadAddress;
}

void SimPortBox::OnData(std::uint8_t old, std::uint8_t now) {
  if (awaitParam_) {
    awaitParam_ = false;
    StartSeries(now);
    return;
  }
  if ((now & 0xC0) == 0xC0) {
    level_ = kBitRev4[now & 0x0F];
    return;
  }
  if (now == kParamStrobe) {
    awaitParam_ = true;
    return;
  }
  if ((now & kReadLine) == 0) return;
  const bool wasUp = (old & kParamStrobe) != 0;
  const bool isUp = (now & kParamStrobe) != 0;
  if (!wasUp && isUp) {
    lowNibble_ = true;
  } else if (wasUp && !isUp) {
    lowNibble_ = false;
    address_ = (address_ + 1) % kMemory;
  }
}

void SimPortBox::StartSeries(std::uint8_t param) {
  CatchUp();  // the samples of an interrupted series stay in memory
  ++paramBytes_;
  rate_ = kBitRev4[param & 0x0F] | (param & 0x80 ? 16 : 0) | (param & 0x40 ? 32 : 0);
  points_ = (param & 0x20) ? 8192 : 4096;
  series_ = true;
  startUs_ = clock_.NowUs();
  stored_ = 0;
  address_ = 0;
  lowNibble_ = false;
}

void SimPortBox::CatchUp() {
  if (!series_ || stored_ >= points_) return;
  const std::int64_t due =
      std::min<std::int64_t>(points_, (clock_.NowUs() - startUs_) / SamplePeriodUs());
  if (due <= stored_) return;
  // The box integrates every period and keeps the last of each r + 1.
  std::vector<std::uint8_t> periods(static_cast<std::size_t>(rate_ + 1));
  for (; stored_ < due; ++stored_) {
    bench_.Series(IntegrationMs(), periods.size(), periods.data());
    memory_[static_cast<std::size_t>(stored_)] = static_cast<std::uint8_t>(255 - periods.back());
  }
}

}  // namespace rovanel::device::sim
