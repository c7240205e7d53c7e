// The texts around the plot: the X scale of a screen column, the axis
// legends, the cursor read-outs and the fringe count between the cursors.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "signal/large_tab.h"

namespace rovanel::display {

struct ColumnScaleParams {
  std::string_view xUnit = "µm";  // "µm", "mm", "pix", "s", "Hz", "/m", "nm", ...
  int zoomStep = 4;
  bool realTime = false;
  // Michelson series: integration time of the sensitivity level (10 + 2.5 s
  // ms), rate divider minus one and FFT size.
  double integrationMs = 10.0;
  int rateDividerMinusOne = 0;
  int fftSize = 0;
};

// The X distance one screen column covers in xUnit, in single precision:
//   "µm"  56 in real time, else zoomStep*14
//   "mm"  0.056 in real time, else zoomStep*14/1000
//   "pix" 4 in real time, else zoomStep
//   "s"   zoomStep*integrationMs*(r+1)/1000
//   "Hz"  zoomStep*1000/F with F = fftSize*integrationMs*(r+1); 1 when F is 0
//   "/m"  17.438616 in real time, else zoomStep*1000000/28672
//   anything else ("nm" included): 1.
float ColumnScale(const ColumnScaleParams& p);

// The X legend for xUnit: "µm" -> "X  ( µm )", "mm" -> "X  ( mm )",
// "s" -> "X  ( s )", "pix" -> "X  ( n° )", "Hz" -> "X  ( Hz )",
// "/m" -> "X  ( 1/m )", "nm" -> "X  ( nm )"; any other unit keeps `current`.
std::string AffUniteXText(std::string_view xUnit, std::string_view current);
// The Y legend: "Ln ( Y )" for "ln", else "Y".
std::string AffUniteYText(std::string_view yScaleKind);

// The grid-pitch label for the pitch index 0..3: "200µm", "500µm", "1mm",
// "2mm"; any other index: empty.
std::string GridPitchLabel(int gridStepIndex);

// Three read-out texts: first cursor, second cursor, their difference.
struct Readouts {
  std::string first, second, delta;
};

struct VerticalReadoutParams {
  std::string_view xUnit = "µm";
  int viewStart = 0;
  int zoomStep = 4;
  bool realTime = false;
  float columnScale = 56.0f;  // ColumnScale() of the same state
  int cursorX1 = 100, cursorX2 = 300;
  std::span<const float> lambdaTab;  // wavelength of each sensor pixel, for "nm"
};

struct VerticalReadout {
  double x1 = 0, x2 = 0;
  Readouts texts;  // "X1 =%10.2f%s", "X2 =%10.2f%s", "|X1-X2| =%10.2f%s" with xUnit
};

// X of a cursor column: in "nm" the wavelength of pixel viewStart + x*m (m = 4
// in real time, else zoomStep; 0 for a pixel outside the table), otherwise
// (viewStart / zoomStep + x) * columnScale with real division.
VerticalReadout VerticalReadouts(const VerticalReadoutParams& p);

// Level in percent of full scale at a row: (255 - y) / 255 * 100, or
// (255 - 2y) / 255 * 100 in band mode.
double RowPercent(int y, bool bandMode);

// "Y1 = %5.0f%%", "Y2 = %5.0f%%", "|Y1-Y2| = %5.0f%%" of RowPercent of the rows.
Readouts HorizontalReadouts(int cursorY1, int cursorY2, bool bandMode);

struct FringeSpan {
  int viewStart = 0;
  int zoomStep = 4;
  int cursorX1 = 100, cursorX2 = 300;
};

// Samples a..b with a = (viewStart div zoomStep + cursorX1) * zoomStep and b
// likewise for cursorX2 (swapped so that a <= b): the number of them marked
// as a detected maximum (signal::kPeakMark), or -1 when b - a <= 4 (no count).
int CountFringes(const signal::TLargeTab& peakMarks, const FringeSpan& s);

}  // namespace rovanel::display
