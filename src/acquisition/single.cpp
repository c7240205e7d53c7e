#include "acquisition/single.h"

#include <array>

namespace rovanel::acquisition {

device::Status AcquireFrame(device::Board& board, std::uint8_t* slot) {
  std::array<std::uint16_t, kFrameBlockSize> words{};
  const device::Status status = board.ReadFrame(words.data());
  for (int i = 0; i < kPixels; ++i) slot[i] = static_cast<std::uint8_t>(words[i]);
  return status;
}

void AcquisitionReport::Frame(device::Status s) {
  ++frames;
  if (s == 0) return;
  ++failed;
  if (firstFailure == 0) firstFailure = s;
}

std::string AcquisitionStatusText(const AcquisitionReport& r) {
  std::string text;
  if (r.reconnectTried) {
    if (r.reconnect != 0)
      return "No box answered (status " + std::to_string(r.reconnect) +
             "): the curve holds only what arrived.";
    text = "box reconnected";
  }
  if (r.failed == 0) return text;
  if (!text.empty()) text += "; ";
  const std::string status = " (status " + std::to_string(r.firstFailure) + ")";
  if (r.frames == 1)
    text += "The frame did not arrive whole" + status + ": the curve holds only what arrived.";
  else if (r.failed == r.frames)
    text += "None of the " + std::to_string(r.frames) + " frames arrived whole" + status +
            ": the curve holds only what arrived.";
  else
    text += std::to_string(r.failed) + " of the " + std::to_string(r.frames) + " frames failed" +
            status + ": the average is taken over the " + std::to_string(r.frames - r.failed) +
            " good ones.";
  return text;
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

void FrameSum::Start(const std::uint8_t* frame) {
  sums_.assign(frame, frame + kPixels);
  count_ = 1;
}

void FrameSum::Add(const std::uint8_t* frame) {
  if (sums_.empty()) {
    Start(frame);
    return;
  }
  for (int k = 0; k < kPixels; ++k) sums_[k] += frame[k];
  ++count_;
}

void FrameSum::AverageInto(std::uint8_t* out) const {
  for (int k = 0; k < kPixels; ++k)
    out[k] = static_cast<std::uint8_t>(RoundedMean(sums_[k], count_));
}

void FrameSum::Release() {
  std::vector<std::int32_t>().swap(sums_);
  count_ = 0;
}

}  // namespace rovanel::acquisition
