#include "device/port.h"

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace rovanel::device {

void TSmallPort::SetOpened(bool open) {
  if (open) {
    Open();
  } else {
    Close();
  }
}

bool TSmallPort::Open() {
  Close();
  lastError_ = 0;
  const std::int32_t e = DoOpen();
  if (e != 0) lastError_ = e;
  opened_ = e == 0;
  return opened_;
}

void TSmallPort::Close() {
  if (!opened_) return;
  DoClose();
  opened_ = false;
}

void TSmallPort::Fail(std::int32_t error) {
  lastOk_ = false;
  lastError_ = error;
}

std::uint8_t TSmallPort::ReadPort(std::uint16_t address) {
  if (!opened_) {
    Fail(kPortNotOpen);
    return 0;
  }
  std::uint8_t value = 0;
  const std::int32_t e = DoRead(address, value);
  if (e != 0) {
    Fail(e);
    return 0;
  }
  lastOk_ = true;
  return value;
}

void TSmallPort::WritePort(std::uint16_t address, std::uint8_t value) {
  if (!opened_) {
    Fail(kPortNotOpen);
    return;
  }
  const std::int32_t e = DoWrite(address, value);
  if (e != 0) {
    Fail(e);
    return;
  }
  lastOk_ = true;
}

std::int32_t NoPort::DoRead(std::uint16_t, std::uint8_t& value) {
  value = 0;
  return kPortNotOpen;
}

namespace {

// An ioctl, retried when a signal interrupts it; 0 or errno.
std::int32_t Ioctl(int fd, unsigned long request, void* arg) {
  for (;;) {
    if (ioctl(fd, request, arg) == 0) return 0;
    if (errno != EINTR) return errno;
  }
}

}  // namespace

std::int32_t PpdevPort::DoOpen() {
  const int fd = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return errno;
  const std::int32_t e = Ioctl(fd, PPCLAIM, nullptr);
  if (e != 0) {
    ::close(fd);
    return e;
  }
  fd_ = fd;
  return 0;
}

void PpdevPort::DoClose() {
  Ioctl(fd_, PPRELEASE, nullptr);
  ::close(fd_);
  fd_ = -1;
}

std::int32_t PpdevPort::DoRead(std::uint16_t address, std::uint8_t& value) {
  unsigned char b = 0;
  std::int32_t e = kPortBadAddress;
  if (address == ParaBase) {
    e = Ioctl(fd_, PPRDATA, &b);
  } else if (address == ParaBase + 1) {
    e = Ioctl(fd_, PPRSTATUS, &b);
    b ^= kPpdevStatusToRegister;
  } else if (address == ParaBase + 2) {
    e = Ioctl(fd_, PPRCONTROL, &b);
    b ^= kPpdevControlToRegister;
  }
  value = e == 0 ? b : 0;
  return e;
}

std::int32_t PpdevPort::DoWrite(std::uint16_t address, std::uint8_t value) {
  unsigned char b = value;
  if (address == ParaBase) return Ioctl(fd_, PPWDATA, &b);
  if (address == ParaBase + 2) {
    b ^= kPpdevControlToRegister;
    return Ioctl(fd_, PPWCONTROL, &b);
  }
  return kPortBadAddress;
}

namespace {

struct NamedKind {
  std::string_view name;
  PortKind kind;
};
constexpr NamedKind kKinds[] = {
    {"ppdev", PortKind::kPpdev}, {"sim", PortKind::kSim}, {"none", PortKind::kNone}};

}  // namespace

std::optional<PortKind> PortKindFromName(std::string_view name) {
  for (const auto& k : kKinds) {
    if (k.name == name) return k.kind;
  }
  return std::nullopt;
}

std::string_view PortKindName(PortKind kind) {
  for (const auto& k : kKinds) {
    if (k.kind == kind) return k.name;
  }
  return {};
}

}  // namespace rovanel::device
