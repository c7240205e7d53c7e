// The framed plot of a measurement drawn as vectors into a rectangle of any
// size: the band picture, the spectral fill, the grid and numbered axes,
// the curves, the cursors and peak marks, the frame and the curves' legend.
// The printed page and the window's scaled plot both draw through it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "display/print_page.h"

namespace rovanel::display {

// What the window adds to the page's plot.
struct PlotOptions {
  int xTicksWanted = 8;
  int yTicksWanted = 5;
  // Grid lines across the plot at the ticks; otherwise short ticks on the
  // frame only.
  bool gridLines = true;
  // The band mode: the curves, the Y axis and the peaks take the upper half
  // of the frame, and rows bandTop..bottom of `band` fill the lower half.
  bool upperHalf = false;
  const Canvas* band = nullptr;
  int bandTop = 128;
  // The legend of overlaid curves: shown for two curves or more, each with
  // its number, its colour and its name (the file it came from, or empty).
  bool legend = false;
  std::vector<std::string> names;
  // Curves denser than two samples a dot drawn as one bar a dot, from the
  // dot's lowest to its highest sample (joined to the dot before): the ink
  // of the envelope polyline at a fraction of its cost on screen.
  bool denseBars = false;
  // The cursors' pen; the page's red (or black) dashes when empty.
  std::optional<PagePen> cursorPen;
};

// A plot to draw: the page's plot part, what the window adds, the style.
struct PlotPicture {
  PrintPage page;
  PlotOptions options;
  PageStyle style;
};

// Where the frame goes on a device of the given size when nothing but the
// plot shares it: room for the Y legend above, the Y tick labels on the
// left, the X tick labels and legend underneath.
PageFrame ScreenFrame(double width, double height, double dpi);

// Tick counts that keep the labels apart at this frame size.
int XTicksFor(const PageFrame& frame, double dpi);
int YTicksFor(const PageFrame& frame, double dpi);

struct AxisTick {
  double value = 0;  // in the axis' unit (the X unit; % for Y)
  double at = 0;     // device coordinate: x for the X axis, y for the Y axis
  std::string label;
};
struct AxisTicks {
  std::vector<AxisTick> x, y;
};
// The ticks the plot shows in `frame`.
AxisTicks PlotTicks(const PrintPage& page, const PageFrame& frame, const PlotOptions& options);

// Where the band picture goes in `frame`, when one is drawn. It is opaque:
// what is painted under it first is painted for nothing.
std::optional<PageRect> BandArea(const PageFrame& frame, const PlotOptions& options);

// Draws the plot of `page` into `frame`, labels round it.
void DrawPlot(PagePainter& painter, const PrintPage& page, const PageStyle& style,
              const PageFrame& frame, const PlotOptions& options);

// The model's plot coordinates in a frame of any size. Column c (0..511)
// starts at c/512 of the width, as sample c * zoom step does. Row r (0..255)
// sits at r/255 of the height: where a level 255 - r is drawn, so a cursor
// lies on the level its read-out gives.
inline constexpr double kPlotColumns = 512, kLastPlotRow = 255;
PagePoint PlotToDevice(const PageFrame& frame, double column, double row);
struct PlotPixel {
  int column = 0, row = 0;
  friend bool operator==(const PlotPixel&, const PlotPixel&) = default;
};
// The plot pixel under a device point: the column it falls in, the nearest
// row. Outside the frame the values run on past 0..511 and 0..255 (the model
// ignores a drag out of the picture).
PlotPixel DeviceToPlot(const PageFrame& frame, double x, double y);
// The same for `ecran` shown pixel for pixel, `scale` device units to a plot
// pixel, from the frame's corner.
PlotPixel ScaledPixelToPlot(const PageFrame& frame, double scale, double x, double y);

}  // namespace rovanel::display
