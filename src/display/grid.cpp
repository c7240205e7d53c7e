#include "display/grid.h"

#include <algorithm>
#include <cmath>

namespace rovanel::display {

namespace {

constexpr int kPitchUm = 14;
constexpr int kPlotWidth = 512;

}  // namespace

std::array<int, 6> GridRows(bool bandMode) {
  std::array<int, 6> rows{};
  for (int i = 0; i < 6; ++i)
    rows[static_cast<std::size_t>(i)] =
        bandMode ? static_cast<int>(std::nearbyint(128.0 - 25.5 * i)) : 255 - 51 * i;
  return rows;
}

void DrawGrid(Canvas& canvas, const GridParams& p) {
  for (int y : GridRows(p.bandMode)) {
    canvas.MoveTo(0, y);
    canvas.LineTo(kPlotWidth, y);
  }
  if (p.gridStepUm <= 0) return;
  const long long m = p.realTime ? 4 : std::max(p.zoomStep, 1);
  const long long pitch = p.gridStepUm;
  const long long n = m * 7168 / pitch;
  // Distance in µm from the last line before column 0 to column 0's sample:
  // f*pitch, with f = frac(viewStart / (m*d)) the phase of the lines.
  const long long offset = (kPitchUm * static_cast<long long>(std::max(p.viewStart, 0))) % pitch;
  const double columnUm = static_cast<double>(kPitchUm * m);
  const int bottom = p.bandMode ? 128 : 256;
  for (long long j = 0; j <= n; ++j) {
    // One division of two exact integers: a true half stays a half.
    const double x = std::nearbyint(static_cast<double>((j + 1) * pitch - offset) / columnUm);
    if (x >= canvas.Width()) break;
    const int xi = static_cast<int>(x);
    canvas.MoveTo(xi, 0);
    canvas.LineTo(xi, bottom);
  }
}

void MakeSPGrid(Canvas& canvas, std::span<const float> lambdaTab, const SpGridParams& p) {
  for (int y : GridRows(p.halfHeight)) {
    canvas.MoveTo(0, y);
    canvas.LineTo(kPlotWidth - 1, y);
  }
  if (lambdaTab.empty()) return;
  const bool rising = lambdaTab.front() < lambdaTab.back();
  const double step = rising ? kSpGridStepNm : -kSpGridStepNm;
  double mark = std::nearbyint(static_cast<double>(lambdaTab.front())) + step;
  const long long m = p.realTime ? 4 : std::max(p.zoomStep, 1);
  const int bottom = p.halfHeight ? 127 : 255;
  for (int x = 0; x < kPlotWidth; ++x) {
    const long long pixel = static_cast<long long>(p.viewStart) + x * m;
    if (pixel < 0 || pixel >= static_cast<long long>(lambdaTab.size())) break;
    const double lambda = lambdaTab[static_cast<std::size_t>(pixel)];
    if (rising ? mark < lambda : mark > lambda) {
      canvas.MoveTo(x, 0);
      canvas.LineTo(x, bottom);
      mark += step;
    }
  }
}

}  // namespace rovanel::display
