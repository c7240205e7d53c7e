#include "display/legends.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <utility>

#include "signal/peaks.h"

namespace rovanel::display {

namespace {

// printf into a std::string; the texts here are short.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buf[128];
  const int n = std::snprintf(buf, sizeof buf, format, args...);
  return std::string(buf, static_cast<std::size_t>(std::clamp(n, 0, int{sizeof buf} - 1)));
}

}  // namespace

float ColumnScale(const ColumnScaleParams& p) {
  const double zoom = p.zoomStep;
  const double perFrameMs = p.integrationMs * (p.rateDividerMinusOne + 1.0);
  const std::string_view u = p.xUnit;
  if (u == "µm") return p.realTime ? 56.0f : static_cast<float>(zoom * 14.0);
  if (u == "mm") return p.realTime ? 0.056f : static_cast<float>(zoom * 14.0 / 1000.0);
  if (u == "pix") return p.realTime ? 4.0f : static_cast<float>(zoom);
  if (u == "s") return static_cast<float>(zoom * perFrameMs / 1000.0);
  if (u == "Hz") {
    const double f = p.fftSize * perFrameMs;
    return f == 0 ? 1.0f : static_cast<float>(zoom * 1000.0 / f);
  }
  if (u == "/m") return p.realTime ? 17.438616f : static_cast<float>(zoom * 1000000.0 / 28672.0);
  return 1.0f;
}

std::string AffUniteXText(std::string_view xUnit, std::string_view current) {
  static constexpr std::pair<std::string_view, std::string_view> kLegends[] = {
      {"µm", "X  ( µm )"}, {"mm", "X  ( mm )"},  {"s", "X  ( s )"},  {"pix", "X  ( n° )"},
      {"Hz", "X  ( Hz )"}, {"/m", "X  ( 1/m )"}, {"nm", "X  ( nm )"}};
  for (const auto& [unit, legend] : kLegends)
    if (xUnit == unit) return std::string(legend);
  return std::string(current);
}

std::string AffUniteYText(std::string_view yScaleKind) {
  return yScaleKind == "ln" ? "Ln ( Y )" : "Y";
}

std::string GridPitchLabel(int gridStepIndex) {
  static constexpr std::string_view kLabels[] = {"200µm", "500µm", "1mm", "2mm"};
  if (gridStepIndex < 0 || gridStepIndex >= static_cast<int>(std::size(kLabels))) return {};
  return std::string(kLabels[gridStepIndex]);
}

VerticalReadout VerticalReadouts(const VerticalReadoutParams& p) {
  const int zoom = std::max(p.zoomStep, 1);
  auto valueAt = [&](int column) -> double {
    if (p.xUnit == "nm") {
      const long long m = p.realTime ? 4 : zoom;
      const long long pixel = static_cast<long long>(p.viewStart) + column * m;
      if (pixel < 0 || pixel >= static_cast<long long>(p.lambdaTab.size())) return 0.0;
      return p.lambdaTab[static_cast<std::size_t>(pixel)];
    }
    return (static_cast<double>(p.viewStart) / zoom + column) * static_cast<double>(p.columnScale);
  };
  VerticalReadout r;
  r.x1 = valueAt(p.cursorX1);
  r.x2 = valueAt(p.cursorX2);
  const std::string unit(p.xUnit);
  r.texts.first = Format("X1 =%10.2f%s", r.x1, unit.c_str());
  r.texts.second = Format("X2 =%10.2f%s", r.x2, unit.c_str());
  r.texts.delta = Format("|X1-X2| =%10.2f%s", std::fabs(r.x1 - r.x2), unit.c_str());
  return r;
}

double RowPercent(int y, bool bandMode) {
  return (255.0 - (bandMode ? 2.0 * y : y)) / 255.0 * 100.0;
}

Readouts HorizontalReadouts(int cursorY1, int cursorY2, bool bandMode) {
  const double p1 = RowPercent(cursorY1, bandMode);
  const double p2 = RowPercent(cursorY2, bandMode);
  return Readouts{Format("Y1 = %5.0f%%", p1), Format("Y2 = %5.0f%%", p2),
                  Format("|Y1-Y2| = %5.0f%%", std::fabs(p1 - p2))};
}

int CountFringes(const signal::TLargeTab& peakMarks, const FringeSpan& s) {
  const long long zoom = std::max(s.zoomStep, 1);
  long long a = (s.viewStart / zoom + s.cursorX1) * zoom;
  long long b = (s.viewStart / zoom + s.cursorX2) * zoom;
  if (a > b) std::swap(a, b);
  if (b - a <= 4) return -1;
  const long long last = std::min<long long>(b, static_cast<long long>(peakMarks.Capacity()) - 1);
  int count = 0;
  for (long long i = std::max(a, 0LL); i <= last; ++i)
    if (peakMarks.GetValue(static_cast<std::uint32_t>(i)) == signal::kPeakMark) ++count;
  return count;
}

}  // namespace rovanel::display
