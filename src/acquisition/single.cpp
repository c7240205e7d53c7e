#include "acquisition/single.h"

#include <array>

namespace rovanel::acquisition {

device::Status AcquireFrame(device::Board& board, std::span<std::uint8_t, kPixels> slot) {
  std::array<std::uint16_t, kFrameBlockSize> words{};
  const device::Status status = board.ReadFrame(words);
  for (int i = 0; i < kPixels; ++i) slot[i] = static_cast<std::uint8_t>(words[i]);
  return status;
}

void AcquisitionReport::Frame(device::Status s) {
  ++frames;
  if (s == 0) return;
  ++failed;
  if (firstFailure == 0) firstFailure = s;
}

std::int64_t RoundedMean(std::int64_t sum, std::int64_t n) {
  std::int64_t q = sum / n;
  std::int64_t r = sum % n;
  if (r < 0) {  // floor division for negative sums
    q -= 1;
    r += n;
  }
  if (2 * r > n || (2 * r == n && (q & 1) != 0)) ++q;
  return q;
}

void FrameSum::Start(std::span<const std::uint8_t, kPixels> frame) {
  sums_.assign(frame.begin(), frame.end());
  count_ = 1;
}

void FrameSum::Add(std::span<const std::uint8_t, kPixels> frame) {
  if (sums_.empty()) {
    Start(frame);
    return;
  }
  for (int k = 0; k < kPixels; ++k) sums_[k] += frame[k];
  ++count_;
}

void FrameSum::AverageInto(std::span<std::uint8_t, kPixels> out) const {
  for (int k = 0; k < kPixels; ++k)
    out[k] = static_cast<std::uint8_t>(RoundedMean(sums_[k], count_));
}

void FrameSum::Release() {
  std::vector<std::int32_t>().swap(sums_);
  count_ = 0;
}

}  // namespace rovanel::acquisition
