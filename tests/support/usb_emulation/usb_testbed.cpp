#include "support/usb_emulation/usb_testbed.h"

#include <link.h>
#include <linux/capability.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <umockdev.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "device/clock.h"

namespace rovanel::support::usb {

namespace {

constexpr char kPreload[] = "libumockdev-preload.so.0";
constexpr char kReexecMark[] = "ROVANEL_UMOCKDEV_REEXEC";

int FindPreload(dl_phdr_info* info, std::size_t, void* found) {
  if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "libumockdev-preload") != nullptr)
    *static_cast<bool*>(found) = true;
  return 0;
}

std::int64_t Now() {
  return device::RealClock().NowUs();
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string s;
  char b[3];
  for (std::uint8_t x : bytes) {
    std::snprintf(b, sizeof b, "%02x", x);
    s += b;
  }
  return s;
}

// Device and configuration descriptors of an FT232R: one vendor-specific
// interface with bulk IN 0x81 and bulk OUT 0x02, 64-byte packets.
std::vector<std::uint8_t> Descriptors(UsbIds ids) {
  const auto lo = [](int v) { return static_cast<std::uint8_t>(v & 0xFF); };
  const auto hi = [](int v) { return static_cast<std::uint8_t>(v >> 8); };
  // clang-format off
  return {18, 1, 0x00, 0x02, 0, 0, 0, 8, lo(ids.vendor), hi(ids.vendor),
          lo(ids.product), hi(ids.product), 0x00, 0x06, 1, 2, 3, 1,
          9, 2, 32, 0, 1, 1, 0, 0xA0, 45,
          9, 4, 0, 0, 2, 0xFF, 0xFF, 0xFF, 2,
          7, 5, 0x81, 2, 64, 0, 0,
          7, 5, 0x02, 2, 64, 0, 0};
  // clang-format on
}

}  // namespace

// ---- the preload ----

bool Preloaded() {
  bool found = false;
  dl_iterate_phdr(FindPreload, &found);
  return found;
}

std::string UnavailableReason() {
  if (!Preloaded())
    return std::string("umockdev's preload library ") + kPreload +
           " is not loaded (Debian packages umockdev and libumockdev-dev)";
  return "";
}

void RunUnderPreload(int, char** argv) {
  if (Preloaded() || std::getenv(kReexecMark) != nullptr) return;
  const char* old = std::getenv("LD_PRELOAD");
  std::string preload = kPreload;
  if (old != nullptr && *old != '\0') preload += std::string(":") + old;
  ::setenv("LD_PRELOAD", preload.c_str(), 1);
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizer's runtime then comes after the preload in the library order.
  const char* asan = std::getenv("ASAN_OPTIONS");
  std::string options = asan != nullptr && *asan != '\0' ? std::string(asan) + ":" : "";
  ::setenv("ASAN_OPTIONS", (options + "verify_asan_link_order=0").c_str(), 1);
#endif
  ::setenv(kReexecMark, "1", 1);
  ::execv("/proc/self/exe", argv);
}

