// Byte access to the registers of the first parallel port (base 888,
// 0x378), for the older acquisition box wired to it and the start of
// printing.
//
// Register and wire: the port's status register reads the BUSY line (bit 7)
// inverted, and its control register drives STROBE, AUTOFD and SELECT
// (bits 0, 1 and 3) inverted. ReadPort / WritePort deal in register bytes,
// exactly as a register access at 888..890 would; ParaReadStatus and
// ParaWriteControl undo the inversions, so that their callers deal in wire
// levels. Every backend therefore presents register bytes: the simulated
// box keeps its wire levels and converts at its registers, the ppdev
// backend converts from what the kernel hands over (see PpdevPort).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace rovanel::device {

inline constexpr std::uint16_t kParaBase = 888;
// Register bits that the port's hardware inverts between register and wire.
inline constexpr std::uint8_t kStatusWireXor = 0x80;   // BUSY
inline constexpr std::uint8_t kControlWireXor = 0x0B;  // STROBE, AUTOFD, SELECT
// LastError when a port operation finds the device closed (nothing called).
inline constexpr std::int32_t kPortNotOpen = 6;
// LastError for an address the backend does not serve.
inline constexpr std::int32_t kPortBadAddress = 22;
// LastError of the backend without a port, on open.
inline constexpr std::int32_t kPortNoDriver = 2;

// The port-access component. Backends give open, close and one register
// read or write; the bookkeeping of Opened, LastOk and LastError is here.
class TSmallPort {
 public:
  virtual ~TSmallPort() = default;
  TSmallPort(const TSmallPort&) = delete;
  TSmallPort& operator=(const TSmallPort&) = delete;

  bool Opened() const { return opened_; }
  // true (re)opens the device (an open one is closed first), false closes
  // it. A failed open only leaves LastError set.
  void SetOpened(bool open);
  bool Open();
  void Close();

  // One register read; 0 when it fails.
  std::uint8_t ReadPort(std::uint16_t address);
  // One register write; a failure does nothing visible.
  void WritePort(std::uint16_t address, std::uint8_t value);

  // The last port operation succeeded.
  bool LastOk() const { return lastOk_; }
  // Error of the last failure: kPortNotOpen when the device was not open,
  // else the backend's code (an errno value for ppdev).
  std::int32_t LastError() const { return lastError_; }

  std::uint16_t ParaBase = kParaBase;

  // Data register.
  void ParaWriteData(std::uint8_t b) { WritePort(ParaBase, b); }
  // Status lines as on the wire: a failed read gives 0x80.
  std::uint8_t ParaReadStatus() { return ReadPort(ParaBase + 1) ^ kStatusWireXor; }
  // Control lines as on the wire.
  void ParaWriteControl(std::uint8_t b) { WritePort(ParaBase + 2, b ^ kControlWireXor); }

 protected:
  TSmallPort() = default;
  // Each returns 0 or an error code.
  virtual std::int32_t DoOpen() = 0;
  virtual void DoClose() = 0;
  virtual std::int32_t DoRead(std::uint16_t address, std::uint8_t& value) = 0;
  virtual std::int32_t DoWrite(std::uint16_t address, std::uint8_t value) = 0;

 private:
  void Fail(std::int32_t error);

  bool opened_ = false;
  bool lastOk_ = false;
  std::int32_t lastError_ = 0;
};

// No port-access driver: every open fails with kPortNoDriver, so every read
// gives 0 (ParaReadStatus 0x80) and every write is lost.
class NoPort final : public TSmallPort {
 protected:
  std::int32_t DoOpen() override { return kPortNoDriver; }
  void DoClose() override {}
  std::int32_t DoRead(std::uint16_t, std::uint8_t& value) override;
  std::int32_t DoWrite(std::uint16_t, std::uint8_t) override { return kPortNotOpen; }
};

// Linux user-space parallel port (ppdev): the port is claimed from open to
// close. Addresses ParaBase + 0 (data), + 1 (status, read only) and + 2
// (control) are served; others fail with kPortBadAddress. Only the four
// control lines reach the control register (the kernel keeps the interrupt
// and direction bits).
//
// PPRSTATUS, PPRCONTROL and PPWCONTROL: the kernel's parport layer passes
// the register bytes through unchanged (parport_pc reads and writes the
// registers as they are), so the wire inversions above still apply.
// The headers (linux/ppdev.h, linux/parport.h) only name the line bits and
// do not say; should a kernel hand over line levels instead, these two
// constants become kStatusWireXor and kControlWireXor.
inline constexpr std::uint8_t kPpdevStatusToRegister = 0x00;
inline constexpr std::uint8_t kPpdevControlToRegister = 0x00;

class PpdevPort final : public TSmallPort {
 public:
  explicit PpdevPort(std::string path = "/dev/parport0") : path_(std::move(path)) {}
  ~PpdevPort() override { Close(); }
  const std::string& Path() const { return path_; }

 protected:
  std::int32_t DoOpen() override;
  void DoClose() override;
  std::int32_t DoRead(std::uint16_t address, std::uint8_t& value) override;
  std::int32_t DoWrite(std::uint16_t address, std::uint8_t value) override;

 private:
  std::string path_;
  int fd_ = -1;
};

// Which port the program uses: "ppdev", "sim" or "none".
enum class PortKind { kPpdev, kSim, kNone };
std::optional<PortKind> PortKindFromName(std::string_view name);
std::string_view PortKindName(PortKind kind);

}  // namespace rovanel::device
