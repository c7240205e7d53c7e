// A picture of broad areas of colour enlarged smoothly (bilinear, as Qt's
// smooth image drawing does) onto device pixels. The bands under the plot
// have a few distinct rows: each is scaled across once and the rows between
// two of them blended, so a band costs about a copy of the pixels it covers
// instead of four reads and three blends a pixel, 49 times a second in the
// live view.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rovanel::display {

// Device pixels: columns left..left+width-1, rows top..top+height-1.
struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The pixels a rectangle of device coordinates fills when drawn without
// antialiasing: its edges rounded to the nearest pixel boundary, halves
// up, as Qt rounds them.
PixelRect CoveredPixels(double x, double y, double w, double h);

// Source pixels: `rows` rows of `width` 0xAARRGGBB pixels, a row every
// `stride` pixels.
struct PixelRows {
  const std::uint32_t* bits = nullptr;
  int width = 0, rows = 0;
  std::size_t stride = 0;
};

// The source stretched over the device rectangle (x, y, w, h), sampled at
// the centres of the pixels of `out`, each colour channel interpolated
// across and then down between its four nearest source pixels, with 8-bit
// weights, the edges repeated. `dest` is out's top left pixel, its rows
// `stride` pixels apart; `out` may be any part of the rectangle's pixels
// (a clip), each pixel comes out the same. False, and nothing written,
// when there is nothing to scale.
bool SmoothScale(const PixelRows& source, double x, double y, double w, double h,
                 const PixelRect& out, std::uint32_t* dest, std::size_t stride);

}  // namespace rovanel::display