bool WithoutFileAccessRights(const std::function<void()>& fn) {
  if (::geteuid() != 0) {
    fn();
    return true;
  }
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct caps[2]{};
  if (::syscall(SYS_capget, &header, caps) != 0) return false;
  const __user_cap_data_struct saved[2] = {caps[0], caps[1]};
  caps[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  // Capabilities belong to the thread: only this one loses them.
  if (::syscall(SYS_capset, &header, caps) != 0) return false;
  fn();
  __user_cap_data_struct back[2] = {saved[0], saved[1]};
  ::syscall(SYS_capset, &header, back);
  return true;
}

// ---- one plugged device ----

// One device node (one plug): its handles die with it.
struct Node {
  struct UsbTestbed::Impl* bed = nullptr;
  struct PortState* port = nullptr;
  bool gone = false;
};

struct PortState {
  std::unique_ptr<Ft232r> chip;
  UsbIds ids;
  int devnum = 0;
  std::string syspath, devnode;
  bool plugged = false;
  bool refused = false;
  Node* node = nullptr;
  // Guarded by the testbed's URB lock.
  std::map<UMockdevIoctlClient*, std::deque<UMockdevIoctlData*>> done;
  int claims = 0, releases = 0;
  bool claimed = false;
};

struct UsbTestbed::Impl {
  UMockdevTestbed* bed = nullptr;
  std::string root;
  std::mutex plugLock;  // testbed changes
  std::mutex urbLock;   // the ports' URB queues and counters
  std::vector<std::unique_ptr<PortState>> ports;
  std::vector<std::unique_ptr<Node>> nodes;
  std::vector<UMockdevIoctlBase*> handlers;
  int nextDevnum = 2;

  // Unplugs and replugs due later, run by their own thread.
  std::mutex laterLock;
  std::condition_variable laterCv;
  std::multimap<std::int64_t, std::function<void()>> later;
  int running = 0;
  bool stop = false;
  std::thread laterThread;

  PortState& Of(Ft232r& chip) {
    for (auto& p : ports)
      if (p->chip.get() == &chip) return *p;
    std::abort();
  }
  void Attach(PortState& port);
  void Remove(PortState& port);
  void Replug(PortState& port);
  void Later(std::int64_t atUs, std::function<void()> action);
  void RunLater();
  void ApplyMode(PortState& port) {
    ::chmod((root + port.devnode).c_str(), port.refused ? 0 : 0644);
  }
};

namespace {

void Complete(UMockdevIoctlClient* client, long result, int error = 0) {
  umockdev_ioctl_client_complete(client, result, error);
}

// The URB's transfer, done at once; false when the device is gone.
bool Transfer(Ft232r& chip, usbdevfs_urb& urb, std::uint8_t* buffer) {
  if (urb.type == USBDEVFS_URB_TYPE_CONTROL) {
    const int n = chip.Control(buffer, buffer + 8, urb.buffer_length - 8);
    urb.status = n < 0 ? -EPIPE : 0;
    urb.actual_length = n < 0 ? 0 : n;
    return true;
  }
  if (urb.endpoint & 0x80) {
    const int n = chip.BulkIn(buffer, urb.buffer_length);
    if (n < 0) return false;
    urb.actual_length = n;
  } else {
    chip.BulkOut(buffer, urb.buffer_length);
    urb.actual_length = urb.buffer_length;
  }
  urb.status = 0;
  return true;
}

gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
  Node& node = *static_cast<Node*>(data);
  PortState& port = *node.port;
  const gulong request = umockdev_ioctl_client_get_request(client);
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  GError* error = nullptr;
  // Gone: what was done can still be reaped (nothing is left in flight,
  // which libusb would wait for: a regular file never polls as hung up),
  // everything else fails as on a disconnected device.
  const bool reap = request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY;
  if (!reap && (node.gone || port.chip->Gone())) {
    Complete(client, -1, ENODEV);
    return TRUE;
  }
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(std::uint32_t), &error);
      const std::uint32_t value = USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM;
      std::memcpy(caps->data, &value, sizeof value);
      g_object_unref(caps);
      Complete(client, 0);
      return TRUE;
    }
    case USBDEVFS_GETDRIVER:
    case USBDEVFS_IOCTL:  // no kernel driver to detach or give back
      Complete(client, -1, ENODATA);
      return TRUE;
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM:  // nothing to disconnect: a claim
    case USBDEVFS_RELEASEINTERFACE: {
      std::lock_guard lock(node.bed->urbLock);
      port.claimed = request != USBDEVFS_RELEASEINTERFACE;
      ++(port.claimed ? port.claims : port.releases);
      Complete(client, 0);
      return TRUE;
    }
    case USBDEVFS_SETCONFIGURATION:
    case USBDEVFS_SETINTERFACE:
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESET:
      Complete(client, 0);
      return TRUE;
    case USBDEVFS_SUBMITURB: {
      UMockdevIoctlData* urbData =
          umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), &error);
      auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
      UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(
          urbData, offsetof(usbdevfs_urb, buffer), static_cast<gsize>(urb->buffer_length), &error);
      urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
      const bool ok = Transfer(*port.chip, *urb, buffer->data);
      g_object_unref(buffer);
      if (!ok) {
        g_object_unref(urbData);
        Complete(client, -1, ENODEV);
        return TRUE;
      }
      {
        std::lock_guard lock(node.bed->urbLock);
        port.done[client].push_back(urbData);
      }
      Complete(client, 0);
      return TRUE;
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
      UMockdevIoctlData* urbData = nullptr;
      {
        std::lock_guard lock(node.bed->urbLock);
        auto& queue = port.done[client];
        if (!queue.empty()) {
          urbData = queue.front();
          queue.pop_front();
        }
      }
      if (urbData == nullptr) {
        Complete(client, -1, node.gone || port.chip->Gone() ? ENODEV : EAGAIN);
        return TRUE;
      }
      UMockdevIoctlData* where = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), &error);
      umockdev_ioctl_data_set_ptr(where, 0, urbData);
      g_object_unref(where);
      g_object_unref(urbData);
      Complete(client, 0);
      return TRUE;
    }
    case USBDEVFS_DISCARDURB:  // every URB is done already
      Complete(client, -1, EINVAL);
      return TRUE;
    default:
      std::fprintf(stderr, "emulated FT232R: ioctl 0x%lx not emulated\n", request);
      Complete(client, -1, ENOTTY);
      return TRUE;
  }
}

void OnVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
  Node& node = *static_cast<Node*>(data);
  std::lock_guard lock(node.bed->urbLock);
  auto it = node.port->done.find(client);
  if (it == node.port->done.end()) return;
  for (UMockdevIoctlData* d : it->second) g_object_unref(d);
  node.port->done.erase(it);
}

}  // namespace

void UsbTestbed::Impl::Attach(PortState& port) {
  port.devnum = nextDevnum++;
  char devnode[64], syspath[96];
  std::snprintf(devnode, sizeof devnode, "/dev/bus/usb/001/%03d", port.devnum);
  std::snprintf(syspath, sizeof syspath, "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-%d",
                port.devnum);
  port.devnode = devnode;
  port.syspath = syspath;

  auto node = std::make_unique<Node>();
  node->bed = this;
  node->port = &port;
  port.node = node.get();
  UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
  g_signal_connect(handler, "handle-ioctl", G_CALLBACK(OnIoctl), node.get());
  g_signal_connect(handler, "client-vanished", G_CALLBACK(OnVanished), node.get());
  nodes.push_back(std::move(node));
  handlers.push_back(handler);
  GError* error = nullptr;
  if (!umockdev_testbed_attach_ioctl(bed, devnode, handler, &error)) {
    std::fprintf(stderr, "emulated FT232R: %s\n", error->message);
    std::abort();
  }

  const ChipStrings& s = port.chip->Strings();
  char ids[64];
  std::snprintf(ids, sizeof ids, "A: idVendor=%04x\nA: idProduct=%04x\n", port.ids.vendor,
                port.ids.product);
  const std::string text =
      std::string("P: ") + (syspath + 4) + "\nN: " + (devnode + 5) + "\nE: DEVNAME=" + devnode +
      "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\nE: BUSNUM=001\nE: DEVNUM=" + (devnode + 17) +
      "\nA: busnum=1\nA: devnum=" + std::to_string(port.devnum) +
      "\nA: speed=12\nA: bConfigurationValue=1\n" + ids + "A: manufacturer=" + s.manufacturer +
      "\nA: product=" + s.product + "\nA: serial=" + s.serial +
      "\nH: descriptors=" + Hex(Descriptors(port.ids)) + "\n";
  if (!umockdev_testbed_add_from_string(bed, text.c_str(), &error)) {
    std::fprintf(stderr, "emulated FT232R: %s\n", error->message);
    std::abort();
  }
  ApplyMode(port);
  port.plugged = true;
}

void UsbTestbed::Impl::Remove(PortState& port) {
  if (!port.plugged) return;
  port.node->gone = true;
  // This version of umockdev sends no event on removal: say it first.
  umockdev_testbed_uevent(bed, port.syspath.c_str(), "remove");
  umockdev_testbed_remove_device(bed, port.syspath.c_str());
  port.plugged = false;
}

void UsbTestbed::Impl::Replug(PortState& port) {
  Remove(port);
  port.chip->PowerUp();
  Attach(port);
}

void UsbTestbed::Impl::Later(std::int64_t atUs, std::function<void()> action) {
  std::lock_guard lock(laterLock);
  later.emplace(atUs, std::move(action));
  laterCv.notify_all();
}

