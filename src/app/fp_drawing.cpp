// The plot: curves, the Michelson series, the histogram band, the peak
// marker, composed off screen and copied to `ecran` in one go.
#include <algorithm>
#include <vector>

#include "app/main_window.h"
#include "display/colour_bands.h"
#include "display/grid.h"
#include "display/histogram_band.h"
#include "signal/histogram.h"
#include "signal/paging.h"

namespace rovanel::app {

void TFp::SetTraceStyle(display::TraceStyle style) {
  TraceStyle = style;
  tools.Vecteurs1.down = style == display::TraceStyle::Vecteurs;
  tools.Pics1.down = style == display::TraceStyle::Pics;
  tools.Points1.down = style == display::TraceStyle::Points;
  DrawCurves();
}

void TFp::Vecteurs1Click() {
  SetTraceStyle(display::TraceStyle::Vecteurs);
}
void TFp::Pics1Click() {
  SetTraceStyle(display::TraceStyle::Pics);
}
void TFp::Points1Click() {
  SetTraceStyle(display::TraceStyle::Points);
}

void TFp::DrawCurves() {
  BandMode = tools.gauss.down || tools.cumul.down || tools.realgris.down || tools.spColor.down;
  if (Mode() == Experiment::Michelson) {
    DrawSeries();
    DrawLegends();
    ui_->PictureChanged();
    return;
  }
  DrawBitmap.CopyFrom(BackBitmap, 0, 0);
  // The grid takes the pen the previous repaint left (the grid's own).
  if (tools.Grid.down) {
    if (Mode() == Experiment::Spectrometry)
      display::MakeSPGrid(DrawBitmap, stores.LambdaTab,
                          {ViewStart, ZoomStep, BandMode, (Mode() == Experiment::Live)});
    else
      display::DrawGrid(DrawBitmap,
                        {ViewStart, ZoomStep, Mode() == Experiment::Live, BandMode, affichage.GridStep});
  }
  DrawBitmap.penStyle = display::PenStyle::Solid;
  for (int k = 1; k <= NbCurves; ++k) {
    DrawBitmap.penColour = CurveColours[k - 1];
    display::TraceView view;
    view.viewStart = ViewStart;
    view.zoomStep = ZoomStep;
    // In the live view the stored curves are shown every fourth sample.
    view.stride = (k < NbCurves && Mode() == Experiment::Live) ? 4 : 1;
    view.halfHeight = BandMode;
    display::DrawTrace(DrawBitmap, stores.CurveBuf[k].data(), signal::kPixels, TraceStyle, view);
  }
  const signal::Curve& last = stores.CurveBuf[NbCurves];
  const display::SpectrumViewParams spectrumView{ViewStart, ZoomStep, Mode() == Experiment::Live, BandMode};
  if (tools.spColor2.down)
    display::DrawSpectrumBars(DrawBitmap, last, stores.LambdaTab, stores.SpectrumColours,
                              spectrumView);
  if (BandMode) {
    if (tools.gauss.down) DrawHistogram();
    if (tools.cumul.down) DrawHistogram();
    if (tools.spColor.down)
      display::DrawSpectrumBand(DrawBitmap, last, stores.LambdaTab, stores.SpectrumColours,
                                spectrumView);
    if (tools.realgris.down) {
      display::GreyBandParams grey;
      grey.viewStart = ViewStart;
      grey.zoomStep = ZoomStep;
      grey.levels = {affichage.MinLevelColour, affichage.MaxLevelColour,
                     affichage.SingleColourLevels};
      grey.atTop = tools.cumul.down || tools.gauss.down || tools.spColor.down;
      display::DrawGreyBand(DrawBitmap, last, grey);
    }
  }
  DrawBitmap.penColour = affichage.GridColour;
  DrawBitmap.penStyle = affichage.GridPenStyle;
  // DrawLegends ends by putting the picture, with its cursors, on ecran.
  if (tools.pics.down) ShowPeak();
  DrawLegends();  // the fringe count or "-", then the cursors
  ui_->PictureChanged();
}

void TFp::DrawSeries() {
  DrawBitmap.CopyFrom(BackBitmap, 0, 0);
  DrawBitmap.penStyle = display::PenStyle::Solid;
  DrawBitmap.penColour = display::kBlack;
  // The visible samples, gathered from the paged series.
  const std::int64_t n =
      std::min<std::int64_t>(std::max<std::int64_t>(NbPoints, 0), stores.MiSerie.Capacity());
  const std::int64_t first = std::clamp<std::int64_t>(ViewStart, 0, n);
  const std::int64_t last = std::min<std::int64_t>(n, first + std::int64_t{512} * ZoomStep);
  std::vector<std::uint8_t> window(static_cast<std::size_t>(last - first));
  signal::ReadSamples(stores.MiSerie, static_cast<std::uint32_t>(first), window);
  display::TraceView view;
  view.viewStart = 0;
  view.zoomStep = ZoomStep;
  display::DrawTrace(DrawBitmap, window.data(), window.size(), TraceStyle, view);
  DrawBitmap.penColour = affichage.GridColour;
  DrawBitmap.penStyle = affichage.GridPenStyle;
  // DrawLegends puts it on ecran and counts the fringes between the cursors.
  if (tools.pics.down) ShowPeak();
}

void TFp::DrawHistogram() {
  const signal::Histogram h = signal::ComputeHistogram(stores.CurveBuf[NbCurves], ViewStart,
                                                       ZoomStep, HistClassExp, tools.cumul.down);
  display::DrawHistogramBand(DrawBitmap, h, display::Font{});  // the buttons' font
}

}  // namespace rovanel::app
