#include "device/board.h"

#include <algorithm>
#include <array>
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

bool Board::DeviceGone(Status s) {
  return s == FT_INVALID_HANDLE || s == FT_DEVICE_NOT_FOUND || s == FT_DEVICE_NOT_OPENED ||
         s == FT_IO_ERROR;
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

// ---- link health ----

void Board::LinkOpened() {
  identified_ = false;
  lost_ = false;
  resyncPending_ = false;
  // A box opened anew may have powered up since: it runs its own values
  // until told the program's again.
  integrationMs_ = kDefaultIntegrationMs;
  integrationPending_ = true;
  samplesPending_ = wantedSamples_ >= 0;
}

Status Board::Begin(bool needsId) {
  // Every exchange starts here: a frame still on its way is taken first.
  DropStartedFrame();
  link_.DriverFailure = FT_OK;
  if (!link_.UsbOpened) return FT_DEVICE_NOT_OPENED;
  if (needsId && !identified_) return FT_DEVICE_NOT_OPENED;
  if (resyncPending_) {
    Resync();
    if (!link_.UsbOpened) return FT_DEVICE_NOT_OPENED;
  }
  return FT_OK;
}

Status Board::End(Status s) {
  if (s == FT_OK) return s;
  if (s == kCancelled) {
    // The box goes on with what was asked and would answer into the next
    // exchange: the bridge is reset, then purged and drained.
    link_.Reset_USB_Device();
    resyncPending_ = true;
    return s;
  }
  if (DeviceGone(s) || DeviceGone(link_.DriverFailure)) {
    link_.CloseUSB();
    identified_ = false;
    resyncPending_ = false;
    lost_ = true;
  } else {
    resyncPending_ = true;
  }
  return s;
}

void Board::Resync() {
  resyncPending_ = false;
  ++resyncs_;
  Status s = link_.Purge_USB_Device_RX();
  if (s == FT_OK) s = link_.Purge_USB_Device_TX();
  std::uint64_t dropped = 0;
  if (s == FT_OK) s = link_.DrainUSB(kDrainQuietMs, kDrainLimitMs, dropped);
  droppedBytes_ += dropped;
  if (DeviceGone(s)) End(s);
}

template <class Command>
Status Board::Reconnecting(Command command) {
  const std::uint64_t before = link_.BytesRead;
  const Status s = command();
  // Failed on a device that is gone (closed now, or since an earlier
  // command), and nothing of the answer came: nothing is lost by asking again.
  if (s == FT_OK || !lost_ || link_.UsbOpened || link_.BytesRead != before) return s;
  // Not back (or not the box): the command's own failure is what the caller hears.
  if (Connect() != FT_OK) return s;
  ++reconnects_;
  return command();
}

Status Board::Restore() {
  if (integrationPending_) {
    const Status s = SetIntegrationTimeRaw(wantedIntegrationMs_);
    if (s != FT_OK) return s;
    integrationPending_ = false;
  }
  if (samplesPending_) {
    const Status s = SetNbSamplesRaw(wantedSamples_);
    if (s != FT_OK) return s;
    samplesPending_ = false;
  }
  return FT_OK;
}

// ---- operations ----

Status Board::WriteRegisterRaw(std::uint8_t reg, std::uint8_t value) {
  Status s = SendCommand(kCmdWriteRegister);
  if (s != FT_OK) return s;
  s = link_.WriteByteUSB(reg);
  if (s != FT_OK) return s;
  s = link_.WriteByteUSB(value);
  if (s != FT_OK) return s;
  return SendAndCheck(kAckByte, kAckByte);
}

Status Board::WriteRegister(std::uint8_t reg, std::uint8_t value) {
  return Reconnecting([&] {
    const Status s = Begin(true);
    if (s != FT_OK) return s;
    return End(WriteRegisterRaw(reg, value));
  });
}

Status Board::BoardOpen() {
  const Status s = link_.OpenUSB();
  if (link_.UsbOpened) LinkOpened();
  return s;
}

Status Board::BoardClose() {
  Status s = FT_OK;
  if (Identified()) {
    s = Begin(true);
    if (s == FT_OK) s = End(WriteRegisterRaw(5, 0));
  }
  link_.CloseUSB();
  identified_ = false;
  resyncPending_ = false;
  lost_ = false;
  return s;
}

Status Board::Connect(std::int64_t settleMs, bool* opened) {
  const Status open = BoardOpen();
  if (opened) *opened = link_.UsbOpened;
  if (!link_.UsbOpened) return open;
  Clock& clock = link_.ClockSource();
  clock.SleepUntilUs(clock.NowUs() + settleMs * 1000);
  std::int32_t id = 0;
  const Status s = GetBoardId(id);
  // Whatever answered is not the box: give it back untouched.
  if (s != FT_OK) link_.CloseUSB();
  return s;
}

Status Board::GetBoardId(std::int32_t& id) {
  Status s = Begin(false);
  if (s != FT_OK) return s;
  identified_ = false;
  s = SendCommand(kCmdIdentify);
  std::uint8_t lo = 0, hi = 0;
  if (s == FT_OK) s = link_.ReadByteUSB(lo);
  if (s == FT_OK) s = link_.ReadByteUSB(hi);
  if (s == FT_OK) {
    id = lo + 256 * hi;
    s = SendAndCheck(kAckByte, kAckByte);
  }
  if (s == FT_OK) s = WriteRegisterRaw(5, 255);
  if (s == FT_OK) identified_ = true;
  return End(s);
}

Status Board::SetIntegrationTimeRaw(double ms) {
  const std::int32_t count = IntegrationCount(ms);
  Status s = WriteRegisterRaw(1, static_cast<std::uint8_t>((count / 256) & 255));
  if (s != FT_OK) return s;
  s = WriteRegisterRaw(0, static_cast<std::uint8_t>(count & 255));
  if (s == FT_OK) integrationMs_ = ms;
  return s;
}

Status Board::SetIntegrationTime(double ms) {
  if (!std::isfinite(ms)) return FT_INVALID_PARAMETER;
  const std::int32_t count = IntegrationCount(ms);
  // A count outside the register would be cut to its low 16 bits and set a
  // wholly different time.
  if (count < 0 || count > 65535) return FT_INVALID_PARAMETER;
  wantedIntegrationMs_ = ms;
  integrationPending_ = true;
  return Reconnecting([&] {
    Status s = Begin(true);
    if (s != FT_OK) return s;
    s = SetIntegrationTimeRaw(ms);
    if (s == FT_OK) integrationPending_ = false;
    return End(s);
  });
}

Status Board::SetNbSamplesRaw(std::int32_t n) {
  const std::int32_t m = n + 1;
  Status s = WriteRegisterRaw(2, static_cast<std::uint8_t>(m & 255));
  if (s == FT_OK) s = WriteRegisterRaw(3, static_cast<std::uint8_t>((m / 256) & 255));
  if (s == FT_OK) s = WriteRegisterRaw(4, static_cast<std::uint8_t>((m / 65536) & 255));
  if (s == FT_OK) sampleCount_ = n;
  return s;
}

Status Board::SetNbSamples(std::int32_t n) {
  if (n < 0 || n > kMaxSampleCount) return FT_INVALID_PARAMETER;
  wantedSamples_ = n;
  samplesPending_ = true;
  return Reconnecting([&] {
    Status s = Begin(true);
    if (s != FT_OK) return s;
    s = SetNbSamplesRaw(n);
    if (s == FT_OK) samplesPending_ = false;
    return End(s);
  });
}

Status Board::ReadFrame(std::span<std::uint16_t> dest) {
  if (dest.size() < static_cast<std::size_t>(kPixels)) return FT_INVALID_PARAMETER;
  return Reconnecting([&] { return ReadFrameOnce(dest); });
}

Status Board::ReadFrameOnce(std::span<std::uint16_t> dest) {
  const Status s = StartFrameOnce();
  return s == FT_OK ? CollectFrame(dest) : s;
}

Status Board::StartFrameOnce() {
  Status s = Begin(true);
  if (s != FT_OK) return s;
  s = Restore();
  if (s == FT_OK) s = SendCommand(kCmdReadFrame);
  return s == FT_OK ? s : End(s);
}

Status Board::CollectFrame(std::span<std::uint16_t> dest) {
  Status s = link_.ReadNbDataUSB(kFrameBlockSize, CeilMs(integrationMs_));
  if (s == FT_OK) {
    const auto& block = link_.UsbRxBuf;
    for (int i = 0; i < kPixels; ++i) dest[i] = 255 - block[kFrameLead + i];
    s = SendAndCheck(kAckByte, kAckByte);
  }
  return End(s);
}

Status Board::StartFrame() {
  const Status s = Reconnecting([&] { return StartFrameOnce(); });
  frameStarted_ = s == FT_OK;
  return s;
}

Status Board::FinishFrame(std::span<std::uint16_t> dest) {
  if (dest.size() < static_cast<std::size_t>(kPixels)) return FT_INVALID_PARAMETER;
  if (!frameStarted_) return ReadFrame(dest);
  frameStarted_ = false;
  const std::uint64_t before = link_.BytesRead;
  const Status s = CollectFrame(dest);
  // Gone before any byte of the block (unplugged meanwhile): a whole
  // frame, which opens the box again as any command would.
  if (s != FT_OK && lost_ && !link_.UsbOpened && link_.BytesRead == before) return ReadFrame(dest);
  return s;
}

void Board::DropStartedFrame() {
  if (!frameStarted_) return;
  frameStarted_ = false;
  std::array<std::uint16_t, kPixels> dropped{};
  CollectFrame(dropped);
}

Status Board::ReadSamples(std::span<std::uint16_t> dest, std::int32_t n) {
  if (n < 0 || dest.size() < static_cast<std::size_t>(n)) return FT_INVALID_PARAMETER;
  return Reconnecting([&] { return ReadSamplesOnce(dest, n); });
}

Status Board::ReadSamplesOnce(std::span<std::uint16_t> dest, std::int32_t n) {
  Status s = Begin(true);
  if (s != FT_OK) return s;
  s = Restore();
  if (s == FT_OK) s = SendCommand(kCmdReadSeries);
  std::uint8_t lead = 0;
  if (s == FT_OK) s = link_.ReadByteUSB(lead);
  if (s != FT_OK) return End(s);
  // A series may come only once it has been acquired: each block read may
  // wait for the rest of the series' duration before its first byte.
  const std::int64_t total = std::max(n, sampleCount_);
  const std::int32_t q = n / kSeriesChunk;
  const std::int32_t r = n % kSeriesChunk;
  std::int64_t k = 0;
  const auto& chunk = link_.UsbRxBuf;
  for (std::int32_t c = 0; c < q; ++c) {
    s = link_.ReadNbDataUSB(kSeriesChunk, SeriesAllowanceMs(total - k, integrationMs_));
    if (s != FT_OK) return End(s);
    for (std::int32_t j = 0; j < kSeriesChunk; ++j) dest[k++] = 255 - chunk[j];
  }
  s = link_.ReadNbDataUSB(static_cast<std::uint32_t>(r),
                          SeriesAllowanceMs(total - k, integrationMs_));
  if (s != FT_OK) return End(s);
  for (std::int32_t j = 0; j < r; ++j) dest[k++] = 255 - chunk[j];
  return End(SendAndCheck(kAckByte, kAckByte));
}

}  // namespace rovanel::device
