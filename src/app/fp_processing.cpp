// The processing pipeline: every shown curve is rebuilt from the stored
// ones through the steps the buttons enable, in a fixed order.
#include <algorithm>

#include "app/main_window.h"
#include "signal/filters.h"
#include "signal/lut.h"

namespace rovanel::app {

void TFp::SaveModeToggles() {
  if (Mode() == Experiment::Michelson) {
    MiParams.calibration = tools.calibration.down;
    MiParams.filtrage = tools.filtrage.down;
    MiParams.invert = tools.invert.down;
    MiParams.fftValid = false;
    return;
  }
  ProfParams.calibration = tools.calibration.down;
  ProfParams.filtrage = tools.filtrage.down;
  ProfParams.invert = tools.invert.down;
  if (Mode() != Experiment::Spectrometry && !SimulationShown())
    ProfParams.superposition = tools.superposition.down;
  ProfParams.fftValid = false;
  ProfParams.realgris = tools.realgris.down;
  ProfParams.Grid = tools.Grid.down;
  if (Mode() == Experiment::Analysis) {
    OptoParams.lutnor = tools.lutnor.down;
    OptoParams.lutln = tools.lutln.down;
    OptoParams.lutexp = tools.lutexp.down;
    OptoParams.gauss = tools.gauss.down;
    OptoParams.cumul = tools.cumul.down;
  }
  if (Mode() == Experiment::Spectrometry) {
    SpectroParams.spColor = tools.spColor.down;
    SpectroParams.spColor2 = tools.spColor2.down;
    SpectroParams.spCalY = tools.spCalY.down;
  }
}

void TFp::ProcessCurves() {
  if (Mode() == Experiment::Live) return;  // the live view draws by itself
  if (Mode() == Experiment::Michelson)
    ProcessSeries();
  else
    ProcessProfiles();
  DrawCurves();
}

void TFp::ProcessProfiles() {
  signal::CurveSet& c = stores.CurveBuf;
  c = stores.RawBuf;
  // The simulated curve 1 is a computed pattern: neither stretched nor smoothed.
  const int first = SimulationShown() ? 2 : 1;
  if (tools.spCalY.down) signal::CorrectByReference(SpectroParams.RefSpectrum, c[NbCurves]);
  if (tools.calibration.down)
    for (int k = first; k <= NbCurves; ++k) signal::StretchLevels(c[k]);
  if (tools.filtrage.down)
    signal::Smooth3(c, NbCurves, SimulationShown(), ProfParams.FilterOrder + 2);
  if (tools.lutln.down)
    signal::ApplyLut(c, NbCurves, signal::LutKind::Logarithmic, OptoParams.CoefLn);
  if (tools.lutexp.down)
    signal::ApplyLut(c, NbCurves, signal::LutKind::Exponential, OptoParams.CoefExp);
  if (affichage.YScaleKind == "ln") {
    for (int k = 1; k <= NbCurves; ++k) signal::StretchLevels(c[k]);
    signal::LogLevels(c, NbCurves);
  }
  if (tools.invert.down) signal::InvertCurves(c, NbCurves);
  if (tools.fft.down) {
    if (!ProfParams.fftValid)
      ComputeSpectrum(static_cast<std::uint32_t>(ProfParams.NbPoints), true);
    c[NbCurves] = stores.FftLevels;
  }
  if (tools.pics.down) DetectShownPeaks();
}

void TFp::ProcessSeries() {
  const std::uint32_t n = static_cast<std::uint32_t>(
      std::clamp<std::int64_t>(MiParams.NbPoints, 0, stores.MiSerie.Capacity()));
  signal::CopySamples(stores.MiSerie, stores.MiSerieRaw, n);
  if (tools.calibration.down) signal::StretchLevels(stores.MiSerie, n);
  if (tools.filtrage.down) signal::Smooth5(stores.MiSerie, n, MiParams.FilterOrder);
  if (tools.invert.down) signal::InvertSeries(stores.MiSerie, n);
  if (tools.fft.down) {
    if (!MiParams.fftValid) {
      SetFftSize();
      if (tools.fft.down) ComputeSpectrum(static_cast<std::uint32_t>(MiParams.FftSize), true);
    }
    signal::CopySamples(stores.MiSerie, stores.MiFftLevels,
                        static_cast<std::uint32_t>(MiParams.FftSize));
  }
  if (tools.pics.down) DetectShownPeaks();
}

void TFp::calibrationClick() {
  SaveModeToggles();
  ProcessCurves();
}

void TFp::FiltrageMoyennage1Click() {
  const bool mi = Mode() == Experiment::Michelson;
  feature.pofiltre.visible = true;
  feature.pmoy.visible = !mi;
  feature.FilterOrder = mi ? MiParams.FilterOrder : ProfParams.FilterOrder;
  feature.AvgCount = ProfParams.AvgCount;
  feature.Caption = tools.Titre4.caption;
  RunDialog(feature);
  // Cancel leaves the dialog's values as they were put in.
  (mi ? MiParams.FilterOrder : ProfParams.FilterOrder) = feature.FilterOrder;
  ProfParams.AvgCount = feature.AvgCount;
  feature.pofiltre.visible = feature.pmoy.visible = false;
  if (mi)
    MiParams.fftValid = false;
  else
    ProfParams.fftValid = false;
  ProcessCurves();
}

}  // namespace rovanel::app
