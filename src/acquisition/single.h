// Single acquisition: one sensor frame into a curve slot, and the sum
// used to average several frames.
#pragma once

#include <cstdint>
#include <vector>

#include "device/board.h"

namespace rovanel::acquisition {

inline constexpr int kFramePixels = 2048;
// The temporary word array a frame is read into (the block size).
inline constexpr int kFrameWords = 2100;

// Reads one frame with ReadFrame and copies pixels 0..2047 into `slot` as
// bytes. After a failure the slot holds what the temporary array received
// (zeros where nothing was written). Returns the protocol's status.
device::Status AcquireFrame(device::Board& board, std::uint8_t* slot);

// Nearest integer to sum / n, halves to the even neighbour (n > 0).
std::int64_t RoundedMean(std::int64_t sum, std::int64_t n);

// The averaging buffer: 2048 signed 32-bit sums, held only while an
// averaging run lasts.
class FrameSum {
 public:
  void Start(const std::uint8_t* frame);
  void Add(const std::uint8_t* frame);
  // Writes the rounded mean of the frames added so far.
  void AverageInto(std::uint8_t* out) const;
  int Count() const { return count_; }
  bool Held() const { return !sums_.empty(); }
  void Release();

 private:
  std::vector<std::int32_t> sums_;
  int count_ = 0;
};

}  // namespace rovanel::acquisition
