// An FT232R USB-serial bridge at the level of USB transfers, as libftdi sees
// it: the vendor requests (reset and purges, modem and flow control, baud
// rate, latency timer, bit mode, modem status), string descriptors with a
// serial number, bulk OUT bytes handed to what sits behind the chip's UART,
// and bulk IN transfers cut into 64-byte packets that each start with the two
// modem-status bytes. A short answer (or the status bytes alone) goes out
// only when the latency timer expires, as on the real chip.
//
// Bytes reach the firmware at once: the serial line's rate is not modelled.
// Behind the chip sits a Firmware: the simulated box's (with its own faults:
// late or missing answers), or a serial device that is not the box. The
// chip's faults are armed by the test and fire once.
//
// Thread-safe: the transfers come on umockdev's worker thread while the test
// thread arms faults and reads the counters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/d2xx.h"
#include "device/sim/optical_bench.h"
#include "device/sim/sim_box.h"

namespace rovanel::support::usb {

// What sits behind the chip's UART.
class Firmware {
 public:
  virtual ~Firmware() = default;
  // Bytes from the host, as the UART delivers them.
  virtual void Receive(const std::uint8_t* bytes, std::size_t n) = 0;
  // Moves up to `max` of the bytes sent by now into `out`; returns how many.
  virtual std::size_t Collect(std::uint8_t* out, std::size_t max) = 0;
  // Drops what has reached the chip but not the host (a purge); what the
  // firmware is still sending comes all the same.
  virtual void DropSent() {}
  // Power comes back (the device is plugged in again).
  virtual void PowerUp() = 0;
};

// The simulated box's firmware and optical bench, on the real clock, its
// durations multiplied by timeScale.
class BoxFirmware final : public Firmware {
 public:
  BoxFirmware(device::sim::OpticalBench& bench, double timeScale);
  void Receive(const std::uint8_t* bytes, std::size_t n) override;
  std::size_t Collect(std::uint8_t* out, std::size_t max) override;
  void DropSent() override;
  void PowerUp() override;
  // The firmware itself (registers, its own faults); lock the chip first.
  device::sim::SimBox& Sim() { return *sim_; }

 private:
  device::sim::OpticalBench& bench_;
  double timeScale_;
  std::unique_ptr<device::sim::SimBox> sim_;
  device::FtHandle handle_ = 0;
};

// A USB-serial device with the same ids that is not the box: a loopback
// plug that echoes every byte, or a device that never answers.
class ForeignFirmware final : public Firmware {
 public:
  explicit ForeignFirmware(bool echo) : echo_(echo) {}
  void Receive(const std::uint8_t* bytes, std::size_t n) override;
  std::size_t Collect(std::uint8_t* out, std::size_t max) override;
  void PowerUp() override { pending_.clear(); }

 private:
  bool echo_;
  std::deque<std::uint8_t> pending_;
};

struct ChipStrings {
  std::string manufacturer = "FTDI";
  std::string product = "FT232R USB UART";
  std::string serial = "A1B2C3D4";
};

// One vendor or standard request as it arrived.
struct ControlRequest {
  std::uint8_t requestType, request;
  std::uint16_t value, index, length;
};

class Ft232r {
 public:
  static constexpr int kPacket = 64;
  static constexpr int kPayload = kPacket - 2;
  static constexpr int kDefaultLatencyMs = 16;
  // Modem status (CTS, DSR; bit 0 always set) and line status (transmitter empty).
  static constexpr std::uint8_t kModemStatus = 0x31, kLineStatus = 0x60;

  Ft232r(std::unique_ptr<Firmware> firmware, ChipStrings strings);

  // A control transfer: the setup packet and its data stage. Returns the
  // length of the data sent back (IN) or 0 (OUT); -1 stalls the request.
  int Control(const std::uint8_t setup[8], std::uint8_t* data, int length);
  // Bulk OUT: the bytes go to the firmware.
  void BulkOut(const std::uint8_t* data, int length);
  // Bulk IN of up to `length` bytes. Waits, up to the latency timer, for
  // whole packets; returns the bytes of the transfer, status bytes
  // included, or -1 once the chip has vanished (unplugged mid-transfer).
  int BulkIn(std::uint8_t* data, int length);

  // Power-up state: default latency, empty FIFOs, firmware reset.
  void PowerUp();
  // The device has been unplugged: every transfer fails.
  bool Gone();

  // Faults. Byte positions count bytes of data going to the host from the
  // moment the fault is armed, 0-based.
  // The chip hangs: bytes from the host are lost on the way to the
  // firmware, and only status bytes go out.
  void Silence(bool on);
  // The k-th byte goes out inverted (a wrong echo).
  void CorruptByte(std::uint64_t k);
  // The chip vanishes once k bytes have gone out; `vanished` is told (from
  // the transfer's thread, without the chip's lock).
  void UnplugAtByte(std::uint64_t k, std::function<void()> vanished);

  // What the host did.
  std::vector<std::uint8_t> Received();  // every bulk OUT byte, in order
  std::vector<ControlRequest> Requests();
  int LatencyMs();
  std::uint64_t BytesSent();
  // Bulk IN transfers, those that carried data, and the largest one (status
  // bytes included).
  int InTransfers();
  int DataTransfers();
  int LargestTransfer();
  void ClearLog();
  // Runs fn with the chip locked (to read or set the firmware's state).
  void Locked(const std::function<void(Firmware&)>& fn);

  const ChipStrings& Strings() const { return strings_; }

 private:
  // Pulls what the firmware has sent into the FIFO (unless silenced).
  void Pull();
  int StringDescriptor(int index, std::uint8_t* data, int length) const;

  std::mutex m_;
  std::unique_ptr<Firmware> firmware_;
  const ChipStrings strings_;
  std::deque<std::uint8_t> fifo_;
  int latencyMs_ = kDefaultLatencyMs;
  std::int64_t lastPacketUs_ = 0;
  bool gone_ = false;

  bool silent_ = false;
  static constexpr std::uint64_t kNever = ~std::uint64_t{0};
  std::uint64_t sent_ = 0;
  std::uint64_t corruptAt_ = kNever;
  std::uint64_t unplugAt_ = kNever;
  std::function<void()> vanished_;

  std::vector<std::uint8_t> received_;
  std::vector<ControlRequest> requests_;
  int inTransfers_ = 0;
  int dataTransfers_ = 0;
  int largestTransfer_ = 0;
};

}  // namespace rovanel::support::usb
