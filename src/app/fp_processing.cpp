// The processing pipeline: every shown curve is rebuilt from the stored
// ones through the steps the buttons enable, in a fixed order.
#include <algorithm>

#include "app/main_window.h"
#include "signal/filters.h"

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

model::PipelineSteps TFp::Steps() const {
  return model::PipelineSteps::FromControls(tools, ProfParams, MiParams, OptoParams,
                                            affichage.YScaleKind, SimulationShown());
}

void TFp::ProcessProfiles() {
  const model::PipelineSteps steps = Steps();
  curves_.AllShown() =
      model::Process(curves_.AllRaw(), curves_.Count(), steps.profile, SpectroParams.RefSpectrum);
  if (steps.fft) {
    if (!ProfParams.fftValid)
      ComputeSpectrum(static_cast<std::uint32_t>(ProfParams.NbPoints), true);
    curves_.Shown(curves_.Count()) = stores.FftLevels;
  }
  if (steps.peaks) DetectShownPeaks();
}

void TFp::ProcessSeries() {
  const std::uint32_t n = static_cast<std::uint32_t>(
      std::clamp<std::int64_t>(MiParams.NbPoints, 0, stores.MiSerie.Capacity()));
  const model::PipelineSteps steps = Steps();
  model::Process(stores.MiSerieRaw, n, steps.series, stores.MiSerie);
  if (steps.fft) {
    if (!MiParams.fftValid) {
      SetFftSize();
      if (tools.fft.down) ComputeSpectrum(static_cast<std::uint32_t>(MiParams.FftSize), true);
    }
    signal::CopySamples(stores.MiSerie, stores.MiFftLevels,
                        static_cast<std::uint32_t>(MiParams.FftSize));
  }
  if (steps.peaks) DetectShownPeaks();
}

void TFp::calibrationClick() {
  SaveModeToggles();
  ProcessCurves();
}

void TFp::FiltrageMoyennage1Click() {
  const bool mi = Mode() == Experiment::Michelson;
  feature.pofiltre.visible = true;
  feature.pmoy.visible = !mi;
  feature.ppics.visible = true;
  feature.Prominence = PeakProminencePct;
  feature.FilterOrder = mi ? MiParams.FilterOrder : ProfParams.FilterOrder;
  feature.AvgCount = ProfParams.AvgCount;
  feature.Caption = tools.Titre4.caption;
  RunDialog(feature);
  // Cancel leaves the dialog's values as they were put in.
  (mi ? MiParams.FilterOrder : ProfParams.FilterOrder) = feature.FilterOrder;
  ProfParams.AvgCount = feature.AvgCount;
  PeakProminencePct = feature.Prominence;
  feature.pofiltre.visible = feature.pmoy.visible = feature.ppics.visible = false;
  if (mi)
    MiParams.fftValid = false;
  else
    ProfParams.fftValid = false;
  ProcessCurves();
}

}  // namespace rovanel::app
