// How good a wavelength calibration is between its reference lines. Both
// methods pass exactly through every reference, so each line is checked
// against the table built without it: the leave-one-out difference tells a
// student how far the table may be off where no line pins it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "optics/wavelength_table.h"

namespace rovanel::optics {

struct CalResidual {
  int number = 0;             // the reference's number (1-based entry)
  std::int32_t pixel = 0;
  float lambda = 0.0f;        // the reference's wavelength, nm
  // The table built without this line, at its pixel, and minus `lambda`;
  // none when the other lines are too few to build a table.
  std::optional<double> tableNm;
  std::optional<double> diffNm;
};

struct CalResiduals {
  std::vector<CalResidual> lines;  // the used references, by number
  std::optional<double> rmsNm;     // over the lines with a difference
};

// The used references of the method `kind` (kSplineKind, else linear):
// among the entries that method reads, those with a wavelength and a pixel
// of the sensor, each with its leave-one-out difference.
CalResiduals LeaveOneOutResiduals(const CalPoints& points, std::int32_t kind);

}  // namespace rovanel::optics
