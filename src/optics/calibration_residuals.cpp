#include "optics/calibration_residuals.h"

#include <cmath>

namespace rovanel::optics {

CalResiduals LeaveOneOutResiduals(const CalPoints& points, std::int32_t kind) {
  const bool spline = kind == kSplineKind;
  const int read = spline ? kSplineCalPoints : kLinearCalPoints;
  CalResiduals out;
  double sum = 0;
  int counted = 0;
  for (int k = 0; k < read; ++k) {
    const CalPoint& p = points[static_cast<std::size_t>(k)];
    if (p.lambda == 0.0f || !ValidReferencePixel(p.pixel)) continue;
    CalResidual r;
    r.number = k + 1;
    r.pixel = p.pixel;
    r.lambda = p.lambda;
    CalPoints others = points;
    others[static_cast<std::size_t>(k)] = CalPoint{};
    LambdaTable table{};
    if (spline ? FillSpline(others, table) : FillLinear(others, table)) {
      r.tableNm = static_cast<double>(table[static_cast<std::size_t>(p.pixel)]);
      r.diffNm = *r.tableNm - static_cast<double>(p.lambda);
      sum += *r.diffNm * *r.diffNm;
      ++counted;
    }
    out.lines.push_back(r);
  }
  if (counted > 0) out.rmsNm = std::sqrt(sum / counted);
  return out;
}

}  // namespace rovanel::optics
