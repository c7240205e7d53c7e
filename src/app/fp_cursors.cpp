// The two cursor pairs: switched on by their buttons, moved with the mouse
// on the plot, read out in the cursor group box.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "app/main_window.h"

namespace rovanel::app {

void TFp::ecranMouseDown(MouseButton button, int x, int y) {
  const bool v = tools.cursv.down, h = tools.cursh.down;
  if (!v && !h) return;
  if (BandMode && y >= 127) y = 127;
  constexpr int kAbsent = 999'999'999;
  const std::array<int, 4> distance = {
      v ? std::abs(CursorX1 - x) : kAbsent, v ? std::abs(CursorX2 - x) : kAbsent,
      h ? std::abs(CursorY1 - y) : kAbsent, h ? std::abs(CursorY2 - y) : kAbsent};
  const int nearest = *std::min_element(distance.begin(), distance.end());
  // Every cursor at that distance jumps: cursors lying together move together.
  int* positions[4] = {&CursorX1, &CursorX2, &CursorY1, &CursorY2};
  for (int k = 0; k < 4; ++k) {
    if (distance[k] != nearest) continue;
    *positions[k] = k < 2 ? x : y;
    ActiveCursor = k + 1;
    if (k < 2) LastVCursor = k + 1;
  }
  if (button == MouseButton::Left) Dragging = true;
  DrawLegends();
  EcranPointer = ActiveCursor <= 2 ? Pointer::SizeWE : Pointer::SizeNS;
  ui_->PictureChanged();
}

void TFp::ecranMouseMove(int x, int y) {
  if (!(tools.cursv.down || tools.cursh.down) || !Dragging) return;
  // Outside the picture the cursor stays where it was: it stops at the edge.
  if (x < 0 || x >= kScreenWidth || y < 0 || y > 255) return;
  switch (ActiveCursor) {
    case 1:
      CursorX1 = x;
      break;
    case 2:
      CursorX2 = x;
      break;
    case 3:
      CursorY1 = y;
      break;
    case 4:
      CursorY2 = y;
      break;
    default:
      return;
  }
  DrawLegends();
  ui_->PictureChanged();
}

void TFp::ecranMouseUp() {
  Dragging = false;
  EcranPointer = Pointer::Default;
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
  return true;
}

}  // namespace rovanel::app
