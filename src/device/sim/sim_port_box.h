// The simulated parallel-port box: the older acquisition box on the port,
// seen through the port's registers, reading its light from an OpticalBench
// and its time from an injectable Clock.
//
// The box watches the data lines and acts on their changes (writing the
// same byte again is no event, as on the wire):
//   11ss ssss   (0xC0 + code) sets the sensitivity level: level =
//               BitRev4[code & 15], integration time 10 + 2.5 * level ms;
//   0x10        announces a parameter byte, which is the next change:
//   abc0 rrrr   r bits 0..3 reversed in rrrr, r bit 4 in a, bit 5 in b,
//               c = 8192 points (else 4096). Each parameter byte (re)starts
//               a series: one sample every (r + 1) integration periods,
//               sample k stored when its period has ended, each as
//               255 - level into an 8192-byte memory (a 4096-point series
//               fills the first half; the rest keeps what it held);
//   001h xxxx   with bit 5 up, bit 4 is the read handshake: the status
//               lines 7..4 show the high nibble of the addressed byte while
//               bit 4 is down, its low nibble once bit 4 rises, and the
//               next byte's high nibble after bit 4 falls. A parameter byte
//               sets the address back to 0 (13-bit address, wraps).
// Status lines 3..0 are not driven and float high. Reads during a series
// give the samples stored so far and the memory's old content beyond.
// The control lines are kept but mean nothing to the box.
#pragma once

#include <array>
#include <cstdint>

#include "device/clock.h"
#include "device/port.h"
#include "device/sim/optical_bench.h"

namespace rovanel::device::sim {

class SimPortBox final : public TSmallPort {
 public:
  static constexpr int kMemory = 8192;
  static constexpr std::uint8_t kParamStrobe = 0x10;
  static constexpr std::uint8_t kReadLine = 0x20;
  static constexpr std::uint8_t kUndrivenStatus = 0x0F;
  // What the memory holds at power-up (dark, once inverted by the host).
  static constexpr std::uint8_t kPowerUpByte = 0xFF;

  SimPortBox(Clock& clock, OpticalBench& bench);
  ~SimPortBox() override { Close(); }

  // Wire levels as the box sees and drives them.
  std::uint8_t DataLines() const { return data_; }
  std::uint8_t ControlLines() const { return control_; }
  std::uint8_t StatusLines();

  int Level() const { return level_; }
  double IntegrationMs() const { return 10.0 + 2.5 * level_; }
  int RateCode() const { return rate_; }  // r, the rate divider minus one
  int Points() const { return points_; }
  std::int64_t SamplePeriodUs() const;
  // Parameter bytes received since power-up.
  int ParameterBytes() const { return paramBytes_; }
  // Samples of the current series stored so far (as of the clock now).
  int Stored();
  int Address() const { return address_; }
  // Byte k of the memory, as the box sends it (255 - level).
  std::uint8_t Memory(int k) const { return memory_[static_cast<std::size_t>(k)]; }

 protected:
  std::int32_t DoOpen() override { return 0; }
  void DoClose() override {}
  std::int32_t DoRead(std::uint16_t address, std::uint8_t& value) override;
  std::int32_t DoWrite(std::uint16_t address, std::uint8_t value) override;

 private:
  void OnData(std::uint8_t old, std::uint8_t now);
  void StartSeries(std::uint8_t param);
  // Stores the samples whose period has ended by now.
  void CatchUp();

  Clock& clock_;
  OpticalBench& bench_;
  std::uint8_t data_ = 0;
  std::uint8_t control_ = 0;
  bool awaitParam_ = false;
  int level_ = 0;
  int rate_ = 0;
  int points_ = 4096;
  int paramBytes_ = 0;
  bool series_ = false;
  std::int64_t startUs_ = 0;
  int stored_ = 0;
  int address_ = 0;
  bool lowNibble_ = false;
  std::array<std::uint8_t, kMemory> memory_;
};

}  // namespace rovanel::device::sim
