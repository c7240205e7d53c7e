// The plot's grids, drawn with the canvas' current pen: the distance grid of
// the profile modes and the wavelength grid of spectrometry.
#pragma once

#include <array>
#include <span>

#include "display/canvas.h"

namespace rovanel::display {

struct GridParams {
  int viewStart = 0;      // sample at column 0
  int zoomStep = 4;       // samples per column (below 1 counts as 1)
  bool realTime = false;  // live view: 4 sensor pixels per column whatever zoomStep
  bool bandMode = false;  // curves in the upper half, a band below
  int gridStepUm = 500;   // pitch in µm; 0 or less: no vertical lines
};

// Rows of the six horizontal lines, top row last: 255, 204, 153, 102, 51, 0,
// or in band mode round(128 - 25.5 i): 128, 102, 77, 52, 26, 0.
std::array<int, 6> GridRows(bool bandMode);

// Horizontal lines (0, y) - (512, y) on GridRows. Vertical lines at whole
// multiples of the pitch in sensor coordinates (14 µm per pixel): with m
// pixels per column (4 in real time, else zoomStep), N = m*7168 div pitch and
// d = pitch / (14 m) columns, line j = 0..N at
// x = round(j*d + (1 - f)*d), f = frac(viewStart / (m*d)), from (x, 0) to
// (x, 256), or to (x, 128) in band mode. x is computed exactly, as
// round(((j + 1)*pitch - 14*viewStart mod pitch) / (14 m)), halves to even.
void DrawGrid(Canvas& canvas, const GridParams& p);

struct SpGridParams {
  int viewStart = 0;
  int zoomStep = 4;
  bool halfHeight = false;  // band mode
  bool realTime = false;    // 4 sensor pixels per column whatever zoomStep
};

// Spacing of the wavelength marks in nm.
inline constexpr int kSpGridStepNm = 30;

// Horizontal lines (0, y) - (511, y) on GridRows(halfHeight). Then marks every
// 30 nm from lambda0 = round(lambdaTab[0]): rising by 30 when lambdaTab[0] is
// below the table's last entry, else falling by 30, the first at
// lambda0 +- 30. For x = 0..511 with pixel p = viewStart + x*m (m as in
// DrawGrid), when the next mark lies strictly before lambdaTab[p] in the
// table's direction, a line (x, 0) - (x, 255), or (x, 127) at half height, is
// drawn and the mark moves on by 30: at most one line per column. Columns
// whose pixel is outside the table end the marks.
void MakeSPGrid(Canvas& canvas, std::span<const float> lambdaTab, const SpGridParams& p);

}  // namespace rovanel::display
