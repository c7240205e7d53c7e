// The USB link to the acquisition box: a call layer (one wrapper per D2XX
// call, failures handed to the error reporter) and a byte layer (open,
// close, one byte out, one byte in with a bounded wait, a block in).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/sizes.h"
#include "device/clock.h"
#include "device/d2xx.h"

namespace rovanel::device {

// Text the error reporter appends to the operation name; "" for 0.
std::string UsbErrorText(Status s);

// Polls of ReadByteUSB that may succeed; the next one ends the wait.
inline constexpr std::uint64_t kMaxBytePolls = 500000;
inline constexpr std::uint32_t kUsbTimeoutMs = 500;
inline constexpr std::uint32_t kUsbInTransferSize = 8192;

class UsbLink {
 public:
  UsbLink(FtDriver& driver, Clock& clock);

  // Call layer: a non-zero status is reported under the operation's name
  // and returned unchanged.
  Status Open_USB_Device();
  Status Close_USB_Device();
  Status Reset_USB_Device();
  Status Purge_USB_Device_TX();
  Status Purge_USB_Device_RX();
  Status Set_USB_Device_TimeOuts(std::uint32_t readMs, std::uint32_t writeMs);
  Status Set_USB_Parameters(std::uint32_t inSize, std::uint32_t outSize);
  // Sends UsbTxBuf[0..n-1]; `written` is handed back whatever the status.
  Status Write_USB_Device_Buffer(std::uint32_t n, std::uint32_t& written);
  // Reads n bytes into UsbRxBuf[0..n-1]. Fewer bytes than asked for (an
  // empty queue included) is kNoByte: the buffer's old bytes are never
  // handed on as new ones. n = 0 reads nothing and succeeds.
  Status Read_USB_Device_Buffer(std::uint32_t n);
  Status WaitForReadingUSB(bool& ready);
  // Polls until n bytes are queued. Ends with kNoByte once the queue has not
  // grown for longer than the read time-out (plus allowanceMs before the
  // first new byte).
  Status WaitForNbData(std::uint32_t n, std::int64_t allowanceMs = 0);
  void ShowUsbError(const std::string& name, Status status);

  // Byte layer.
  Status OpenUSB();
  void CloseUSB();
  // The write's failure status, else kShortWrite unless one byte went.
  Status WriteByteUSB(std::uint8_t b);
  Status ReadByteUSB(std::uint8_t& b);
  Status ReadNbDataUSB(std::uint32_t n, std::int64_t allowanceMs = 0);
  // Reads and drops whatever arrives until the receive queue has stayed
  // empty for quietMs, or limitMs have passed. Returns the first failing
  // driver status, else 0; `dropped` counts the bytes thrown away.
  Status DrainUSB(std::int64_t quietMs, std::int64_t limitMs, std::uint64_t& dropped);

  FtDriver& Driver() { return driver_; }
  Clock& ClockSource() { return clock_; }

  // Module state, public on purpose (tests and reporters look at it).
  FtHandle UsbHandle = 0;
  bool UsbOpened = false;
  bool ShowUsbErrors = false;
  std::array<std::uint8_t, kUsbBufferSize> UsbTxBuf{}, UsbRxBuf{};
  // Shows an error message box (one OK button); may be empty.
  std::function<void(const std::string&)> ErrorBox;
  // The last failing status of a driver call, kept even where the byte
  // layer passes on another (a failed poll in a byte wait gives kNoByte):
  // tells a device that is gone from a byte that is late. 0 when none
  // since the caller last cleared it.
  Status DriverFailure = FT_OK;
  // Bytes of answers read so far (drained bytes not counted): tells a
  // command that met a failure before any answer from one that failed on the way.
  std::uint64_t BytesRead = 0;
  // Polls made by the last bounded wait (for tests).
  std::uint64_t LastPollCount = 0;
  // Called at the first poll of a block wait and about every 20 ms after
  // (a series being acquired): lets the window live; true gives the wait
  // up with kCancelled.
  std::function<bool()> WaitHook;
  // Read time-out last given to Set_USB_Device_TimeOuts; bounds the waits.
  std::uint32_t ReadTimeoutMs = kUsbTimeoutMs;

 private:
  FtDriver& driver_;
  Clock& clock_;
};

}  // namespace rovanel::device
