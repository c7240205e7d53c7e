// The acquisition box's command protocol over the USB link: every exchange
// starts with the synchronisation pair, commands and acknowledgements are
// echoed byte by byte, frames and series come as blocks of inverted levels.
#pragma once

#include <cstdint>

#include "device/d2xx.h"
#include "device/usb_link.h"

namespace rovanel::device {

inline constexpr int kFrameBlockSize = 2100, kFrameLead = 39, kFramePixels = 2048;
inline constexpr std::int32_t kSeriesChunk = 32768;
inline constexpr std::int32_t kMaxSeriesSamples = 262145;

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
  Status BoardClose();
  Status GetBoardId(std::int32_t& id);
  // Registers 1 and 0 from ms. Times whose count does not fit the 16-bit
  // register (or are not finite) are refused with FT_INVALID_PARAMETER.
  Status SetIntegrationTime(double ms);
  // Registers 2, 3, 4 from n + 1; n must be 0..0xFFFFFE (24-bit register).
  Status SetNbSamples(std::int32_t n);
  // Writes dest[0..2047].
  Status ReadFrame(std::uint16_t* dest);
  // Writes dest[0..n-1]; n < 0 is refused with FT_INVALID_PARAMETER.
  Status ReadSamples(std::uint16_t* dest, std::int32_t n);
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

 private:
  UsbLink& link_;
  double integrationMs_ = kDefaultIntegrationMs;
  std::int32_t sampleCount_ = 0;
};

}  // namespace rovanel::device
