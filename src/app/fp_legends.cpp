// Legends and read-outs round the plot, and the cursor overlay.
#include "app/main_window.h"
#include "display/legends.h"

namespace rovanel::app {

void TFp::DrawLegends() {
  if (plot_.BandMode()) plot_.KeepRowsInUpperHalf();
  if (tools.cursh.down) {
    const display::Readouts r = display::HorizontalReadouts(plot_.Cursor().y1, plot_.Cursor().y2, plot_.BandMode());
    tools.coorh1.caption = r.first;
    tools.coorh2.caption = r.second;
    tools.deltah.caption = r.delta;
  } else {
    tools.coorh1.caption = tools.coorh2.caption = tools.deltah.caption = "";
  }

  display::ColumnScaleParams scale;
  scale.xUnit = affichage.XUnit;
  scale.zoomStep = plot_.ZoomStep();
  scale.realTime = Mode() == Experiment::Live;
  scale.integrationMs = 10.0 + 2.5 * MiParams.Level;
  scale.rateDividerMinusOne = MiParams.DurationCode;
  scale.fftSize = MiParams.FftSize;
  ColumnScale = display::ColumnScale(scale);

  if (tools.cursv.down) {
    display::VerticalReadoutParams v;
    v.xUnit = affichage.XUnit;
    v.viewStart = plot_.ViewStart();
    v.zoomStep = plot_.ZoomStep();
    v.realTime = Mode() == Experiment::Live;
    v.columnScale = ColumnScale;
    v.cursorX1 = plot_.Cursor().x1;
    v.cursorX2 = plot_.Cursor().x2;
    v.lambdaTab = stores.LambdaTab;
    const display::VerticalReadout r = display::VerticalReadouts(v);
    tools.coorv1.caption = r.texts.first;
    tools.coorv2.caption = r.texts.second;
    tools.Deltav.caption = r.texts.delta;
  } else {
    tools.coorv1.caption = tools.coorv2.caption = tools.Deltav.caption = "";
  }
  if (affichage.XUnit != "nm") SampleValue = static_cast<double>(ColumnScale) / plot_.ZoomStep();

  tools.AffUniteY.caption = display::AffUniteYText(affichage.YScaleKind);
  // "Grid pitch" only beside its value.
  tools.LblPasGrid.visible = tools.PasGrid.visible;
  tools.AffUniteX.caption = display::AffUniteXText(affichage.XUnit, tools.AffUniteX.caption);
  // The histogram band under the curve runs over the levels, not the X unit.
  const std::string histogramAxis = "   " + Text("ID_LBL_ANE_axe histo");
  std::string& xLegend = tools.AffUniteX.caption;
  if (xLegend.size() >= histogramAxis.size() &&
      xLegend.compare(xLegend.size() - histogramAxis.size(), histogramAxis.size(), histogramAxis) == 0)
    xLegend.resize(xLegend.size() - histogramAxis.size());
  if (plot_.BandMode() && (tools.gauss.down || tools.cumul.down)) xLegend += histogramAxis;

  if (tools.cursv.down && Mode() == Experiment::Michelson && !tools.fft.down && !tools.pics.down) {
    // The fringes are the marked peaks: without them there is nothing to count.
    FringeCount = -1;
    tools.nbfr.caption = Text("ID_MES_INF_pics a compter");
  } else if (tools.cursv.down && Mode() == Experiment::Michelson && !tools.fft.down) {
    display::FringeSpan span{plot_.ViewStart(), plot_.ZoomStep(), plot_.Cursor().x1, plot_.Cursor().x2};
    FringeCount = display::CountFringes(stores.PeakMarks, span);
    // Cursors less than five samples apart leave the count shown as it was.
    if (FringeCount >= 0)
      tools.nbfr.caption = std::to_string(FringeCount) + " " + tools.Message6.caption;
  } else {
    tools.nbfr.caption = "-";
  }
  DrawCursors();
}

void TFp::DrawCursors() {
  plot_.Compose(tools.cursv.down, tools.cursh.down,
                {affichage.CursorColour, affichage.CursorWidth, affichage.CursorPenStyle});
}

}  // namespace rovanel::app
