// The histogram band under a half-height plot: one grey bar per class of
// levels, its share of the visible samples written above it in percent.
#pragma once

#include "display/canvas.h"
#include "signal/histogram.h"

namespace rovanel::display {

inline constexpr int kBandWidth = 512;
inline constexpr int kBandHeight = 127;
// Plot row of the band's top row.
inline constexpr int kBandTop = 129;

// The band picture, kBandWidth x kBandHeight, white, with for each class
// c < classCount of width w, bar height hc and label lc, in this order:
//   brush grey (c*w, c*w, c*w) over the rectangle (2cw, 127) - (2w(c+1), 127 - hc),
//     that is columns 2cw .. 2w(c+1) - 1, rows 127 - hc .. 126;
//   a black line from (2cw, 127 - hc) to (2w(c+1), 127 - hc), end pixel not drawn;
//   "<lc>%" in black at (2cw, 117 - hc) in `font` on a white cell.
// A later class paints over what an earlier label overhangs into its columns.
Canvas HistogramBandPicture(const signal::Histogram& h, const Font& font);

// Copies the band picture onto `drawBitmap` at (0, kBandTop). The pen and
// brush of `drawBitmap` are unchanged.
void DrawHistogramBand(Canvas& drawBitmap, const signal::Histogram& h, const Font& font);

}  // namespace rovanel::display
