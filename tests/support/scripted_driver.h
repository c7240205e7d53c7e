// A scripted stand-in for the D2XX driver: records every call with its
// arguments, answers written bytes from a script, keeps a receive queue,
// and can be told to fail any call or to report a short write.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/d2xx.h"

namespace rovanel::support {

using device::FtHandle;
using device::Status;

class ScriptedDriver : public device::FtDriver {
 public:
  struct Call {
    std::string fn;                       // "FT_Open", "FT_Write", ...
    FtHandle handle = 0;                  // 0 for FT_Open
    std::array<std::uint64_t, 2> args{};  // index / mask / timeouts / sizes / count
    std::vector<std::uint8_t> data;       // bytes written or read
    Status status = 0;
  };

  // `clock` lets bytes arrive at chosen times (ArriveAt); may be null.
  explicit ScriptedDriver(device::Clock* clock = nullptr) : clock_(clock) {}

  // ---- script ----
  // The next written byte should be `expect`; when written, `reply` is
  // queued. Steps are consumed in order; a mismatch is noted in Mismatches.
  ScriptedDriver& Then(std::uint8_t expect, std::vector<std::uint8_t> reply = {});
  // After the script ends: answer each written byte (default: no answer).
  std::function<std::vector<std::uint8_t>(std::uint8_t)> OnWrite;
  // Every written byte is echoed back once the script is exhausted.
  void EchoAll();
  // Bytes queued now.
  void Queue(const std::vector<std::uint8_t>& bytes);
  // Bytes that join the queue once the clock reads >= atUs.
  void ArriveAt(std::int64_t atUs, std::vector<std::uint8_t> bytes);

  // ---- faults ----
  // Calls of `fn` return `status`: every call from now on when occurrence is
  // 0, else only the occurrence-th call (1-based, counted over all calls).
  void Fail(const std::string& fn, Status status, int occurrence = 0);
  void ClearFailures() { failures_.clear(); }
  // FT_Write reports `reported` bytes written (status 0, bytes not taken):
  // every write when occurrence is 0, else the occurrence-th write only.
  void ShortWrite(std::uint32_t reported, int occurrence = 0);
  bool pollsCostTime = false;
  // Runs at each status poll (a poll that takes time moves the clock).
  std::function<void()> OnStatus;
  FtHandle handleValue = 0x5150;

  // ---- record ----
  std::vector<Call> calls;
  std::vector<std::string> Mismatches;
  // All bytes taken by FT_Write, in order.
  std::vector<std::uint8_t> Written() const;
  // Names of the calls, optionally leaving out FT_GetStatus polls.
  std::vector<std::string> CallNames(bool withPolls = true) const;
  // Calls of `fn` recorded in `calls` (since it was last cleared).
  int Count(const std::string& fn) const;
  std::size_t QueueSize() const { return rx_.size(); }
  bool Opened() const { return opened_; }
  // FT_Write calls so far (what ShortWrite's occurrence counts).
  int Writes() const { return writes_; }
  bool ScriptDone() const { return script_.empty(); }

  // ---- FtDriver ----
  Status FT_Open(int deviceIndex, FtHandle* handle) override;
  Status FT_Close(FtHandle handle) override;
  Status FT_ResetDevice(FtHandle handle) override;
  Status FT_Purge(FtHandle handle, std::uint32_t mask) override;
  Status FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override;
  Status FT_SetUSBParameters(FtHandle handle, std::uint32_t inSize, std::uint32_t outSize) override;
  Status FT_Write(FtHandle handle, const void* buffer, std::uint32_t count,
                  std::uint32_t* written) override;
  Status FT_Read(FtHandle handle, void* buffer, std::uint32_t count, std::uint32_t* got) override;
  Status FT_GetStatus(FtHandle handle, std::uint32_t* rxQueue, std::uint32_t* txQueue,
                      std::uint32_t* events) override;
  bool PollsCostTime() const override { return pollsCostTime; }

 private:
  struct Step {
    std::uint8_t expect;
    std::vector<std::uint8_t> reply;
  };
  struct Failure {
    Status status;
    int occurrence;
  };
  // Records the call; returns the injected status or, if none, `normal`.
  Status Enter(const std::string& fn, FtHandle handle, std::uint64_t a0, std::uint64_t a1);
  Status HandleStatus(FtHandle handle) const;
  void Deliver();
  void Answer(std::uint8_t b);

  device::Clock* clock_;
  std::deque<Step> script_;
  std::deque<std::uint8_t> rx_;
  std::multimap<std::int64_t, std::vector<std::uint8_t>> timed_;
  std::map<std::string, std::vector<Failure>> failures_;
  std::map<std::string, int> counts_;
  std::vector<std::pair<std::uint32_t, int>> shortWrites_;
  int writes_ = 0;
  bool opened_ = false;
};

}  // namespace rovanel::support