void UsbTestbed::Impl::RunLater() {
  std::unique_lock lock(laterLock);
  while (!stop) {
    if (later.empty()) {
      laterCv.wait(lock);
      continue;
    }
    const auto first = later.begin();
    const std::int64_t now = Now();
    if (first->first > now) {
      laterCv.wait_for(lock, std::chrono::microseconds(first->first - now));
      continue;
    }
    auto action = std::move(first->second);
    later.erase(first);
    ++running;
    lock.unlock();
    {
      std::lock_guard plug(plugLock);
      action();
    }
    lock.lock();
    --running;
    laterCv.notify_all();
  }
}

// ---- the testbed ----

UsbTestbed::UsbTestbed() : impl_(std::make_unique<Impl>()) {
  impl_->bed = umockdev_testbed_new();
  gchar* root = umockdev_testbed_get_root_dir(impl_->bed);
  impl_->root = root;
  g_free(root);
  impl_->laterThread = std::thread([this] { impl_->RunLater(); });
}

UsbTestbed::~UsbTestbed() {
  {
    std::lock_guard lock(impl_->laterLock);
    impl_->stop = true;
    impl_->laterCv.notify_all();
  }
  impl_->laterThread.join();
  for (auto& port : impl_->ports) impl_->Remove(*port);
  g_object_unref(impl_->bed);
  for (UMockdevIoctlBase* h : impl_->handlers) g_object_unref(h);
  for (auto& port : impl_->ports)
    for (auto& [client, queue] : port->done)
      for (UMockdevIoctlData* d : queue) g_object_unref(d);
}

Ft232r& UsbTestbed::Plug(std::unique_ptr<Firmware> firmware, ChipStrings strings, UsbIds ids) {
  std::lock_guard plug(impl_->plugLock);
  auto port = std::make_unique<PortState>();
  port->chip = std::make_unique<Ft232r>(std::move(firmware), std::move(strings));
  port->ids = ids;
  port->chip->PowerUp();
  impl_->Attach(*port);
  impl_->ports.push_back(std::move(port));
  return *impl_->ports.back()->chip;
}

void UsbTestbed::Unplug(Ft232r& chip) {
  std::lock_guard plug(impl_->plugLock);
  impl_->Remove(impl_->Of(chip));
}

void UsbTestbed::Replug(Ft232r& chip) {
  std::lock_guard plug(impl_->plugLock);
  impl_->Replug(impl_->Of(chip));
}

void UsbTestbed::UnplugAtByte(Ft232r& chip, std::uint64_t k, int replugMs) {
  PortState* port = &impl_->Of(chip);
  Impl* impl = impl_.get();
  chip.UnplugAtByte(k, [impl, port, replugMs] {
    impl->Later(Now(), [impl, port, replugMs] {
      impl->Remove(*port);
      if (replugMs >= 0)
        impl->Later(Now() + std::int64_t{replugMs} * 1000, [impl, port] { impl->Replug(*port); });
    });
  });
}

void UsbTestbed::Settle() {
  std::unique_lock lock(impl_->laterLock);
  impl_->laterCv.wait(lock, [this] { return impl_->later.empty() && impl_->running == 0; });
}

bool UsbTestbed::Plugged(Ft232r& chip) {
  std::lock_guard plug(impl_->plugLock);
  return impl_->Of(chip).plugged;
}

void UsbTestbed::RefuseOpen(Ft232r& chip, bool refuse) {
  std::lock_guard plug(impl_->plugLock);
  PortState& port = impl_->Of(chip);
  port.refused = refuse;
  if (port.plugged) impl_->ApplyMode(port);
}

int UsbTestbed::Claims(Ft232r& chip) {
  std::lock_guard lock(impl_->urbLock);
  return impl_->Of(chip).claims;
}

int UsbTestbed::Releases(Ft232r& chip) {
  std::lock_guard lock(impl_->urbLock);
  return impl_->Of(chip).releases;
}

bool UsbTestbed::Claimed(Ft232r& chip) {
  std::lock_guard lock(impl_->urbLock);
  return impl_->Of(chip).claimed;
}

}  // namespace rovanel::support::usb
