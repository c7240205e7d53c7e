// The plot: curves, the Michelson series, the histogram band, the peak
// marker, composed off screen and copied to `ecran` in one go.
#include "app/main_window.h"

namespace rovanel::app {

void TFp::SetTraceStyle(display::TraceStyle style) {
  plot_.SetStyle(style);
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

model::PlotInput TFp::PlotInputs() const {
  model::PlotInput in;
  in.curves = &curves_.AllShown();
  in.count = curves_.Count();
  in.pens = curves_.Pens();
  in.live = Mode() == Experiment::Live;
  in.grid = tools.Grid.down;
  in.spectroGrid = Mode() == Experiment::Spectrometry;
  in.gridStep = affichage.GridStep;
  in.histogram = tools.gauss.down;
  in.cumulative = tools.cumul.down;
  in.grey = tools.realgris.down;
  in.spectrumBand = tools.spColor.down;
  in.spectrumBars = tools.spColor2.down;
  in.histClassExp = HistClassExp;
  in.lambda = &stores.LambdaTab;
  in.spectrumColours = &stores.SpectrumColours;
  in.minLevel = affichage.MinLevelColour;
  in.maxLevel = affichage.MaxLevelColour;
  in.singleColourLevels = affichage.SingleColourLevels;
  in.gridColour = affichage.GridColour;
  in.gridStyle = affichage.GridPenStyle;
  return in;
}

void TFp::DrawCurves() {
  if (drawHeld_ > 0) {
    drawDue_ = true;
    return;
  }
  plot_.SetBandMode(tools.gauss.down || tools.cumul.down || tools.realgris.down ||
                    tools.spColor.down);
  if (Mode() == Experiment::Michelson) {
    plot_.DrawSeries(stores.MiSerie, NbPoints);
    display::Canvas& drawing = plot_.Drawing();
    drawing.penColour = affichage.GridColour;
    drawing.penStyle = affichage.GridPenStyle;
    if (tools.pics.down) ShowPeak();
    // DrawLegends puts it on ecran and counts the fringes between the cursors.
    DrawLegends();
    ui_->PictureChanged();
    return;
  }
  plot_.Draw(PlotInputs());
  if (tools.pics.down) ShowPeak();
  DrawLegends();  // the fringe count or "-", then the cursors into ecran
  ui_->PictureChanged();
}

}  // namespace rovanel::app
