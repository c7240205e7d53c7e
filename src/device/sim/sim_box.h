// The simulated acquisition box: an in-process emulation of the box's
// firmware behind the D2XX-shaped driver interface, reading its light from
// an OpticalBench and its time from an injectable Clock.
//
// Firmware, one byte at a time:
//   idle      0xF0 is echoed and a command byte is awaited; any other byte is
//             ignored (so a host can resynchronise by sending 0xF0).
//   command   the byte is echoed, then
//             0  sends the identification kBoardId, low byte first;
//             4  takes a register number and a value (no echo) and stores
//                the value if the register exists (0..5), else drops it;
//             6  integrates for IntegrationMs() and sends a 2100-byte block:
//                39 readings of shielded pixels, the 2048 pixels, 13 more
//                shielded readings (shielded pixels read the dark level);
//             8  sends kSeriesStartByte at once, then after SampleCount()
//                integration periods the SampleCount() samples;
//             any other code: echoed and nothing else, back to idle.
//   after 0, 4, 6 and 8 the acknowledgement 0x0F is awaited and echoed; an
//   0xF0 there abandons the command and starts a new one; other bytes are
//   ignored.
// Every light level goes out inverted (byte = 255 - level).
//
// Faults, for showing and testing recovery (frame requests are counted
// from 1 over the box's whole life):
//   late=N    the N-th frame request is answered only after the host's
//             frame wait (integration time + read time-out) has expired;
//   silent=N  the N-th frame request gets no answer, not even its echo;
//   unplug=N  the box disappears at the N-th frame request: every call
//             fails with FT_IO_ERROR and FT_Open finds no device;
//   replug=MS it comes back MS milliseconds later, powered up afresh (a
//             handle kept across the unplug stays dead until closed).
// A purge empties the bridge's queue but cannot stop what the firmware is
// still sending: a late answer arrives after the purge all the same.
//
// Timing: answers are delivered in order; an answer due later becomes
// visible in the receive-queue count only when the clock reaches its time.
// Durations are multiplied by the time scale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/sizes.h"
#include "device/clock.h"
#include "device/d2xx.h"
#include "device/sim/optical_bench.h"

namespace rovanel::device::sim {

struct SimFaults {
  std::set<std::int64_t> late, silent;  // frame request numbers, from 1
  std::optional<std::int64_t> unplug;
  std::optional<std::int64_t> replugMs;
  // How long after the host's frame wait a late frame arrives.
  static constexpr std::int64_t kLateMarginMs = 30;
};

// Reads "late=N,silent=N,unplug=N,replug=MS" (any subset, late and silent
// may repeat). On error returns nullopt and says why in `error`.
std::optional<SimFaults> ParseSimFaults(std::string_view text, std::string& error);

class SimBox final : public FtDriver {
 public:
  static constexpr std::uint16_t kBoardId = 0x2048;
  static constexpr std::uint8_t kSync = 0xF0;
  static constexpr std::uint8_t kAck = 0x0F;
  static constexpr std::uint8_t kSeriesStartByte = 0xA5;
  static constexpr int kRegisters = 6;
  static constexpr double kCountMs = 0.0256;  // one integration count
  // Longest sleep of one status poll while a late answer is on its way.
  static constexpr std::int64_t kLatePollUs = 5000;
  // The longest a poll sleeps toward an answer not yet due.
  static constexpr std::int64_t kPollSliceUs = 10000;

  SimBox(Clock& clock, OpticalBench& bench);

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
  bool Simulated() const override { return true; }

  void SetFaults(SimFaults faults) { faults_ = std::move(faults); }
  const SimFaults& Faults() const { return faults_; }
  // Frame requests received so far.
  std::int64_t FrameRequests() const { return frameRequests_; }
  // The box is unplugged now (a replug due by now has happened).
  bool Unplugged();

  // 1 = real durations, 0 = frames and series are ready at once.
  void SetTimeScale(double scale) { timeScale_ = scale < 0.0 ? 0.0 : scale; }
  double TimeScale() const { return timeScale_; }

  // Registers 0..5 as last written (0 outside that range). At power-up the
  // integration count is 0xFE78 (10 ms) and the sample count 0.
  std::uint8_t Register(int index) const;
  // From registers 0/1: (65535 - count) * 0.0256.
  double IntegrationMs() const;
  // From registers 2..4: value - 1 (never below 0).
  std::int32_t SampleCount() const;

  bool IsOpen() const { return open_; }
  // Receive-queue count at the current clock time, without sleeping.
  std::uint32_t RxQueued();
  // An answer is scheduled but not yet due.
  bool Pending() const { return !pending_.empty(); }
  std::uint32_t ReadTimeoutMs() const { return readTimeoutMs_; }
  std::uint32_t WriteTimeoutMs() const { return writeTimeoutMs_; }
  std::uint32_t UsbInSize() const { return usbInSize_; }

 private:
  enum class Fw { Idle, Command, RegNumber, RegValue, AwaitAck };

  struct Delivery {
    std::int64_t dueUs;
    std::vector<std::uint8_t> bytes;
    bool late = false;  // a host's poll must not jump straight to it
  };

  bool Valid(FtHandle h) const { return open_ && h == handle_; }
  // Status of a call on `h`: FT_IO_ERROR while unplugged or for a handle
  // that outlived an unplug, FT_INVALID_HANDLE for a wrong one, else 0.
  Status Check(FtHandle h);
  void PowerUp();
  void OnByte(std::uint8_t b);
  void OnCommand(std::uint8_t c);
  // Queues bytes to become readable `delayMs` (scaled) from now, after
  // everything scheduled before them.
  void Send(std::vector<std::uint8_t> bytes, double delayMs = 0.0);
  void SendUnscaled(std::vector<std::uint8_t> bytes, double delayMs, bool late = false);
  void Release();
  void DropAnswers();

  Clock& clock_;
  OpticalBench& bench_;
  bool open_ = false;
  FtHandle handle_ = 0;
  std::uint32_t generation_ = 0;
  double timeScale_ = 1.0;
  std::uint32_t readTimeoutMs_ = 0;
  std::uint32_t writeTimeoutMs_ = 0;
  std::uint32_t usbInSize_ = 4096;

  SimFaults faults_;
  std::int64_t frameRequests_ = 0;
  bool gone_ = false;
  std::int64_t goneAtUs_ = 0;
  bool staleHandle_ = false;  // the open handle outlived an unplug

  Fw fw_ = Fw::Idle;
  std::uint8_t regNumber_ = 0;
  std::uint8_t regs_[kRegisters] = {0x78, 0xFE, 0x01, 0x00, 0x00, 0x00};

  std::deque<std::uint8_t> rx_;
  std::deque<Delivery> pending_;
  // Polls since the host last read: from the second on, it is waiting for more.
  int pollsSinceRead_ = 0;
};

}  // namespace rovanel::device::sim
