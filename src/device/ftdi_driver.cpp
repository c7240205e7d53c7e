#include "device/ftdi_driver.h"

#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <deque>
#include <map>
#include <vector>

namespace rovanel::device {

namespace {

// Latency timer after a reset: the chip flushes a short answer (an echo)
// after this many ms instead of the default 16.
constexpr unsigned char kLatencyMs = 2;
// The host queue stops draining the chip beyond this (the chip then holds
// the data back, as the D2XX driver's own buffer would).
constexpr std::size_t kMaxHostQueue = 1 << 22;
// libftdi's own transfer size until FT_SetUSBParameters sets one.
constexpr int kDefaultChunk = 4096;

// Payload of one bulk transfer of `chunk` bytes: every 64-byte packet
// starts with two modem status bytes.
int PayloadOf(int chunk) {
  return chunk - 2 * (chunk / 64);
}

// libusb takes 0 as "no time-out": a D2XX time-out of 0 must not block.
int UsbTimeout(std::uint32_t ms) {
  return static_cast<int>(std::clamp<std::uint32_t>(ms, 1, INT_MAX));
}

// ftdi_usb_open_desc_index's failure to open a device it found.
constexpr int kCannotOpen = -4;

// Open failures of ftdi_usb_open / ftdi_usb_open_desc_index.
Status OpenStatus(int rc) {
  switch (rc) {
    case -3:   // no such device
    case -12:  // device list unavailable
      return FT_DEVICE_NOT_FOUND;
    case kCannotOpen:  // permissions, or gone meanwhile
    case -5:           // cannot claim (in use)
      return FT_DEVICE_NOT_OPENED;
    default:
      return FT_IO_ERROR;
  }
}

// Whether a device with these ids is there but may not be opened by this
// user: libftdi says only that it could not open one.
bool AccessDenied(ftdi_context* ctx, const FtdiIds& ids) {
  ftdi_device_list* list = nullptr;
  if (ftdi_usb_find_all(ctx, &list, ids.vendor, ids.product) <= 0) return false;
  bool denied = false;
  for (ftdi_device_list* d = list; d != nullptr && !denied; d = d->next) {
    libusb_device_handle* h = nullptr;
    const int rc = libusb_open(d->dev, &h);
    if (rc == 0) libusb_close(h);
    denied = rc == LIBUSB_ERROR_ACCESS;
  }
  ftdi_list_free(&list);
  return denied;
}

class FtdiDriver final : public FtDriver {
 public:
  explicit FtdiDriver(FtdiIds ids) : ids_(ids) {}
  ~FtdiDriver() override {
    for (auto& [handle, dev] : devices_) {
      ftdi_usb_close(dev.ctx);
      ftdi_free(dev.ctx);
    }
  }

  Status FT_Open(int deviceIndex, FtHandle* handle) override {
    denied_ = false;
    if (handle == nullptr) return FT_INVALID_PARAMETER;
    if (deviceIndex < 0) return FT_DEVICE_NOT_FOUND;
    ftdi_context* ctx = ftdi_new();
    if (ctx == nullptr) return FT_DEVICE_NOT_FOUND;  // libusb unavailable
    // Give the port back to the kernel's serial driver on close.
    ctx->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
    const char* description = ids_.description.empty() ? nullptr : ids_.description.c_str();
    const char* serial = ids_.serial.empty() ? nullptr : ids_.serial.c_str();
    const int rc = ftdi_usb_open_desc_index(ctx, ids_.vendor, ids_.product, description, serial,
                                            static_cast<unsigned>(deviceIndex));
    if (rc < 0) {
      denied_ = rc == kCannotOpen && AccessDenied(ctx, ids_);
      ftdi_free(ctx);
      return OpenStatus(rc);
    }
    const FtHandle h = next_++;
    devices_[h].ctx = ctx;
    *handle = h;
    return FT_OK;
  }

  Status FT_Close(FtHandle handle) override {
    auto it = devices_.find(handle);
    if (it == devices_.end()) return FT_INVALID_HANDLE;
    const int rc = ftdi_usb_close(it->second.ctx);
    ftdi_free(it->second.ctx);
    devices_.erase(it);
    return rc < 0 ? FT_IO_ERROR : FT_OK;
  }

  Status FT_ResetDevice(FtHandle handle) override {
    Device* dev = Find(handle);
    if (dev == nullptr) return FT_INVALID_HANDLE;
    dev->rx.clear();
    if (ftdi_usb_reset(dev->ctx) < 0) return FT_IO_ERROR;
    if (ftdi_set_latency_timer(dev->ctx, kLatencyMs) < 0) return FT_IO_ERROR;
    return FT_OK;
  }

  Status FT_Purge(FtHandle handle, std::uint32_t mask) override {
    Device* dev = Find(handle);
    if (dev == nullptr) return FT_INVALID_HANDLE;
    if (mask & FT_PURGE_RX) {
      dev->rx.clear();
      if (ftdi_tciflush(dev->ctx) < 0) return FT_IO_ERROR;
    }
    if (mask & FT_PURGE_TX) {
      if (ftdi_tcoflush(dev->ctx) < 0) return FT_IO_ERROR;
    }
    return FT_OK;
  }

