// The plot as the window draws it at its own size: the printed page's plot
// with the screen's pens, the band under the curves and the legend; the
// ticks dump:axes prints; the wheel and the arrow keys on the plot.
#include <algorithm>
#include <cstdio>

#include "app/main_window.h"

namespace rovanel::app {

namespace {

display::LinePattern PatternOf(display::PenStyle style) {
  switch (style) {
    case display::PenStyle::Dot:
      return display::LinePattern::Dot;
    case display::PenStyle::DashDot:
      return display::LinePattern::DashDot;
    case display::PenStyle::Solid:
      break;
  }
  return display::LinePattern::Solid;
}

}  // namespace

TFp::ScreenPlot TFp::MakeScreenPlot(const display::PageFrame& frame, double dpi) const {
  ScreenPlot s;
  FillPagePlot(s.page);
  // On screen the spectral band lies under the curves as a picture; only
  // the bars fill the curve itself.
  if (!tools.spColor2.down) s.page.sampleColours.clear();
  // Row r of `ecran` at r/255 of the frame, in the band mode too (where the
  // rows keep to the upper half).
  s.page.cursorsY.clear();
  if (tools.cursh.down)
    for (int row : {plot_.Cursor().y1, plot_.Cursor().y2})
      s.page.cursorsY.push_back(row / display::kLastPlotRow);

  s.style.colour = true;
  // One pixel at 96 dpi: the rasteriser's fast path for thin lines.
  s.style.curveWidthPt = 0.75;
  s.style.gridWidthPt = 0.5;
  display::PlotOptions& o = s.options;
  o.upperHalf = plot_.BandMode();
  display::PageFrame curves = frame;
  if (o.upperHalf) curves.height /= 2;
  o.xTicksWanted = display::XTicksFor(frame, dpi);
  o.yTicksWanted = display::YTicksFor(curves, dpi);
  o.gridLines = tools.Grid.down;
  o.denseBars = true;
  o.band = &plot_.Drawing();
  o.bandTop = kScreenHeight / 2;
  o.legend = Mode() != Experiment::Michelson;
  for (int k = 1; k <= curves_.Count(); ++k) o.names.push_back(curves_.Name(k));
  // The cursors as the display settings draw them; at least half a point.
  o.cursorPen = display::PagePen{affichage.CursorColour,
                                 std::max(0.5, 0.75 * affichage.CursorWidth),
                                 PatternOf(affichage.CursorPenStyle)};
  return s;
}

void TFp::SetPlotSize(double width, double height, double dpi) {
  if (width > 0 && height > 0 && dpi > 0) {
    plotWidth_ = width;
    plotHeight_ = height;
    plotDpi_ = dpi;
  }
}

std::vector<std::string> TFp::AxisLines() const {
  const display::PageFrame frame = display::ScreenFrame(plotWidth_, plotHeight_, plotDpi_);
  const ScreenPlot s = MakeScreenPlot(frame, plotDpi_);
  const display::AxisTicks ticks = display::PlotTicks(s.page, frame, s.options);
  std::vector<std::string> lines;
  char value[40];
  for (const auto& [axis, list] : {std::pair{'x', &ticks.x}, std::pair{'y', &ticks.y}})
    for (const display::AxisTick& t : *list) {
      std::snprintf(value, sizeof value, "%.10g", t.value);
      lines.push_back(std::string(1, axis) + "=" + value + " " + t.label);
    }
  return lines;
}

void TFp::ecranWheel(int x, int notches) {
  if (notches == 0 || busy_ || Zooming || !tools.ZoomPlus.enabled || !tools.ZoomPlus.visible)
    return;
  const int column = std::clamp(x, 0, kScreenWidth - 1);
  const int cap = std::max(1, NbPoints / kScreenWidth);
  const int step = std::clamp(plot_.ZoomStep() - notches, 1, cap);
  if (step == plot_.ZoomStep()) return;
  // The sample under the pointer stays under it, as far as the ends allow.
  const std::int64_t sample = plot_.ViewStart() + std::int64_t{column} * plot_.ZoomStep();
  const std::int64_t start = std::max<std::int64_t>(0, sample - std::int64_t{column} * step);
  const int large = std::clamp(kScreenWidth * step / ScrollUnit, 1, 32767);
  ViewCentre = static_cast<int>(start / ScrollUnit) + large / 2;
  SetZoom(NbPoints, step);
  ViewCentre = deplacement.position + deplacement.largeChange / 2;
}

bool TFp::ecranArrow(int delta, bool vertical) {
  if (!(vertical ? tools.cursv.down : tools.cursh.down) || busy_) return false;
  plot_.Nudge(delta, vertical);
  DrawLegends();
  Changed(kChangedCaptions);
  ui_->PictureChanged();
  return true;
}

}  // namespace rovanel::app
