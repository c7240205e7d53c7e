// The plot as the window shows it: the samples in view, the cursors, the
// peak marker and the off-screen pictures, and how a frame of curves, a
// series and the cursors are drawn into the 512 x 256 picture `ecran`.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "app/controls.h"
#include "display/canvas.h"
#include "display/traces.h"
#include "signal/large_tab.h"
#include "signal/stores.h"

namespace rovanel::app::model {

inline constexpr int kPlotWidth = 512;
inline constexpr int kPlotHeight = 256;

// What a profile picture is drawn from.
struct PlotInput {
  const signal::CurveSet* curves = nullptr;  // the shown curves
  int count = 1;                             // curves 1..count are drawn
  std::array<display::Rgb, 4> pens{};
  bool live = false;  // the live view: stored curves every fourth sample
  // The grid (distance pitch, or the spectrometer's grid over the table).
  bool grid = false;
  bool spectroGrid = false;
  int gridStep = 500;
  // The bands under the curves.
  bool histogram = false, cumulative = false, grey = false, spectrumBand = false,
       spectrumBars = false;
  int histClassExp = 1;
  const std::array<float, signal::kPixels>* lambda = nullptr;
  const std::array<std::array<std::uint8_t, 3>, signal::kSpectrumColourCount>* spectrumColours =
      nullptr;
  display::Rgb minLevel = display::kBlack, maxLevel = display::kWhite;
  bool singleColourLevels = false;
  // The pen the picture leaves for what follows (the grid's).
  display::Rgb gridColour = display::kSilver;
  display::PenStyle gridStyle = display::PenStyle::Solid;
};

// The cursors: columns of the vertical pair, rows of the horizontal pair.
struct Cursors {
  int x1 = 100, x2 = 300, y1 = 100, y2 = 200;
  int lastVertical = 1;  // 1 or 2: the pair's cursor moved last
  int active = 0;        // 1..4 (X1, X2, Y1, Y2) once one was grabbed
  bool dragging = false;
};

// How the cursors look (the display settings).
struct CursorLook {
  display::Rgb colour = display::kBlack;
  int width = 1;
  display::PenStyle style = display::PenStyle::Dot;
};

class PlotView {
 public:
  // The first sample at column 0 and the samples per column.
  int ViewStart() const { return viewStart_; }
  int ZoomStep() const { return zoomStep_; }
  void SetViewStart(int start) { viewStart_ = start; }
  void SetZoomStep(int step) { zoomStep_ = step; }
  display::TraceStyle Style() const { return style_; }
  void SetStyle(display::TraceStyle style) { style_ = style; }
  // A band under the curves puts them in the upper half.
  bool BandMode() const { return bandMode_; }
  void SetBandMode(bool on) { bandMode_ = on; }

  const Cursors& Cursor() const { return cursors_; }
  // A press at (x, y): every shown cursor nearest to it jumps there
  // (cursors lying together move together); the last one becomes active.
  // Rows stop at 127 in band mode. False when no cursor is shown.
  bool Grab(int x, int y, bool vertical, bool horizontal, bool drag);
  // The active cursor follows the dragging mouse; outside the picture it
  // stays where it was. True when it moved.
  bool DragTo(int x, int y);
  void Release() { cursors_.dragging = false; }
  // The selected cursor of a pair moves by `delta` columns (vertical pair:
  // the one moved last) or rows (horizontal pair: the active one, else Y1),
  // and stops at the picture's edges (row 127 in band mode).
  void Nudge(int delta, bool vertical);
  // Rows halved (the band taking the lower half) or kept in the upper half.
  void HalveRows();
  void DoubleRows();
  void KeepRowsInUpperHalf();
  // Both vertical cursors on one column.
  void PutVerticalCursors(int column) { cursors_.x1 = cursors_.x2 = column; }

  // The marker circled round the selected peak, in plot pixels.
  const Shape& PeakCircle() const { return circle_; }
  Shape& PeakCircle() { return circle_; }

  // The profile picture (grid, curves, bands) into the drawing; the series'.
  void Draw(const PlotInput& in);
  void DrawSeries(const signal::TLargeTab& series, std::int64_t points);
  // The drawing and the cursors into `ecran`; without cursors the picture is
  // the drawing itself until the next Compose.
  void Compose(bool vertical, bool horizontal, const CursorLook& look);

  // `ecran`, the picture the window shows and the exports read.
  const display::Canvas& Picture() const { return pictureIsDrawing_ ? draw_ : ecran_; }
  // The off-screen drawing, for the marks drawn over the curves.
  display::Canvas& Drawing() { return draw_; }
  const display::Canvas& Drawing() const { return draw_; }

 private:
  int viewStart_ = 0;
  int zoomStep_ = 4;
  display::TraceStyle style_ = display::TraceStyle::Pics;
  bool bandMode_ = false;
  Cursors cursors_;
  Shape circle_{false, 0, 0, 13, 13};
  // The drawing starts white on every repaint; with cursors, ecran_ is the
  // drawing with the cursors over it.
  display::Canvas ecran_{kPlotWidth, kPlotHeight};
  display::Canvas draw_{kPlotWidth, kPlotHeight};
  bool pictureIsDrawing_ = false;
};

}  // namespace rovanel::app::model
