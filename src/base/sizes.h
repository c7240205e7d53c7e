// The sizes fixed by the sensor, the box's frames and series, and the USB
// link: every layer takes them from here.
#pragma once

#include <cstdint>

namespace rovanel {

// Sensor: 2048 pixels of 14 µm.
inline constexpr int kPixels = 2048;
inline constexpr double kPixelPitchUm = 14.0;

// One frame block from the box: 39 shielded readings, the pixels, 13 more.
inline constexpr int kFrameLead = 39;
inline constexpr int kFrameTrail = 13;
inline constexpr int kFrameBlockSize = kFrameLead + kPixels + kFrameTrail;  // 2100

// Series come in chunks of this many samples; the destination of a series
// read holds at most kMaxSeriesSamples words.
inline constexpr std::int32_t kSeriesChunk = 32768;
inline constexpr std::int32_t kMaxSeriesSamples = 262145;

// Transmit and receive buffers of the USB link.
inline constexpr std::uint32_t kUsbBufferSize = 32768;

static_assert(kFrameBlockSize == 2100);
static_assert(kSeriesChunk <= static_cast<std::int32_t>(kUsbBufferSize));

}  // namespace rovanel
