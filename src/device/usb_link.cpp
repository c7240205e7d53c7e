#include "device/usb_link.h"

#include <algorithm>

namespace rovanel::device {

std::string UsbErrorText(Status s) {
  switch (s) {
    case FT_OK:
      return "";
    case FT_INVALID_HANDLE:
      return " - Invalid Handle...";
    case FT_DEVICE_NOT_FOUND:
      return " - Device Not Found....";
    case FT_DEVICE_NOT_OPENED:
      return " - Device Not Opened...";
    case FT_IO_ERROR:
      return " - General IO Error...";
    case FT_INSUFFICIENT_RESOURCES:
      return " - Insufficient Resources...";
    case FT_INVALID_PARAMETER:
      return " - Invalid parameter...";
    default:
      return " - Unknown error...";
  }
}

UsbLink::UsbLink(FtDriver& driver, Clock& clock) : driver_(driver), clock_(clock) {}

void UsbLink::ShowUsbError(const std::string& name, Status status) {
  if (status != FT_OK) DriverFailure = status;
  if (!ShowUsbErrors || status == FT_OK || !ErrorBox) return;
  ErrorBox(name + UsbErrorText(status));
}

Status UsbLink::Open_USB_Device() {
  const Status s = driver_.FT_Open(0, &UsbHandle);
  if (s != FT_OK) ShowUsbError("FT_Open", s);
  return s;
}

Status UsbLink::Close_USB_Device() {
  const Status s = driver_.FT_Close(UsbHandle);
  if (s != FT_OK) ShowUsbError("FT_Close", s);
  return s;
}

Status UsbLink::Reset_USB_Device() {
  const Status s = driver_.FT_ResetDevice(UsbHandle);
  if (s != FT_OK) ShowUsbError("FT_ResetDevice", s);
  return s;
}

Status UsbLink::Purge_USB_Device_TX() {
  const Status s = driver_.FT_Purge(UsbHandle, FT_PURGE_TX);
  if (s != FT_OK) ShowUsbError("FT_Purge TX", s);
  return s;
}

Status UsbLink::Purge_USB_Device_RX() {
  const Status s = driver_.FT_Purge(UsbHandle, FT_PURGE_RX);
  if (s != FT_OK) ShowUsbError("FT_Purge RX", s);
  return s;
}

Status UsbLink::Set_USB_Device_TimeOuts(std::uint32_t readMs, std::uint32_t writeMs) {
  ReadTimeoutMs = readMs;
  const Status s = driver_.FT_SetTimeouts(UsbHandle, readMs, writeMs);
  if (s != FT_OK) ShowUsbError("FT_SetTimeouts", s);
  return s;
}

Status UsbLink::Set_USB_Parameters(std::uint32_t inSize, std::uint32_t outSize) {
  const Status s = driver_.FT_SetUSBParameters(UsbHandle, inSize, outSize);
  if (s != FT_OK) ShowUsbError("FT_SetUSBParameters", s);
  return s;
}

Status UsbLink::Write_USB_Device_Buffer(std::uint32_t n, std::uint32_t& written) {
  written = 0;
  // The transmit buffer is fixed; never let the driver read past it.
  Status s = n > UsbTxBuf.size() ? FT_INVALID_PARAMETER
                                 : driver_.FT_Write(UsbHandle, UsbTxBuf.data(), n, &written);
  if (s != FT_OK) ShowUsbError("Write_USB_Device_Buffer", s);
  return s;
}

Status UsbLink::Read_USB_Device_Buffer(std::uint32_t n) {
  if (n > UsbRxBuf.size()) {
    ShowUsbError("Read_USB_Device_Buffer", FT_INVALID_PARAMETER);
    return FT_INVALID_PARAMETER;
  }
  std::uint32_t rx = 0, tx = 0, events = 0;
  Status s = driver_.FT_GetStatus(UsbHandle, &rx, &tx, &events);
  if (s != FT_OK) {
    ShowUsbError("Read_USB_Device_Buffer", s);
    // The queue count of a failed poll means nothing: do not read on it.
    return s;
  }
  if (n == 0) return FT_OK;
  if (rx == 0) return kNoByte;
  std::uint32_t got = 0;
  s = driver_.FT_Read(UsbHandle, UsbRxBuf.data(), n, &got);
  if (s != FT_OK) {
    ShowUsbError("Read_USB_Device_Buffer", s);
    return s;
  }
  BytesRead += got;
  return got == n ? FT_OK : kNoByte;
}

Status UsbLink::WaitForReadingUSB(bool& ready) {
  std::uint32_t rx = 0, tx = 0, events = 0;
  const Status s = driver_.FT_GetStatus(UsbHandle, &rx, &tx, &events);
  ready = s == FT_OK && rx > 0;
  if (s != FT_OK) ShowUsbError("WaitForReadingUSB", s);
  return s;
}

Status UsbLink::WaitForNbData(std::uint32_t n, std::int64_t allowanceMs) {
  LastPollCount = 0;
  const std::int64_t silenceUs = static_cast<std::int64_t>(ReadTimeoutMs) * 1000;
  const std::int64_t firstUs = silenceUs + (allowanceMs > 0 ? allowanceMs * 1000 : 0);
  std::int64_t since = clock_.NowUs();
  bool grown = false;
  bool first = true;
  constexpr std::int64_t kHookIntervalUs = 20'000;
  std::int64_t lastHook = since;
  std::uint32_t last = 0;
  for (;;) {
    const std::int64_t pollStart = clock_.NowUs();
    // Before the first poll and every 20 ms after it: the window has its
    // turn while the box works, and a wait that ends in one long poll
    // (a driver that blocks until the bytes come) still gives it one.
    if (WaitHook && (LastPollCount == 0 || pollStart - lastHook >= kHookIntervalUs)) {
      lastHook = pollStart;
      if (WaitHook()) return kCancelled;
    }
    std::uint32_t rx = 0, tx = 0, events = 0;
    const Status s = driver_.FT_GetStatus(UsbHandle, &rx, &tx, &events);
    ++LastPollCount;
    if (s != FT_OK) {
      ShowUsbError("WaitForNbData", s);
      return s;
    }
    const std::int64_t now = clock_.NowUs();
    if (rx >= n) return FT_OK;
    if (first) {
      last = rx;
      first = false;
    } else if (rx > last) {
      last = rx;
      grown = true;
      since = now;
    } else if (rx < last) {
      last = rx;  // the queue was drained behind our back: track from here
    }
    if (now - since > (grown ? silenceUs : firstUs)) return kNoByte;
    clock_.PollPause(pollStart);
  }
}

Status UsbLink::OpenUSB() {
  if (!UsbOpened) {
    const Status s = Open_USB_Device();
    if (s != FT_OK) return s;
  }
  UsbOpened = true;
  Status s = Reset_USB_Device();
  if (s == FT_OK) s = Purge_USB_Device_TX();
  if (s == FT_OK) s = Purge_USB_Device_RX();
  if (s == FT_OK) s = Set_USB_Device_TimeOuts(kUsbTimeoutMs, kUsbTimeoutMs);
  if (s == FT_OK) s = Set_USB_Parameters(kUsbInTransferSize, 0);
  return s;
}

void UsbLink::CloseUSB() {
  if (!UsbOpened) return;
  Close_USB_Device();
  UsbOpened = false;
}

Status UsbLink::WriteByteUSB(std::uint8_t b) {
  UsbTxBuf[0] = b;
  std::uint32_t written = 0;
  const Status s = Write_USB_Device_Buffer(1, written);
  // A failed write says why (a device that is gone must be told from a
  // byte that merely did not go).
  if (s != FT_OK) return s;
  return written == 1 ? FT_OK : kShortWrite;
}

Status UsbLink::ReadByteUSB(std::uint8_t& b) {
  // Polls that take real time are bounded by the read time-out as well as
  // by their count (which would otherwise stand for minutes).
  const bool timed = driver_.PollsCostTime() || clock_.PausesTakeTime();
  const std::int64_t start = timed ? clock_.NowUs() : 0;
  const std::int64_t limitUs = static_cast<std::int64_t>(ReadTimeoutMs) * 1000;
  std::uint64_t polls = 0;
  Status wait = FT_OK;
  for (;;) {
    const std::int64_t pollStart = clock_.NowUs();
    ++polls;
    bool ready = false;
    const Status s = WaitForReadingUSB(ready);
    if (s != FT_OK) {
      wait = s;
      break;
    }
    if (polls > kMaxBytePolls) {
      wait = kNoByte;
      break;
    }
    if (ready) break;
    if (timed && clock_.NowUs() - start > limitUs) {
      wait = kNoByte;
      break;
    }
    clock_.PollPause(pollStart);
  }
  LastPollCount = polls;
  if (wait != FT_OK) return kNoByte;
  const Status s = Read_USB_Device_Buffer(1);
  if (s == FT_OK) b = UsbRxBuf[0];
  return s;
}

Status UsbLink::ReadNbDataUSB(std::uint32_t n, std::int64_t allowanceMs) {
  if (n > UsbRxBuf.size()) return FT_INVALID_PARAMETER;
  const Status s = WaitForNbData(n, allowanceMs);
  if (s != FT_OK) return s;
  return Read_USB_Device_Buffer(n);
}

Status UsbLink::DrainUSB(std::int64_t quietMs, std::int64_t limitMs, std::uint64_t& dropped) {
  dropped = 0;
  const std::int64_t start = clock_.NowUs();
  std::int64_t lastByte = start;
  for (;;) {
    std::uint32_t rx = 0, tx = 0, events = 0;
    const Status s = driver_.FT_GetStatus(UsbHandle, &rx, &tx, &events);
    if (s != FT_OK) return s;
    const std::int64_t now = clock_.NowUs();
    if (rx > 0) {
      std::uint32_t got = 0;
      const Status r = driver_.FT_Read(UsbHandle, UsbRxBuf.data(),
                                       std::min<std::uint32_t>(rx, kUsbBufferSize), &got);
      if (r != FT_OK) return r;
      dropped += got;
      lastByte = now;
    } else if (now - lastByte >= quietMs * 1000) {
      return FT_OK;
    }
    if (now - start >= limitMs * 1000) return FT_OK;
    // Late bytes come in their own time: no need to spin for them.
    if (rx == 0) clock_.SleepUntilUs(now + 1000);
  }
}

}  // namespace rovanel::device
