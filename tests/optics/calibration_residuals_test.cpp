#include "optics/calibration_residuals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace rovanel::optics {
namespace {

CalPoints Points(std::initializer_list<CalPoint> used) {
  CalPoints p{};
  std::size_t k = 0;
  for (const CalPoint& c : used) p[k++] = c;
  return p;
}

// Lines on a straight dispersion: leaving any one out changes nothing, by
// either method, the outer lines (extrapolated) included.
TEST(LeaveOneOutResiduals, StraightDispersionGivesNothingToCorrect) {
  const CalPoints p = Points({{200, 420.0f}, {600, 460.0f}, {1000, 500.0f}, {1400, 540.0f}});
  for (const auto& [kind, tolerance] : {std::pair{kLinearKind, 1e-3}, {kSplineKind, 2e-3}}) {
    const CalResiduals r = LeaveOneOutResiduals(p, kind);
    ASSERT_EQ(r.lines.size(), 4u);
    for (const CalResidual& line : r.lines) {
      ASSERT_TRUE(line.diffNm.has_value());
      EXPECT_NEAR(*line.diffNm, *line.tableNm - line.lambda, 1e-9);
      EXPECT_NEAR(*line.diffNm, 0.0, tolerance) << "kind " << kind << " ref " << line.number;
    }
    EXPECT_NEAR(*r.rmsNm, 0.0, tolerance);
  }
}

// By hand, linear method on (0, 400), (100, 500), (200, 700): without the
// middle line the segment (0, 400)-(200, 700) gives 550 at pixel 100; without
// the first, the slope 2 of the second segment gives 300 at 0; without the
// last, the slope 1 of the first gives 600 at 200. Unused entries between
// them and the references' numbers are kept.
TEST(LeaveOneOutResiduals, LinearHandValues) {
  CalPoints p = Points({{0, 400.0f}, {-1, 0.0f}, {100, 500.0f}, {200, 700.0f}});
  const CalResiduals r = LeaveOneOutResiduals(p, kLinearKind);
  ASSERT_EQ(r.lines.size(), 3u);
  const int numbers[] = {1, 3, 4};
  const double table[] = {300, 550, 600}, diff[] = {-100, 50, -100};
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(r.lines[k].number, numbers[k]);
    EXPECT_NEAR(*r.lines[k].tableNm, table[k], 1e-3);
    EXPECT_NEAR(*r.lines[k].diffNm, diff[k], 1e-3);
  }
  EXPECT_NEAR(*r.rmsNm, std::sqrt(7500.0), 1e-3);
}

// Two lines: left alone, neither can be checked.
TEST(LeaveOneOutResiduals, TwoLinesCannotBeChecked) {
  const CalResiduals r = LeaveOneOutResiduals(Points({{100, 450.0f}, {900, 600.0f}}), kSplineKind);
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_FALSE(r.lines[0].diffNm.has_value());
  EXPECT_FALSE(r.rmsNm.has_value());
}

}  // namespace
}  // namespace rovanel::optics
