// Least-squares fit of the interference models to a measured profile: the
// model of the page in force, scaled and lifted onto the sensor's levels,
//   level(i) = background + height × I((i - centre) × 14 µm),
// with I the slit, two-slit, grating or Gaussian profile of simulation.h.
// L, λ and N are taken as given; the widths (a, d or w), the centre, the
// height and the background are fitted, with their standard uncertainties.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "optics/simulation.h"

namespace rovanel::optics {

struct FitResult {
  bool ok = false;
  std::string why;  // when !ok: the reason, in plain English
  // The given parameters with the fitted ones put in: SlitWidth (pages
  // 0..2), SlitSpacing (pages 1, 2) or Waist (page 3).
  SimulationParams params;
  double centre = 0.0;      // pixel position of the optical axis (real)
  double height = 0.0;      // levels
  double background = 0.0;  // levels
  // Standard uncertainties (m for the widths); 0 for a parameter the page
  // does not fit.
  double sigmaSlitWidth = 0.0;
  double sigmaSlitSpacing = 0.0;
  double sigmaWaist = 0.0;
  double sigmaCentre = 0.0;
  double sigmaHeight = 0.0;
  double sigmaBackground = 0.0;
  double rms = 0.0;  // residual rms, levels
  int iterations = 0;
  int samples = 0;  // samples used
};

// Fits a measured frame (pixel i at index i). Saturated samples (255) and
// samples at 0 say nothing about the model and are left out. `start` gives
// L, λ and N; its a, d and w are tried as one starting point among those
// taken from the data.
FitResult FitSimulation(std::span<const std::uint8_t> measured, int page,
                        const SimulationParams& start);

// The same on levels held as doubles (unrounded or averaged profiles):
// every finite sample is used, a NaN marks one to leave out.
FitResult FitSimulation(std::span<const double> measured, int page, const SimulationParams& start);

}  // namespace rovanel::optics
