// Axis-aligned strokes (grid lines, the frame) blended straight into device
// pixels by the area of each pixel they cover, as an antialiasing rasteriser
// would: a stroke across a plot's height costs a few pixels a row instead
// of a pass of the rasteriser over every row it crosses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "display/smooth_scale.h"

namespace rovanel::display {

// A rectangle of device coordinates, edges left < right, top < bottom (or
// empty).
struct DeviceBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return !(right > left) || !(bottom > top); }
};

// Device pixels to write: `bits` is the pixel at (0, 0), rows `stride`
// pixels apart; only the pixels of `clip` are touched.
struct PixelTarget {
  std::uint32_t* bits = nullptr;
  std::size_t stride = 0;
  PixelRect clip;
};

// The pixels an ink covers: `outer` less `inner` (a frame; a bar when
// `inner` is empty). Whole device pixels it may touch.
PixelRect TouchedPixels(const DeviceBox& outer);

// `rgb` (0xRRGGBB) over each pixel by the area of it inside `outer` and
// outside `inner`, 8-bit coverage.
void BlendStroke(const PixelTarget& target, const DeviceBox& outer, const DeviceBox& inner,
                 std::uint32_t rgb);

}  // namespace rovanel::display
