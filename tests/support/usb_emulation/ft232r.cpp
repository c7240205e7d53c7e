#include "support/usb_emulation/ft232r.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "device/clock.h"
#include "device/usb_link.h"

namespace rovanel::support::usb {

namespace {

// FTDI vendor requests.
constexpr std::uint8_t kReset = 0x00, kSetLatency = 0x09, kGetLatency = 0x0A;
constexpr std::uint8_t kPollModemStatus = 0x05, kReadPins = 0x0C, kReadEeprom = 0x90;
// Reset's values: the whole chip, the FIFO towards the serial line, the FIFO towards the host.
constexpr std::uint16_t kResetSio = 0, kPurgeToSerial = 1, kPurgeToHost = 2;
constexpr std::uint8_t kVendorOut = 0x40, kVendorIn = 0xC0, kStandardIn = 0x80;
constexpr std::uint8_t kGetDescriptor = 6;

std::int64_t Now() {
  return device::RealClock().NowUs();
}

}  // namespace

// ---- firmwares ----

BoxFirmware::BoxFirmware(device::sim::OpticalBench& bench, double timeScale)
    : bench_(bench), timeScale_(timeScale) {
  PowerUp();
}

void BoxFirmware::PowerUp() {
  sim_ = std::make_unique<device::sim::SimBox>(device::RealClock(), bench_);
  sim_->SetTimeScale(timeScale_);
  sim_->FT_Open(0, &handle_);
  // What the host's waits allow: the firmware's late answers miss them.
  sim_->FT_SetTimeouts(handle_, device::kUsbTimeoutMs, device::kUsbTimeoutMs);
}

void BoxFirmware::Receive(const std::uint8_t* bytes, std::size_t n) {
  std::uint32_t written = 0;
  sim_->FT_Write(handle_, bytes, static_cast<std::uint32_t>(n), &written);
}

std::size_t BoxFirmware::Collect(std::uint8_t* out, std::size_t max) {
  const std::size_t n = std::min<std::size_t>(max, sim_->RxQueued());
  std::uint32_t got = 0;
  if (n > 0) sim_->FT_Read(handle_, out, static_cast<std::uint32_t>(n), &got);
  return got;
}

void BoxFirmware::DropSent() {
  sim_->FT_Purge(handle_, device::FT_PURGE_RX);
}

void ForeignFirmware::Receive(const std::uint8_t* bytes, std::size_t n) {
  if (echo_) pending_.insert(pending_.end(), bytes, bytes + n);
}

std::size_t ForeignFirmware::Collect(std::uint8_t* out, std::size_t max) {
  const std::size_t n = std::min(max, pending_.size());
  std::copy_n(pending_.begin(), n, out);
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
  return n;
}

// ---- chip ----

Ft232r::Ft232r(std::unique_ptr<Firmware> firmware, ChipStrings strings)
    : firmware_(std::move(firmware)), strings_(std::move(strings)) {}

void Ft232r::PowerUp() {
  std::lock_guard lock(m_);
  fifo_.clear();
  latencyMs_ = kDefaultLatencyMs;
  lastPacketUs_ = Now();
  gone_ = false;
  firmware_->PowerUp();
}

bool Ft232r::Gone() {
  std::lock_guard lock(m_);
  return gone_;
}

int Ft232r::StringDescriptor(int index, std::uint8_t* data, int length) const {
  std::vector<std::uint8_t> d;
  if (index == 0) {
    d = {4, 3, 0x09, 0x04};  // US English only
  } else {
    const std::string* s = index == 1   ? &strings_.manufacturer
                           : index == 2 ? &strings_.product
                           : index == 3 ? &strings_.serial
                                        : nullptr;
    if (s == nullptr) return -1;
    d = {static_cast<std::uint8_t>(2 + 2 * s->size()), 3};
    for (char c : *s) {  // ASCII to UTF-16LE
      d.push_back(static_cast<std::uint8_t>(c));
      d.push_back(0);
    }
  }
  const int n = std::min<int>(length, static_cast<int>(d.size()));
  std::copy_n(d.begin(), n, data);
  return n;
}

int Ft232r::Control(const std::uint8_t setup[8], std::uint8_t* data, int length) {
  const ControlRequest r{setup[0], setup[1], static_cast<std::uint16_t>(setup[2] | setup[3] << 8),
                         static_cast<std::uint16_t>(setup[4] | setup[5] << 8),
                         static_cast<std::uint16_t>(setup[6] | setup[7] << 8)};
  std::lock_guard lock(m_);
  requests_.push_back(r);
  const int n = std::min<int>(length, r.length);
  if (r.requestType == kVendorOut) {
    if (r.request == kReset) {
      if (r.value == kResetSio || r.value == kPurgeToHost) {
        fifo_.clear();
        firmware_->DropSent();
      }
      // Bytes towards the serial line reach the firmware at once: nothing to purge.
      return r.value <= kPurgeToHost ? 0 : -1;
    }
    if (r.request == kSetLatency) {
      latencyMs_ = std::max(1, r.value & 0xFF);
      return 0;
    }
    // Modem and flow control, baud rate, line properties, event and error
    // characters, bit mode: taken and ignored.
    return r.request <= 0x0B ? 0 : -1;
  }
  if (r.requestType == kVendorIn) {
    const std::uint8_t answer[2] = {
        r.request == kGetLatency ? static_cast<std::uint8_t>(latencyMs_) : kModemStatus,
        kLineStatus};
    if (r.request == kPollModemStatus || r.request == kGetLatency || r.request == kReadPins) {
      std::copy_n(answer, std::min(n, 2), data);
      return std::min(n, r.request == kPollModemStatus ? 2 : 1);
    }
    if (r.request == kReadEeprom) {
      std::fill_n(data, n, 0xFF);  // a blank EEPROM
      return n;
    }
    return -1;
  }
  if (r.requestType == kStandardIn && r.request == kGetDescriptor && (r.value >> 8) == 3)
    return StringDescriptor(r.value & 0xFF, data, n);
  // Standard OUT requests (configuration, features) are taken.
  return (r.requestType & 0x80) == 0 ? 0 : -1;
}

void Ft232r::BulkOut(const std::uint8_t* data, int length) {
  std::lock_guard lock(m_);
  received_.insert(received_.end(), data, data + length);
  if (!silent_) firmware_->Receive(data, static_cast<std::size_t>(length));
}

void Ft232r::Pull() {
  std::uint8_t buf[4096];
  for (std::size_t n; (n = firmware_->Collect(buf, sizeof buf)) > 0;)
    if (!silent_) fifo_.insert(fifo_.end(), buf, buf + n);
}

int Ft232r::BulkIn(std::uint8_t* data, int length) {
  const int packets = std::max(1, length / kPacket);
  std::unique_lock lock(m_);
  // Whole packets go at once; a short one (the rest of an answer, or the
  // status bytes alone) when the latency timer expires.
  for (;;) {
    if (gone_) return -1;
    Pull();
    const std::int64_t flushAt = lastPacketUs_ + std::int64_t{latencyMs_} * 1000;
    const std::int64_t now = Now();
    if (fifo_.size() / kPayload >= static_cast<std::size_t>(packets) || now >= flushAt) break;
    lock.unlock();
    std::this_thread::sleep_for(std::chrono::microseconds(flushAt - now));
    lock.lock();
  }
  bool vanish = false;
  int out = 0;
  for (int p = 0; p < packets && !vanish; ++p) {
    data[out++] = kModemStatus;
    data[out++] = kLineStatus;
    std::uint64_t n = std::min<std::uint64_t>(kPayload, fifo_.size());
    if (unplugAt_ != kNever) n = std::min(n, unplugAt_ - sent_);
    for (std::uint64_t i = 0; i < n; ++i, ++sent_) {
      std::uint8_t b = fifo_.front();
      fifo_.pop_front();
      if (sent_ == corruptAt_) b = static_cast<std::uint8_t>(~b);
      data[out++] = b;
    }
    vanish = sent_ == unplugAt_;
    if (n < kPayload) break;
  }
  lastPacketUs_ = Now();
  ++inTransfers_;
  if (out > 2) ++dataTransfers_;
  largestTransfer_ = std::max(largestTransfer_, out);
  if (!vanish) return out;
  gone_ = true;
  unplugAt_ = kNever;
  auto told = std::move(vanished_);
  lock.unlock();
  if (told) told();
  return out;
}

// ---- faults ----

void Ft232r::Silence(bool on) {
  std::lock_guard lock(m_);
  silent_ = on;
}

void Ft232r::CorruptByte(std::uint64_t k) {
  std::lock_guard lock(m_);
  corruptAt_ = sent_ + k;
}

void Ft232r::UnplugAtByte(std::uint64_t k, std::function<void()> vanished) {
  std::lock_guard lock(m_);
  unplugAt_ = sent_ + k;
  vanished_ = std::move(vanished);
}

// ---- what the host did ----

std::vector<std::uint8_t> Ft232r::Received() {
  std::lock_guard lock(m_);
  return received_;
}

std::vector<ControlRequest> Ft232r::Requests() {
  std::lock_guard lock(m_);
  return requests_;
}

int Ft232r::LatencyMs() {
  std::lock_guard lock(m_);
  return latencyMs_;
}

std::uint64_t Ft232r::BytesSent() {
  std::lock_guard lock(m_);
  return sent_;
}

int Ft232r::InTransfers() {
  std::lock_guard lock(m_);
  return inTransfers_;
}

int Ft232r::DataTransfers() {
  std::lock_guard lock(m_);
  return dataTransfers_;
}

int Ft232r::LargestTransfer() {
  std::lock_guard lock(m_);
  return largestTransfer_;
}

void Ft232r::ClearLog() {
  std::lock_guard lock(m_);
  received_.clear();
  requests_.clear();
  inTransfers_ = 0;
  dataTransfers_ = 0;
  largestTransfer_ = 0;
}

void Ft232r::Locked(const std::function<void(Firmware&)>& fn) {
  std::lock_guard lock(m_);
  fn(*firmware_);
}

}  // namespace rovanel::support::usb