  Status FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override {
    Device* dev = Find(handle);
    if (dev == nullptr) return FT_INVALID_HANDLE;
    dev->ctx->usb_read_timeout = UsbTimeout(readMs);
    dev->ctx->usb_write_timeout = UsbTimeout(writeMs);
    dev->readTimeoutMs = readMs;
    return FT_OK;
  }

  Status FT_SetUSBParameters(FtHandle handle, std::uint32_t inSize, std::uint32_t) override {
    Device* dev = Find(handle);
    if (dev == nullptr) return FT_INVALID_HANDLE;
    // The bridge takes IN transfer sizes of 64 bytes to 64 KiB in steps of 64.
    if (inSize < 64 || inSize > 65536 || inSize % 64 != 0) return FT_INVALID_PARAMETER;
    if (ftdi_read_data_set_chunksize(dev->ctx, inSize) < 0) return FT_IO_ERROR;
    dev->chunk = static_cast<int>(inSize);
    return FT_OK;
  }

  Status FT_Write(FtHandle handle, const void* buffer, std::uint32_t count,
                  std::uint32_t* written) override {
    if (written) *written = 0;
    Device* dev = Find(handle);
    if (dev == nullptr) return FT_INVALID_HANDLE;
    if (buffer == nullptr && count > 0) return FT_INVALID_PARAMETER;
    const int n = static_cast<int>(std::min<std::uint32_t>(count, INT_MAX));
    const int rc = ftdi_write_data(dev->ctx, static_cast<const unsigned char*>(buffer), n);
    if (rc < 0) return FT_IO_ERROR;
    if (written) *written = static_cast<std::uint32_t>(rc);
    return FT_OK;
  }

  // Serves from the host queue; waits up to the read time-out for the rest,
  // then hands back what there is (as the D2XX driver does).
  Status FT_Read(FtHandle handle, void* buffer, std::uint32_t count, std::uint32_t* got) override {
    if (got) *got = 0;
    Device* dev = Find(handle);
    if (dev == nullptr) return FT_INVALID_HANDLE;
    if (buffer == nullptr && count > 0) return FT_INVALID_PARAMETER;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(dev->readTimeoutMs);
    while (dev->rx.size() < count) {
      if (!Drain(*dev)) return FT_IO_ERROR;
      if (std::chrono::steady_clock::now() >= deadline) break;
    }
    const std::size_t n = std::min<std::size_t>(count, dev->rx.size());
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::copy_n(dev->rx.begin(), n, out);
    dev->rx.erase(dev->rx.begin(), dev->rx.begin() + static_cast<std::ptrdiff_t>(n));
    dev->grew = false;
    if (got) *got = static_cast<std::uint32_t>(n);
    return FT_OK;
  }

  Status FT_GetStatus(FtHandle handle, std::uint32_t* rxQueue, std::uint32_t* txQueue,
                      std::uint32_t* events) override {
    if (rxQueue) *rxQueue = 0;
    if (txQueue) *txQueue = 0;
    if (events) *events = 0;
    Device* dev = Find(handle);
    if (dev == nullptr) return FT_INVALID_HANDLE;
    // Each drain is a bulk transfer the chip may hold for its latency timer.
    // A poll that found new bytes is followed at once by another before the
    // read (the link checks the queue again, then reads): that one reports
    // the queue as it stands instead of costing another latency period.
    const bool justGrew = dev->grew && !dev->rx.empty();
    dev->grew = false;
    if (!justGrew) {
      const std::size_t before = dev->rx.size();
      if (!Drain(*dev)) return FT_IO_ERROR;
      dev->grew = dev->rx.size() > before;
    }
    if (rxQueue) *rxQueue = static_cast<std::uint32_t>(dev->rx.size());
    return FT_OK;
  }

  bool PollsCostTime() const override { return true; }
  bool OpenDenied() const override { return denied_; }

 private:
  struct Device {
    ftdi_context* ctx = nullptr;
    std::deque<std::uint8_t> rx;
    std::uint32_t readTimeoutMs = 5000;  // libftdi's default
    int chunk = kDefaultChunk;
    bool grew = false;  // the last status poll's drain brought bytes
  };

  Device* Find(FtHandle handle) {
    auto it = devices_.find(handle);
    return it == devices_.end() ? nullptr : &it->second;
  }

  // Moves what the chip holds into the host queue, one bulk transfer at
  // most (so a steady stream cannot hold a status poll past its time-out);
  // false on an I/O failure.
  bool Drain(Device& dev) {
    if (dev.rx.size() >= kMaxHostQueue) return true;
    const int payload = PayloadOf(dev.chunk);
    block_.resize(static_cast<std::size_t>(payload));
    const int rc = ftdi_read_data(dev.ctx, block_.data(), payload);
    if (rc < 0) return false;
    dev.rx.insert(dev.rx.end(), block_.begin(), block_.begin() + rc);
    return true;
  }

  FtdiIds ids_;
  std::map<FtHandle, Device> devices_;
  FtHandle next_ = 1;
  bool denied_ = false;
  std::vector<unsigned char> block_;
};

}  // namespace

std::unique_ptr<FtDriver> MakeFtdiDriver(FtdiIds ids) {
  return std::make_unique<FtdiDriver>(ids);
}

}  // namespace rovanel::device
