#include "support/scripted_driver.h"

#include <algorithm>
#include <cstdio>

namespace rovanel::support {

using namespace device;

ScriptedDriver& ScriptedDriver::Then(std::uint8_t expect, std::vector<std::uint8_t> reply) {
  script_.push_back({expect, std::move(reply)});
  return *this;
}

void ScriptedDriver::EchoAll() {
  OnWrite = [](std::uint8_t b) { return std::vector<std::uint8_t>{b}; };
}

void ScriptedDriver::Queue(const std::vector<std::uint8_t>& bytes) {
  rx_.insert(rx_.end(), bytes.begin(), bytes.end());
}

void ScriptedDriver::ArriveAt(std::int64_t atUs, std::vector<std::uint8_t> bytes) {
  timed_.emplace(atUs, std::move(bytes));
}

void ScriptedDriver::Fail(const std::string& fn, Status status, int occurrence) {
  failures_[fn].push_back({status, occurrence});
}

void ScriptedDriver::ShortWrite(std::uint32_t reported, int occurrence) {
  shortWrites_.push_back({reported, occurrence});
}

std::vector<std::uint8_t> ScriptedDriver::Written() const {
  std::vector<std::uint8_t> out;
  for (const Call& c : calls)
    if (c.fn == "FT_Write") out.insert(out.end(), c.data.begin(), c.data.end());
  return out;
}

std::vector<std::string> ScriptedDriver::CallNames(bool withPolls) const {
  std::vector<std::string> out;
  for (const Call& c : calls)
    if (withPolls || c.fn != "FT_GetStatus") out.push_back(c.fn);
  return out;
}

int ScriptedDriver::Count(const std::string& fn) const {
  int n = 0;
  for (const Call& c : calls) n += c.fn == fn;
  return n;
}

Status ScriptedDriver::Enter(const std::string& fn, FtHandle handle, std::uint64_t a0,
                             std::uint64_t a1) {
  const int n = ++counts_[fn];
  Call call;
  call.fn = fn;
  call.handle = handle;
  call.args = {a0, a1};
  Status s = FT_OK;
  bool injected = false;
  if (auto it = failures_.find(fn); it != failures_.end()) {
    for (const Failure& f : it->second) {
      if (f.occurrence == 0 || f.occurrence == n) {
        s = f.status;
        injected = true;
      }
    }
  }
  if (!injected && fn != "FT_Open") s = HandleStatus(handle);
  call.status = s;
  calls.push_back(std::move(call));
  return s;
}

Status ScriptedDriver::HandleStatus(FtHandle handle) const {
  return opened_ && handle == handleValue ? FT_OK : FT_INVALID_HANDLE;
}

void ScriptedDriver::Deliver() {
  if (clock_ == nullptr) return;
  const std::int64_t now = clock_->NowUs();
  while (!timed_.empty() && timed_.begin()->first <= now) {
    Queue(timed_.begin()->second);
    timed_.erase(timed_.begin());
  }
}

void ScriptedDriver::Answer(std::uint8_t b) {
  if (!script_.empty()) {
    Step step = std::move(script_.front());
    script_.pop_front();
    if (step.expect != b) {
      char text[64];
      std::snprintf(text, sizeof text, "wrote %02X where the script expected %02X", b, step.expect);
      Mismatches.push_back(text);
    }
    Queue(step.reply);
  } else if (OnWrite) {
    Queue(OnWrite(b));
  }
}

Status ScriptedDriver::FT_Open(int deviceIndex, FtHandle* handle) {
  const Status s = Enter("FT_Open", 0, static_cast<std::uint64_t>(deviceIndex), 0);
  if (s != FT_OK) return s;
  opened_ = true;
  *handle = handleValue;
  return s;
}

Status ScriptedDriver::FT_Close(FtHandle handle) {
  const Status s = Enter("FT_Close", handle, 0, 0);
  if (s == FT_OK) opened_ = false;
  return s;
}

Status ScriptedDriver::FT_ResetDevice(FtHandle handle) {
  return Enter("FT_ResetDevice", handle, 0, 0);
}

Status ScriptedDriver::FT_Purge(FtHandle handle, std::uint32_t mask) {
  const Status s = Enter("FT_Purge", handle, mask, 0);
  if (s == FT_OK && (mask & FT_PURGE_RX)) rx_.clear();
  return s;
}

Status ScriptedDriver::FT_SetTimeouts(FtHandle handle, std::uint32_t readMs,
                                      std::uint32_t writeMs) {
  return Enter("FT_SetTimeouts", handle, readMs, writeMs);
}

Status ScriptedDriver::FT_SetUSBParameters(FtHandle handle, std::uint32_t inSize,
                                           std::uint32_t outSize) {
  return Enter("FT_SetUSBParameters", handle, inSize, outSize);
}

Status ScriptedDriver::FT_Write(FtHandle handle, const void* buffer, std::uint32_t count,
                                std::uint32_t* written) {
  const Status s = Enter("FT_Write", handle, count, 0);
  ++writes_;
  *written = 0;
  for (const auto& [reported, occurrence] : shortWrites_) {
    if (occurrence == 0 || occurrence == writes_) {
      *written = reported;
      return s;
    }
  }
  if (s != FT_OK) return s;
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  calls.back().data.assign(bytes, bytes + count);
  for (std::uint32_t i = 0; i < count; ++i) Answer(bytes[i]);
  *written = count;
  return s;
}

Status ScriptedDriver::FT_Read(FtHandle handle, void* buffer, std::uint32_t count,
                               std::uint32_t* got) {
  const Status s = Enter("FT_Read", handle, count, 0);
  *got = 0;
  if (s != FT_OK) return s;
  Deliver();
  const std::size_t n = std::min<std::size_t>(count, rx_.size());
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::copy_n(rx_.begin(), n, out);
  rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(n));
  calls.back().data.assign(out, out + n);
  *got = static_cast<std::uint32_t>(n);
  return s;
}

Status ScriptedDriver::FT_GetStatus(FtHandle handle, std::uint32_t* rxQueue, std::uint32_t* txQueue,
                                    std::uint32_t* events) {
  const Status s = Enter("FT_GetStatus", handle, 0, 0);
  if (OnStatus) OnStatus();
  // The count is filled in even when the call fails, as a driver may leave
  // garbage there: callers must not trust it then.
  Deliver();
  *rxQueue = static_cast<std::uint32_t>(rx_.size());
  *txQueue = 0;
  *events = 0;
  return s;
}

}  // namespace rovanel::support
