// Curve traces: how a run of 8-bit samples becomes pixels on the plot.
#pragma once

#include <cstddef>
#include <cstdint>

#include "display/canvas.h"

namespace rovanel::display {

enum class TraceStyle { Vecteurs, Pics, Points };

// Which samples a column shows: column x covers samples
// viewStart + x*zoomStep*stride + j, j = 0..zoomStep-1. stride is 4 for a
// stored curve shown beside the live one in real time, else 1.
struct TraceView {
  int viewStart = 0;
  int zoomStep = 4;
  int stride = 1;
  bool halfHeight = false;
};

// Row of a level: 255 - v at full height, 127 - v/2 at half height (upper half).
constexpr int RowOf(std::uint8_t v, bool halfHeight) {
  return halfHeight ? 127 - v / 2 : 255 - v;
}

// Sample index of column x, sub-sample j (64-bit: no overflow for any view).
constexpr long long SampleIndex(const TraceView& view, int x, int j) {
  return static_cast<long long>(view.viewStart) +
         static_cast<long long>(x) * view.zoomStep * view.stride + j;
}

// Draws one curve across the canvas width with the canvas' pen colour (and
// pen style for the joined styles):
//   Vecteurs: move to (0, y(viewStart)); line to (x, y(s(x,0))) for x = 1..W-1.
//   Pics:     move to (0, y(viewStart)); line to (x, y(s(x,j))) for x = 0..W-1, j = 0..zoomStep-1.
//   Points:   set pixel (x, y(s(x,j))) for every x and j.
// Samples outside 0..count-1 are never read: the trace stops at the first such
// index (indices only grow along the trace), so a view running past the data
// leaves the rest of the width empty; a viewStart outside the data draws
// nothing and leaves the pen where it was. zoomStep and stride below 1 count as 1.
void DrawTrace(Canvas& canvas, const std::uint8_t* samples, std::size_t count, TraceStyle style,
               const TraceView& view);

}  // namespace rovanel::display
