// Look-up tables and histograms of the analysis mode.
#include "app/main_window.h"

namespace rovanel::app {

void TFp::LutClicked(Control& button) {
  SaveModeToggles();
  // One of the three is always down: a click on the one that is down
  // leaves it down.
  if (!button.down) button.down = true;
  ProcessCurves();
}

void TFp::lutlnClick() {
  LutClicked(tools.lutln);
}
void TFp::lutnorClick() {
  LutClicked(tools.lutnor);
}
void TFp::lutexpClick() {
  LutClicked(tools.lutexp);
}

void TFp::plutClick() {
  paraint.pplut.visible = true;
  paraint.Caption = tools.Titre9.caption;
  RunDialog(paraint);
  OptoParams.CoefLn = paraint.CoefLn;
  OptoParams.CoefExp = paraint.CoefExp;
  paraint.pplut.visible = false;
  ProcessCurves();
}

void TFp::gaussClick() {
  SaveModeToggles();
  DrawCurves();  // the band mode follows the buttons there; the curves stay as they are
}

void TFp::cumulClick() {
  SaveModeToggles();
  DrawCurves();
}

void TFp::phisClick() {
  feature.pcumul.visible = true;
  feature.boxbarIndex = feature.HistIndex = HistClassExp;
  feature.Caption = tools.Titre8.caption;
  RunDialog(feature);
  HistClassExp = feature.HistIndex;
  feature.pcumul.visible = false;
  DrawCurves();
}

}  // namespace rovanel::app
