// Single acquisition: one sensor frame into a curve slot, and the sum
// used to average several frames.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/sizes.h"
#include "device/board.h"

namespace rovanel::acquisition {

// Reads one frame with ReadFrame and copies pixels 0..2047 into `slot` as
// bytes. After a failure the slot holds what the temporary array received
// (zeros where nothing was written). Returns the protocol's status.
device::Status AcquireFrame(device::Board& board, std::span<std::uint8_t, kPixels> slot);

// What one acquisition met on the link, for the status bar.
struct AcquisitionReport {
  bool reconnectTried = false;  // the box was not identified: Connect ran
  device::Status reconnect = 0;
  int frames = 0;  // frames asked for
  int failed = 0;  // of which did not arrive whole
  device::Status firstFailure = 0;

  // Counts one frame's status.
  void Frame(device::Status s);
};

// Nearest integer to sum / n, halves to the even neighbour (n > 0).
std::int64_t RoundedMean(std::int64_t sum, std::int64_t n);

// The averaging buffer: 2048 signed 32-bit sums, held only while an
// averaging run lasts.
class FrameSum {
 public:
  void Start(std::span<const std::uint8_t, kPixels> frame);
  // Adds a frame; the first one added starts the sums.
  void Add(std::span<const std::uint8_t, kPixels> frame);
  // Writes the rounded mean of the frames added so far.
  void AverageInto(std::span<std::uint8_t, kPixels> out) const;
  int Count() const { return count_; }
  bool Held() const { return !sums_.empty(); }
  void Release();

 private:
  std::vector<std::int32_t> sums_;
  int count_ = 0;
};

}  // namespace rovanel::acquisition
