// The two cursor pairs: switched on by their buttons, moved with the mouse
// on the plot, read out in the cursor group box.
#include "app/main_window.h"

namespace rovanel::app {

void TFp::ecranMouseDown(MouseButton button, int x, int y) {
  if (!plot_.Grab(x, y, tools.cursv.down, tools.cursh.down, button == MouseButton::Left)) return;
  DrawLegends();
  ecranPointer_ = plot_.Cursor().active <= 2 ? Pointer::SizeWE : Pointer::SizeNS;
  Changed(kChangedCaptions);
  ui_->PictureChanged();
}

void TFp::ecranMouseMove(int x, int y) {
  if (!(tools.cursv.down || tools.cursh.down) || !plot_.DragTo(x, y)) return;
  // The read-outs and the picture, not the buttons.
  DrawLegends();
  Changed(kChangedCaptions);
  ui_->PictureChanged();
}

void TFp::ecranMouseUp() {
  plot_.Release();
  ecranPointer_ = Pointer::Default;
}

void TFp::curshClick() {
  DrawCursors();
  DrawLegends();
  ui_->PictureChanged();
}

void TFp::cursvClick() {
  DrawCursors();
  DrawLegends();
  // DrawLegends counts the fringes in the Michelson mode; elsewhere "-".
  tools.EditLambda1.enabled = tools.cursv.down;
  ui_->PictureChanged();
}

void TFp::Curseurs1Click() {
  const std::string unit = affichage.XUnit;
  affichage.PCurs.visible = true;
  affichage.Caption = tools.Titre3.caption;
  RunDialog(affichage);
  if (Mode() == Experiment::Michelson) affichage.XUnit = unit;
  DrawLegends();
  affichage.PCurs.visible = false;
  ui_->PictureChanged();
}

bool TFp::Hold(std::string_view name, bool down) {
  if (name != "ZoomPlus" && name != "ZoomMoins") return false;
  if (!down) {
    ZoomPlusMouseUp();
  } else if (!busy_ && !Zooming) {
    name == "ZoomPlus" ? ZoomPlusMouseDown() : ZoomMoinsMouseDown();
  }
  Changed(kChangedAll);
  return true;
}

}  // namespace rovanel::app
