// Display settings from the menu and the tool bar: grid, axes, colour
// levels, the grey and spectral bands.
#include "app/main_window.h"
#include "display/legends.h"

namespace rovanel::app {

void TFp::GridClick() {
  SaveModeToggles();
  tools.PasGrid.visible = tools.Grid.down;
  DrawCurves();
}

void TFp::Grille1Click() {
  affichage.GridPenStyle = plot_.Drawing().penStyle;
  affichage.GridColour = plot_.Drawing().penColour;
  affichage.PGrille.visible = true;
  affichage.Caption = tools.Titre2.caption;
  RunDialog(affichage);
  plot_.Drawing().penColour = affichage.GridColour;
  plot_.Drawing().penStyle = affichage.GridPenStyle;
  DrawCurves();
  affichage.PGrille.visible = false;
  tools.PasGrid.caption = display::GridPitchLabel(affichage.GridStepIndex);
}

void TFp::Axes1Click() {
  affichage.PAxes.visible = true;
  affichage.Caption = tools.Titre1.caption;
  RunDialog(affichage);
  ProfParams.UnitX = affichage.XUnit;
  if (Mode() == Experiment::Spectrometry) affichage.XUnit = "nm";
  ProcessCurves();  // applies the Y scale; ends with the legends
  affichage.PAxes.visible = false;
}

void TFp::colorniv1Click() {
  affichage.pNivCoul.visible = true;
  affichage.Caption = tools.Titre11.caption;
  RunDialog(affichage);
  DrawCurves();
  affichage.pNivCoul.visible = false;
}

void TFp::realgrisClick() {
  SaveModeToggles();
  const bool was = plot_.BandMode();
  plot_.SetBandMode(tools.gauss.down || tools.cumul.down || tools.realgris.down || tools.spColor.down);
  // The horizontal cursors follow the curve into or out of the upper half;
  // a band already shown keeps them where they are.
  if (plot_.BandMode() && !was) {
    plot_.HalveRows();
  } else if (!plot_.BandMode() && was) {
    plot_.DoubleRows();
  }
  DrawCurves();
}

void TFp::spColorClick() {
  SaveModeToggles();
  DrawCurves();
}

}  // namespace rovanel::app
