// The processing pipeline as a value: which steps the buttons enable, read
// once from the controls, and the pure passes that rebuild the shown curves
// (or the shown series) from the stored ones through them, in a fixed order.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "app/controls.h"
#include "app/settings.h"
#include "signal/large_tab.h"
#include "signal/stores.h"

namespace rovanel::app::model {

struct ProfileSteps {
  bool correctByReference = false;  // spectrometry: divided by the reference
  bool stretch = false;             // Normaliser
  bool smooth = false;              // Filtrage, with its passes
  int smoothPasses = 2;
  bool skipFirst = false;  // curve 1 is a computed pattern: not stretched nor smoothed
  bool lutLn = false, lutExp = false;
  int coefLn = 2, coefExp = 2;
  bool logScale = false;  // Y axis "ln"
  bool invert = false;
};

struct SeriesSteps {
  bool stretch = false;
  bool smooth = false;
  int smoothPasses = 0;
  bool invert = false;
};

struct PipelineSteps {
  ProfileSteps profile;
  SeriesSteps series;
  // Steps that need the window (the spectrum's gauge, the peak marks).
  bool fft = false;
  bool peaks = false;

  // What the processing buttons and the settings say now.
  static PipelineSteps FromControls(const Tools& tools, const ProfParamsRec& prof,
                                    const MiParamsRec& mi, const OptoParamsRec& opto,
                                    std::string_view yScaleKind, bool simulationShown);
};

// Curves 1..count of `raw` through the steps; the others as they are.
// `reference` is the spectrometer's reference: its zeros become 1 (the
// division needs them so, and the stored reference keeps it).
signal::CurveSet Process(const signal::CurveSet& raw, int count, const ProfileSteps& steps,
                         std::span<std::uint8_t> reference);
// The first n samples of `raw` into `shown`, through the steps.
void Process(const signal::TLargeTab& raw, std::uint32_t n, const SeriesSteps& steps,
             signal::TLargeTab& shown);

}  // namespace rovanel::app::model
