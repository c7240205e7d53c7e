#include "app/model/plot_view.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "display/colour_bands.h"
#include "display/cursors.h"
#include "display/grid.h"
#include "display/histogram_band.h"
#include "signal/histogram.h"
#include "signal/paging.h"

namespace rovanel::app::model {

namespace {

// The drawing's white background down to row `rows` (all of it by default),
// as one fill of bytes (white is 0xFFFFFFFF): a canvas copy would read
// 512 KB as well, and the per-pixel fill is not vectorised.
void ClearToWhite(display::Canvas& c, int rows = -1) {
  static_assert(display::kWhite.ToArgb() == 0xFFFFFFFFu);
  const int height = rows < 0 ? c.Height() : std::min(rows, c.Height());
  std::memset(c.MutableBits(), 0xFF,
              sizeof(std::uint32_t) * static_cast<std::size_t>(c.Width()) *
                  static_cast<std::size_t>(height));
}

}  // namespace

bool PlotView::Grab(int x, int y, bool vertical, bool horizontal, bool drag) {
  if (!vertical && !horizontal) return false;
  if (bandMode_ && y >= 127) y = 127;
  constexpr int kAbsent = 999'999'999;
  Cursors& c = cursors_;
  const std::array<int, 4> distance = {
      vertical ? std::abs(c.x1 - x) : kAbsent, vertical ? std::abs(c.x2 - x) : kAbsent,
      horizontal ? std::abs(c.y1 - y) : kAbsent, horizontal ? std::abs(c.y2 - y) : kAbsent};
  const int nearest = *std::min_element(distance.begin(), distance.end());
  int* positions[4] = {&c.x1, &c.x2, &c.y1, &c.y2};
  for (int k = 0; k < 4; ++k) {
    if (distance[k] != nearest) continue;
    *positions[k] = k < 2 ? x : y;
    c.active = k + 1;
    if (k < 2) c.lastVertical = k + 1;
  }
  if (drag) c.dragging = true;
  return true;
}

bool PlotView::DragTo(int x, int y) {
  Cursors& c = cursors_;
  if (!c.dragging) return false;
  // Outside the picture the cursor stays where it was: it stops at the edge.
  if (x < 0 || x >= kPlotWidth || y < 0 || y >= kPlotHeight) return false;
  switch (c.active) {
    case 1:
      c.x1 = x;
      return true;
    case 2:
      c.x2 = x;
      return true;
    case 3:
      c.y1 = y;
      return true;
    case 4:
      c.y2 = y;
      return true;
    default:
      return false;
  }
}

void PlotView::Nudge(int delta, bool vertical) {
  Cursors& c = cursors_;
  if (vertical) {
    int& x = c.lastVertical == 2 ? c.x2 : c.x1;
    x = std::clamp(x + delta, 0, kPlotWidth - 1);
    c.active = c.lastVertical == 2 ? 2 : 1;
    return;
  }
  int& y = c.active == 4 ? c.y2 : c.y1;
  y = std::clamp(y + delta, 0, bandMode_ ? 127 : kPlotHeight - 1);
  c.active = c.active == 4 ? 4 : 3;
}

void PlotView::HalveRows() {
  cursors_.y1 /= 2;
  cursors_.y2 /= 2;
}

void PlotView::DoubleRows() {
  cursors_.y1 *= 2;
  cursors_.y2 *= 2;
}

void PlotView::KeepRowsInUpperHalf() {
  cursors_.y1 = std::min(cursors_.y1, 127);
  cursors_.y2 = std::min(cursors_.y2, 127);
}

void PlotView::Draw(const PlotInput& in) {
  // The grey band at the bottom, drawn last, writes every pixel of its rows:
  // they need no white first (half the picture, every live frame).
  const bool greyAtBottom =
      bandMode_ && in.grey && !in.cumulative && !in.histogram && !in.spectrumBand;
  ClearToWhite(draw_, greyAtBottom ? display::kColourBandTop : -1);
  // The grid takes the pen the previous repaint left (the grid's own).
  if (in.grid) {
    if (in.spectroGrid)
      display::MakeSPGrid(draw_, *in.lambda, {viewStart_, zoomStep_, bandMode_, in.live});
    else
      display::DrawGrid(draw_, {viewStart_, zoomStep_, in.live, bandMode_, in.gridStep});
  }
  draw_.penStyle = display::PenStyle::Solid;
  const signal::CurveSet& curves = *in.curves;
  for (int k = 1; k <= in.count; ++k) {
    draw_.penColour = in.pens[static_cast<std::size_t>(k - 1)];
    display::TraceView view;
    view.viewStart = viewStart_;
    view.zoomStep = zoomStep_;
    // In the live view the stored curves are shown every fourth sample.
    view.stride = (k < in.count && in.live) ? 4 : 1;
    view.halfHeight = bandMode_;
    display::DrawTrace(draw_, curves[k].data(), signal::kPixels, style_, view);
  }
  const signal::Curve& last = curves[in.count];
  const display::SpectrumViewParams spectrumView{viewStart_, zoomStep_, in.live, bandMode_};
  if (in.spectrumBars)
    display::DrawSpectrumBars(draw_, last, *in.lambda, *in.spectrumColours, spectrumView);
  if (bandMode_) {
    const auto histogram = [&] {
      const signal::Histogram h =
          signal::ComputeHistogram(last, viewStart_, zoomStep_, in.histClassExp, in.cumulative);
      display::DrawHistogramBand(draw_, h, display::Font{});  // the buttons' font
    };
    if (in.histogram) histogram();
    if (in.cumulative) histogram();
    if (in.spectrumBand)
      display::DrawSpectrumBand(draw_, last, *in.lambda, *in.spectrumColours, spectrumView);
    if (in.grey) {
      display::GreyBandParams grey;
      grey.viewStart = viewStart_;
      grey.zoomStep = zoomStep_;
      grey.levels = {in.minLevel, in.maxLevel, in.singleColourLevels};
      grey.atTop = in.cumulative || in.histogram || in.spectrumBand;
      display::DrawGreyBand(draw_, last, grey);
    }
  }
  draw_.penColour = in.gridColour;
  draw_.penStyle = in.gridStyle;
}

void PlotView::DrawSeries(const signal::TLargeTab& series, std::int64_t points) {
  ClearToWhite(draw_);
  draw_.penStyle = display::PenStyle::Solid;
  draw_.penColour = display::kBlack;
  // The visible samples, gathered from the paged series.
  const std::int64_t n = std::min<std::int64_t>(std::max<std::int64_t>(points, 0), series.Capacity());
  const std::int64_t first = std::clamp<std::int64_t>(viewStart_, 0, n);
  const std::int64_t last = std::min<std::int64_t>(n, first + std::int64_t{kPlotWidth} * zoomStep_);
  std::vector<std::uint8_t> window(static_cast<std::size_t>(last - first));
  signal::ReadSamples(series, static_cast<std::uint32_t>(first), window);
  display::TraceView view;
  view.viewStart = 0;
  view.zoomStep = zoomStep_;
  display::DrawTrace(draw_, window.data(), window.size(), style_, view);
}

void PlotView::Compose(bool vertical, bool horizontal, const CursorLook& look) {
  // Without cursors the drawing is the picture: nothing to copy.
  pictureIsDrawing_ = !vertical && !horizontal;
  if (pictureIsDrawing_) return;
  display::CursorParams p;
  p.cursv = vertical;
  p.cursh = horizontal;
  p.x1 = cursors_.x1;
  p.x2 = cursors_.x2;
  p.y1 = cursors_.y1;
  p.y2 = cursors_.y2;
  p.bandMode = bandMode_;
  p.colour = look.colour;
  p.width = look.width;
  p.style = look.style;
  display::DrawCursors(ecran_, draw_, p);
}

}  // namespace rovanel::app::model
