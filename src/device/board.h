// The acquisition box's command protocol over the USB link: every exchange
// starts with the synchronisation pair, commands and acknowledgements are
// echoed byte by byte, frames and series come as blocks of inverted levels.
//
// Around the exchanges the board keeps the link healthy:
//  - only a device that answered GetBoardId is sent register writes or
//    frame and series requests; until then they are refused with
//    FT_DEVICE_NOT_OPENED and nothing is written;
//  - after a failed exchange both queues are purged and late bytes drained
//    before the next command, so one stray answer cannot shift every later
//    echo;
//  - a device that is gone (I/O error, invalid handle) is closed at once;
//    Connect opens and identifies it again;
//  - a command that meets a vanished device before any byte of its answer
//    (the box was unplugged and plugged in again since the last command, or
//    lost by an earlier one) closes it, opens and identifies the box again
//    once, and is repeated: the first command after a replug works;
//  - the integration time and sample count last asked for are sent again
//    before the next frame or series when their write failed, or when the
//    box was opened anew (it powers up with its own values).
#pragma once

#include <cstdint>
#include <span>

#include "base/sizes.h"
#include "device/d2xx.h"
#include "device/usb_link.h"

namespace rovanel::device {

inline constexpr std::uint8_t kSyncByte = 0xF0;
inline constexpr std::uint8_t kAckByte = 0x0F;
inline constexpr std::uint8_t kCmdIdentify = 0;
inline constexpr std::uint8_t kCmdWriteRegister = 4;
inline constexpr std::uint8_t kCmdReadFrame = 6;
inline constexpr std::uint8_t kCmdReadSeries = 8;

// Milliseconds of one integration count.
inline constexpr double kIntegrationTick = 0.0256;
// Integration time the box is assumed to run before the host sets one.
inline constexpr double kDefaultIntegrationMs = 10.0;

class Board {
 public:
  explicit Board(UsbLink& link);

  Status BoardOpen();
  // Register 5 := 0 if the box was identified, then the link is closed
  // whatever that write returned.
  Status BoardClose();
  // BoardOpen, a pause of settleMs, GetBoardId. A device that does not
  // identify is closed again. 0 once the box is identified.
  // `opened` (if given) tells whether a device was opened at all.
  Status Connect(std::int64_t settleMs = kSettleMs, bool* opened = nullptr);
  Status GetBoardId(std::int32_t& id);
  // Registers 1 and 0 from ms. Times whose count does not fit the 16-bit
  // register (or are not finite) are refused with FT_INVALID_PARAMETER.
  Status SetIntegrationTime(double ms);
  // Registers 2, 3, 4 from n + 1; n must be 0..0xFFFFFE (24-bit register).
  Status SetNbSamples(std::int32_t n);
  // Writes dest[0..2047]; a shorter dest is refused with FT_INVALID_PARAMETER.
  Status ReadFrame(std::span<std::uint16_t> dest);
  // ReadFrame in two halves, for the live view: StartFrame sends the frame
  // request (the box starts integrating), FinishFrame reads that frame's
  // block and acknowledges it, so the host works on the frame before while
  // the box integrates. On the wire it is ReadFrame's exchange. Every other
  // operation first finishes a started frame and drops it, so no exchange
  // ever interleaves with another.
  Status StartFrame();
  // The started frame into dest; ReadFrame when none was started.
  Status FinishFrame(std::span<std::uint16_t> dest);
  // A started frame read to its end and dropped (the live view stops).
  void DropStartedFrame();
  bool FrameStarted() const { return frameStarted_; }
  // Writes dest[0..n-1]; n < 0, or a dest shorter than n, is refused with
  // FT_INVALID_PARAMETER.
  Status ReadSamples(std::span<std::uint16_t> dest, std::int32_t n);
  Status SendAndCheck(std::uint8_t b, std::uint8_t expected);
  Status SendCommand(std::uint8_t c);
  Status WriteRegister(std::uint8_t reg, std::uint8_t value);

  // 65535 - nearest(ms / 0.0256), halves to even; clamped to 32 bits.
  static std::int32_t IntegrationCount(double ms);
  // Silence allowed before a series of `samples` starts to arrive.
  static std::int64_t SeriesAllowanceMs(std::int64_t samples, double integrationMs);

  UsbLink& Link();

  // What the box was last told (successful writes only).
  double IntegrationMs() const { return integrationMs_; }
  std::int32_t SampleCount() const { return sampleCount_; }

  // The device answered GetBoardId since the link was opened.
  bool Identified() const { return identified_ && link_.UsbOpened; }
  // A failed exchange left the link to be purged before the next command.
  bool ResyncPending() const { return resyncPending_; }
  // Times a command opened and identified the box again on its own.
  int Reconnects() const { return reconnects_; }
  // Purges done and bytes dropped by them so far.
  int Resyncs() const { return resyncs_; }
  std::uint64_t DroppedBytes() const { return droppedBytes_; }

  // Pause between opening and identifying (the box settles).
  static constexpr std::int64_t kSettleMs = 300;
  // Drain after a failure: until quiet for a read time-out (an answer
  // still on its way has had that long to come), at most this long.
  static constexpr std::int64_t kDrainQuietMs = kUsbTimeoutMs;
  static constexpr std::int64_t kDrainLimitMs = 4 * kUsbTimeoutMs;
  // Statuses that mean the device is gone rather than late or confused.
  static bool DeviceGone(Status s);

 private:
  // Checks before a command: an open, (if `needsId`) identified link,
  // purged after an earlier failure. Non-zero when the command must not go.
  Status Begin(bool needsId);
  // Notes a command's outcome: a failure asks for a purge, a lost device
  // closes the link. Returns s.
  Status End(Status s);
  void Resync();
  // Runs a command; when it meets a vanished device before any byte of its
  // answer, Connect once and run it again.
  template <class Command>
  Status Reconnecting(Command command);
  // Sends the integration time and sample count again where pending.
  Status Restore();
  Status WriteRegisterRaw(std::uint8_t reg, std::uint8_t value);
  Status ReadFrameOnce(std::span<std::uint16_t> dest);
  Status StartFrameOnce();
  // The block of a frame requested, its levels, the acknowledgement.
  Status CollectFrame(std::span<std::uint16_t> dest);
  Status ReadSamplesOnce(std::span<std::uint16_t> dest, std::int32_t n);
  Status SetIntegrationTimeRaw(double ms);
  Status SetNbSamplesRaw(std::int32_t n);
  void LinkOpened();

  UsbLink& link_;
  double integrationMs_ = kDefaultIntegrationMs;
  std::int32_t sampleCount_ = 0;
  // What the program asked for last, and whether the box may not have it.
  double wantedIntegrationMs_ = kDefaultIntegrationMs;
  bool integrationPending_ = false;
  std::int32_t wantedSamples_ = -1;  // none asked for yet
  bool samplesPending_ = false;
  bool identified_ = false;
  bool frameStarted_ = false;
  // The link was closed because the device had gone.
  bool lost_ = false;
  int reconnects_ = 0;
  bool resyncPending_ = false;
  int resyncs_ = 0;
  std::uint64_t droppedBytes_ = 0;
};

}  // namespace rovanel::device
