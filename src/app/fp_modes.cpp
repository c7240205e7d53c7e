// The measurement modes: what entering one shows, restores and arranges,
// and the X unit and scale of the plot.
#include <cstdio>

#include "app/main_window.h"
#include "app/window_scopes.h"

namespace rovanel::app {

namespace {

void Enable(std::initializer_list<Control*> controls, bool on) {
  for (Control* c : controls) c->enabled = on;
}

void Show(std::initializer_list<Control*> controls, bool on) {
  for (Control* c : controls) c->visible = on;
}

// Enabled and released.
void Reset(std::initializer_list<Control*> controls) {
  for (Control* c : controls) {
    c->enabled = true;
    c->down = false;
  }
}

}  // namespace

void TFp::miClick() {
  // A mode button releases the live view's button (one group): the loop
  // must stop as it would on its own button.
  if (liveRunning_ && Mode() != Experiment::Live && !RtStopped) {
    RtStopped = true;
    curves_.Shown(curves_.Count()) = curves_.Raw(curves_.Count());
  }
  if ((Mode() == Experiment::Michelson) != MiSeen) {
    plot_.PeakCircle().visible = false;
    tools.picd.enabled = tools.picg.enabled = false;
    tools.pics.down = false;
    MiSeen = Mode() == Experiment::Michelson;
  }
  SetupAndProcess();
}

void TFp::fftClick() {
  SetupAndProcess();
}

void TFp::SetupAndProcess() {
  const DrawingHeld once(*this);
  SetupMode();
  ProcessCurves();
}

void TFp::SetupMode() {
  Tools& t = tools;
  // 1. Leaving a two-curve layout brings the measured curve back to 1.
  if ((SpectroLayout && Mode() != Experiment::Spectrometry) || (SimuLayout && Mode() != Experiment::Interference)) {
    curves_.Shown(1) = curves_.Shown(2);
    curves_.Raw(1) = curves_.Raw(2);
    curves_.SetCount(1);
    if (SimuLayout) ProfParams.MaxCurves = 3;
    Simulating = false;
    curves_.ResetPens(Mode() == Experiment::Spectrometry);
    SpectroLayout = SimuLayout = false;
  }
  // 2. Menus.
  Enable({&t.colorniv1, &t.Fichier1, &t.Acqurir1, &t.Simulation1, &t.Curseurs1, &t.Axes1,
          &t.Grille1, &t.Imprimer1, &t.Exporter1, &t.Sauver1, &t.Enregistrer1, &t.Ouvrir1,
          &t.Modeaff, &t.plut, &t.phis},
         true);
  // 3. Tool bar.
  Enable({&t.ouvrir, &t.Sauver, &t.imprimer, &t.acquisition, &t.suppression, &t.fft}, true);
  Reset({&t.superposition, &t.Grid, &t.realgris, &t.pics, &t.moyenne, &t.calibration, &t.invert,
         &t.filtrage});
  Enable({&t.picd, &t.picg, &t.calc, &t.rappels}, false);
  t.lutnor.down = true;
  t.lutln.down = t.lutexp.down = t.gauss.down = t.cumul.down = false;
  // 4. Every mode panel hidden; the panels' own buttons released.
  plot_.PeakCircle().visible = false;
  Show({&t.ebxWaist, &t.lblL, &t.lblmm, &t.BarWaist, &t.mich1, &t.Mich2, &t.int1, &t.opto1,
        &t.opto2, &t.spectro1, &t.spectro2, &t.spectro3, &t.minizoom, &t.Simulation1, &t.plut,
        &t.phis, &t.EditLambda1, &t.Jcamp1, &t.JcampNm1},
       false);
  t.PasGrid.visible = true;
  t.gosimu.down = false;
  waistBar.visible = false;
  Reset({&t.spColor, &t.spColor2, &t.spCalY});
  ProfParams.int_ = ProfParams.opto = ProfParams.spectro = false;
  t.FileNom.caption = ProfParams.FileName;

  if (Mode() == Experiment::Michelson) {  // 5. Michelson
    t.FileNom.caption = MiParams.FileName;
    Show({&t.mich1, &t.minizoom}, true);
    t.Mich2.visible = PortBox;
    Enable({&t.acquisition, &t.superposition, &t.suppression, &t.realgris, &t.Grid, &t.moyenne,
            &t.Axes1, &t.Grille1, &t.Acqurir1, &t.colorniv1},
           false);
    t.PasGrid.visible = false;
    Enable({&t.calc, &t.rappels}, true);
    t.calibration.down = MiParams.calibration;
    t.invert.down = MiParams.invert;
    t.filtrage.down = MiParams.filtrage;
  } else {  // 6. any profile mode
    t.realgris.down = ProfParams.realgris;
    t.moyenne.down = ProfParams.Averaged;
    t.superposition.down = ProfParams.superposition;
    t.calibration.down = ProfParams.calibration;
    t.invert.down = ProfParams.invert;
    t.filtrage.down = ProfParams.filtrage;
    t.Grid.down = ProfParams.Grid;
  }
  if (Mode() == Experiment::Interference) {  // 7. interference
    Show({&t.Simulation1, &t.int1}, true);
    Enable({&t.calc, &t.rappels}, true);
    ProfParams.int_ = true;
  }
  if (Mode() == Experiment::Analysis) {  // 8. analysis
    Show({&t.opto1, &t.opto2, &t.plut, &t.phis}, true);
    ProfParams.opto = true;
    t.lutnor.down = OptoParams.lutnor;
    t.lutln.down = OptoParams.lutln;
    t.lutexp.down = OptoParams.lutexp;
    t.gauss.down = OptoParams.gauss;
    t.cumul.down = OptoParams.cumul;
  }
  if (Mode() == Experiment::Spectrometry) {  // 9. spectrometry: the reference beside the measured curve
    t.Grille1.enabled = false;
    t.rappels.enabled = true;
    Show({&t.spectro1, &t.spectro2, &t.spectro3, &t.EditLambda1, &t.Jcamp1, &t.JcampNm1}, true);
    t.EditLambda1.enabled = t.cursv.down;
    ProfParams.spectro = true;
    t.spColor.down = SpectroParams.spColor;
    t.spColor2.down = SpectroParams.spColor2;
    t.spCalY.down = SpectroParams.spCalY;
    curves_.Shown(2) = curves_.Shown(curves_.Count());
    curves_.Raw(2) = curves_.Raw(curves_.Count());
    curves_.SetCount(2);
    t.fft.down = false;
    t.fft.enabled = false;
    curves_.Raw(1) = SpectroParams.RefSpectrum;
    curves_.Shown(1) = SpectroParams.RefSpectrum;
    t.superposition.down = true;
    curves_.SetSpectroPens();
    SpectroLayout = true;
  }
  if (Mode() == Experiment::Live) {  // 10. live view
    Enable({&t.ouvrir, &t.Sauver, &t.imprimer, &t.Imprimer1, &t.Fichier1, &t.picd, &t.picg}, false);
    plot_.PeakCircle().visible = false;
    t.pics.enabled = t.pics.down = false;
    t.superposition.enabled = t.superposition.down = false;
    t.suppression.enabled = false;
  }
  SetupXScale();
}

void TFp::SetupXScale() {
  Tools& t = tools;
  char label[48];
  std::int32_t shown = ProfParams.NbPoints;
  if (Mode() == Experiment::Live) {
    shown = RtParams.NbPoints;
    Enable({&t.imprimer, &t.Imprimer1}, false);
    t.pics.enabled = t.pics.down = false;
  } else if (Mode() == Experiment::Michelson) {
    if (t.fft.down) {
      affichage.XUnit = "Hz";
      shown = MiParams.FftSize / 2;
      Reset({&t.calibration, &t.invert, &t.filtrage});
      Enable({&t.calibration, &t.invert, &t.filtrage}, false);
      MiParams.FftStep = MiParams.FftSize / 2 / 512;
    } else {
      affichage.XUnit = "s";
      shown = MiParams.NbPoints;
    }
  } else if (Mode() == Experiment::Spectrometry) {
    affichage.XUnit = "nm";
    std::snprintf(label, sizeof label, " %dnm", 30);
    t.PasGrid.caption = label;
  } else if (t.fft.down) {
    affichage.XUnit = "/m";
    shown = ProfParams.NbPoints / 2;
    // The grid pitch as a spatial frequency, with the whole pixels per metre
    // (10^6 div 14) the label has always shown: 500 µm reads 1245.61.
    std::snprintf(label, sizeof label, " %8.2f/m", affichage.GridStep / 28672.0 * (1000000 / 14));
    t.PasGrid.caption = label;
    Enable({&t.Grille1, &t.Axes1}, false);
    Reset({&t.calibration, &t.invert, &t.filtrage, &t.superposition});
    Enable({&t.calibration, &t.invert, &t.filtrage, &t.superposition, &t.suppression}, false);
    curves_.SetCount(1);
  } else {
    affichage.XUnit = ProfParams.UnitX;
    std::snprintf(label, sizeof label, " %dµm", affichage.GridStep);
    t.PasGrid.caption = label;
  }
  if (Mode() != Experiment::Michelson) t.FileNom.caption = ProfParams.FileName;
  if (t.superposition.down) {
    t.fft.down = false;
    t.fft.enabled = false;
  }
  if (!t.pics.down) t.picx.caption = t.picy.caption = "-";
  NbPoints = shown;
  SetZoom(shown, Mode() == Experiment::Live ? 1 : shown / 512);
}

}  // namespace rovanel::app
