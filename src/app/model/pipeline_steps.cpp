#include "app/model/pipeline_steps.h"

#include "signal/filters.h"
#include "signal/lut.h"

namespace rovanel::app::model {

PipelineSteps PipelineSteps::FromControls(const Tools& t, const ProfParamsRec& prof,
                                          const MiParamsRec& mi, const OptoParamsRec& opto,
                                          std::string_view yScaleKind, bool simulationShown) {
  PipelineSteps s;
  ProfileSteps& p = s.profile;
  p.correctByReference = t.spCalY.down;
  p.stretch = t.calibration.down;
  p.smooth = t.filtrage.down;
  p.smoothPasses = prof.FilterOrder + 2;
  p.skipFirst = simulationShown;
  p.lutLn = t.lutln.down;
  p.lutExp = t.lutexp.down;
  p.coefLn = opto.CoefLn;
  p.coefExp = opto.CoefExp;
  p.logScale = yScaleKind == "ln";
  p.invert = t.invert.down;
  s.series = {t.calibration.down, t.filtrage.down, mi.FilterOrder, t.invert.down};
  s.fft = t.fft.down;
  s.peaks = t.pics.down;
  return s;
}

signal::CurveSet Process(const signal::CurveSet& raw, int count, const ProfileSteps& s,
                         std::span<std::uint8_t> reference) {
  signal::CurveSet c = raw;
  const int first = s.skipFirst ? 2 : 1;
  if (s.correctByReference) signal::CorrectByReference(reference, c[count]);
  if (s.stretch)
    for (int k = first; k <= count; ++k) signal::StretchLevels(c[k]);
  if (s.smooth) signal::Smooth3(c, count, s.skipFirst, s.smoothPasses);
  if (s.lutLn) signal::ApplyLut(c, count, signal::LutKind::Logarithmic, s.coefLn);
  if (s.lutExp) signal::ApplyLut(c, count, signal::LutKind::Exponential, s.coefExp);
  if (s.logScale) {
    for (int k = 1; k <= count; ++k) signal::StretchLevels(c[k]);
    signal::LogLevels(c, count);
  }
  if (s.invert) signal::InvertCurves(c, count);
  return c;
}

void Process(const signal::TLargeTab& raw, std::uint32_t n, const SeriesSteps& s,
             signal::TLargeTab& shown) {
  signal::CopySamples(shown, raw, n);
  if (s.stretch) signal::StretchLevels(shown, n);
  if (s.smooth) signal::Smooth5(shown, n, s.smoothPasses);
  if (s.invert) signal::InvertSeries(shown, n);
}

}  // namespace rovanel::app::model
