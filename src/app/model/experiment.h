// Which experiment the window serves: the one reading of the mode buttons
// (one group: at most one is down) that every handler asks.
#pragma once

#include "app/controls.h"

namespace rovanel::app {

enum class Experiment {
  None,          // no mode button down (the start)
  Live,          // the live view
  Michelson,     // time series
  Interference,  // interference and diffraction
  Analysis,      // profile analysis
  Spectrometry,
};

inline Experiment ExperimentOf(const Tools& tools) {
  if (tools.rt.down) return Experiment::Live;
  if (tools.mi.down) return Experiment::Michelson;
  if (tools.int_.down) return Experiment::Interference;
  if (tools.opto.down) return Experiment::Analysis;
  if (tools.spectro.down) return Experiment::Spectrometry;
  return Experiment::None;
}

// The computed pattern is shown beside the measured one (interference).
inline bool SimulationShown(const Tools& tools) {
  return tools.gosimu.down;
}

}  // namespace rovanel::app
