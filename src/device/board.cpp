#include "device/board.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rovanel::device {

namespace {

// Fixed part of the series allowance: USB latency and the box's own set-up.
constexpr std::int64_t kSeriesMarginMs = 100;
constexpr std::int32_t kMaxSampleCount = 0xFFFFFE;  // n + 1 fits 24 bits

std::int64_t CeilMs(double ms) {
  if (!(ms > 0)) return 0;
  constexpr double kMax = 1e12;  // ~30 years: far beyond any series
  return static_cast<std::int64_t>(std::ceil(std::min(ms, kMax)));
}

}  // namespace

Board::Board(UsbLink& link) : link_(link) {}

UsbLink& Board::Link() {
  return link_;
}

std::int32_t Board::IntegrationCount(double ms) {
  const double count = 65535.0 - std::nearbyint(ms / kIntegrationTick);
  constexpr double lo = std::numeric_limits<std::int32_t>::min();
  constexpr double hi = std::numeric_limits<std::int32_t>::max();
  if (std::isnan(count)) return 65535;
  return static_cast<std::int32_t>(std::clamp(count, lo, hi));
}

std::int64_t Board::SeriesAllowanceMs(std::int64_t samples, double integrationMs) {
  const double series = static_cast<double>(std::max<std::int64_t>(samples, 0)) * integrationMs;
  return CeilMs(series * 1.05) + kSeriesMarginMs;
}

Status Board::SendAndCheck(std::uint8_t b, std::uint8_t expected) {
  Status s = link_.WriteByteUSB(b);
  if (s != FT_OK) return s;
  std::uint8_t r = static_cast<std::uint8_t>(~expected);
  s = link_.ReadByteUSB(r);
  if (s != FT_OK) return s;
  return r == expected ? FT_OK : kWrongEcho;
}

Status Board::SendCommand(std::uint8_t c) {
  const Status s = SendAndCheck(kSyncByte, kSyncByte);
  if (s != FT_OK) return s;
  return SendAndCheck(c, c);
}

Status Board::WriteRegister(std::uint8_t reg, std::uint8_t value) {
  Status s = SendCommand(kCmdWriteRegister);
  if (s != FT_OK) return s;
  s = link_.WriteByteUSB(reg);
  if (s != FT_OK) return s;
  s = link_.WriteByteUSB(value);
  if (s != FT_OK) return s;
  return SendAndCheck(kAckByte, kAckByte);
}

Status Board::BoardOpen() {
  return link_.OpenUSB();
}

Status Board::BoardClose() {
  const Status s = WriteRegister(5, 0);
  if (s != FT_OK) return s;
  link_.CloseUSB();
  return FT_OK;
}

Status Board::GetBoardId(std::int32_t& id) {
  Status s = SendCommand(kCmdIdentify);
  if (s != FT_OK) return s;
  std::uint8_t lo = 0, hi = 0;
  s = link_.ReadByteUSB(lo);
  if (s != FT_OK) return s;
  s = link_.ReadByteUSB(hi);
  if (s != FT_OK) return s;
  id = lo + 256 * hi;
  s = SendAndCheck(kAckByte, kAckByte);
  if (s != FT_OK) return s;
  return WriteRegister(5, 255);
}

Status Board::SetIntegrationTime(double ms) {
  if (!std::isfinite(ms)) return FT_INVALID_PARAMETER;
  const std::int32_t count = IntegrationCount(ms);
  // A count outside the register would be cut to its low 16 bits and set a
  // wholly different time.
  if (count < 0 || count > 65535) return FT_INVALID_PARAMETER;
  Status s = WriteRegister(1, static_cast<std::uint8_t>((count / 256) & 255));
  if (s != FT_OK) return s;
  s = WriteRegister(0, static_cast<std::uint8_t>(count & 255));
  if (s == FT_OK) integrationMs_ = ms;
  return s;
}

Status Board::SetNbSamples(std::int32_t n) {
  if (n < 0 || n > kMaxSampleCount) return FT_INVALID_PARAMETER;
  const std::int32_t m = n + 1;
  Status s = WriteRegister(2, static_cast<std::uint8_t>(m & 255));
  if (s == FT_OK) s = WriteRegister(3, static_cast<std::uint8_t>((m / 256) & 255));
  if (s == FT_OK) s = WriteRegister(4, static_cast<std::uint8_t>((m / 65536) & 255));
  if (s == FT_OK) sampleCount_ = n;
  return s;
}

Status Board::ReadFrame(std::uint16_t* dest) {
  Status s = SendCommand(kCmdReadFrame);
  if (s != FT_OK) return s;
  s = link_.ReadNbDataUSB(kFrameBlockSize, CeilMs(integrationMs_));
  if (s != FT_OK) return s;
  const auto& block = link_.UsbRxBuf;
  for (int i = 0; i < kFramePixels; ++i) dest[i] = 255 - block[kFrameLead + i];
  return SendAndCheck(kAckByte, kAckByte);
}

Status Board::ReadSamples(std::uint16_t* dest, std::int32_t n) {
  if (n < 0) return FT_INVALID_PARAMETER;
  Status s = SendCommand(kCmdReadSeries);
  if (s != FT_OK) return s;
  std::uint8_t lead = 0;
  s = link_.ReadByteUSB(lead);
  if (s != FT_OK) return s;
  // A series may come only once it has been acquired: each block read may
  // wait for the rest of the series' duration before its first byte.
  const std::int64_t total = std::max(n, sampleCount_);
  const std::int32_t q = n / kSeriesChunk;
  const std::int32_t r = n % kSeriesChunk;
  std::int64_t k = 0;
  const auto& chunk = link_.UsbRxBuf;
  for (std::int32_t c = 0; c < q; ++c) {
    s = link_.ReadNbDataUSB(kSeriesChunk, SeriesAllowanceMs(total - k, integrationMs_));
    if (s != FT_OK) return s;
    for (std::int32_t j = 0; j < kSeriesChunk; ++j) dest[k++] = 255 - chunk[j];
  }
  s = link_.ReadNbDataUSB(static_cast<std::uint32_t>(r),
                          SeriesAllowanceMs(total - k, integrationMs_));
  if (s != FT_OK) return s;
  for (std::int32_t j = 0; j < r; ++j) dest[k++] = 255 - chunk[j];
  return SendAndCheck(kAckByte, kAckByte);
}

}  // namespace rovanel::device
