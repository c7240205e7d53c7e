// Legends and read-outs round the plot, and the cursor overlay.
#include <algorithm>

#include "app/main_window.h"
#include "display/cursors.h"
#include "display/legends.h"

namespace rovanel::app {

void TFp::DrawLegends() {
  if (BandMode) {
    CursorY1 = std::min(CursorY1, 127);
    CursorY2 = std::min(CursorY2, 127);
  }
  if (tools.cursh.down) {
    const display::Readouts r = display::HorizontalReadouts(CursorY1, CursorY2, BandMode);
    tools.coorh1.caption = r.first;
    tools.coorh2.caption = r.second;
    tools.deltah.caption = r.delta;
  } else {
    tools.coorh1.caption = tools.coorh2.caption = tools.deltah.caption = "";
  }

  display::ColumnScaleParams scale;
  scale.xUnit = affichage.XUnit;
  scale.zoomStep = ZoomStep;
  scale.realTime = Mode() == Experiment::Live;
  scale.integrationMs = 10.0 + 2.5 * MiParams.Level;
  scale.rateDividerMinusOne = MiParams.DurationCode;
  scale.fftSize = MiParams.FftSize;
  ColumnScale = display::ColumnScale(scale);

  if (tools.cursv.down) {
    display::VerticalReadoutParams v;
    v.xUnit = affichage.XUnit;
    v.viewStart = ViewStart;
    v.zoomStep = ZoomStep;
    v.realTime = Mode() == Experiment::Live;
    v.columnScale = ColumnScale;
    v.cursorX1 = CursorX1;
    v.cursorX2 = CursorX2;
    v.lambdaTab = stores.LambdaTab;
    const display::VerticalReadout r = display::VerticalReadouts(v);
    tools.coorv1.caption = r.texts.first;
    tools.coorv2.caption = r.texts.second;
    tools.Deltav.caption = r.texts.delta;
  } else {
    tools.coorv1.caption = tools.coorv2.caption = tools.Deltav.caption = "";
  }
  if (affichage.XUnit != "nm") SampleValue = static_cast<double>(ColumnScale) / ZoomStep;

  tools.AffUniteY.caption = display::AffUniteYText(affichage.YScaleKind);
  tools.AffUniteX.caption = display::AffUniteXText(affichage.XUnit, tools.AffUniteX.caption);

  if (tools.cursv.down && Mode() == Experiment::Michelson && !tools.fft.down) {
    display::FringeSpan span{ViewStart, ZoomStep, CursorX1, CursorX2};
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
  if (!tools.cursv.down && !tools.cursh.down) {
    ecran.CopyFrom(DrawBitmap, 0, 0);
    return;
  }
  display::CursorParams p;
  p.cursv = tools.cursv.down;
  p.cursh = tools.cursh.down;
  p.x1 = CursorX1;
  p.x2 = CursorX2;
  p.y1 = CursorY1;
  p.y2 = CursorY2;
  p.bandMode = BandMode;
  p.colour = affichage.CursorColour;
  p.width = affichage.CursorWidth;
  p.style = affichage.CursorPenStyle;
  display::DrawCursors(CursorBitmap, DrawBitmap, p);
  ecran.CopyFrom(CursorBitmap, 0, 0);
}

}  // namespace rovanel::app
