#include "display/plot_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rovanel::display {
namespace {

// Sizes in millimetres and points, scaled to the device by its dpi: the
// same for the page and the screen.
constexpr double kTickPt = 8, kLegendPt = 9;
constexpr double kYLabelRoomMm = 12;
constexpr Rgb kGridGrey{200, 200, 200};

struct Units {
  double dpi;
  double Mm(double mm) const { return mm * dpi / 25.4; }
  double Pt(double pt) const { return pt * dpi / 72.0; }
};

std::string FormatNumber(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

// The part of the frame the curves use.
PageFrame CurveFrame(const PageFrame& f, const PlotOptions& o) {
  PageFrame c = f;
  if (o.upperHalf) c.height = f.height / 2;
  return c;
}

// +1 when x never falls over its first n samples, -1 when it never rises,
// 0 otherwise (NaN included).
int Order(const std::vector<double>& x, std::size_t n) {
  bool rising = true, falling = true;
  for (std::size_t i = 0; i + 1 < n && (rising || falling); ++i) {
    rising = rising && x[i] <= x[i + 1];
    falling = falling && x[i] >= x[i + 1];
  }
  return rising ? 1 : falling ? -1 : 0;
}

// Where the X ticks fall, as fractional sample indices: the tick value is
// found in the first pair of neighbouring entries of `x` that holds it, as
// x rises or falls. On an ordered x (`order` from Order) that pair is found
// by bisection: a series has 131 072 samples and a dozen ticks.
std::optional<double> FractionalIndex(const std::vector<double>& x, std::size_t n, int order,
                                      double t, double tolerance) {
  if (n == 1) return std::abs(x[0] - t) <= tolerance ? std::optional<double>(0.0) : std::nullopt;
  const auto holds = [&](std::size_t i) {
    const double a = x[i], b = x[i + 1];
    return t >= std::min(a, b) - tolerance && t <= std::max(a, b) + tolerance;
  };
  std::size_t i = 0;
  if (order != 0) {
    // The first pair whose far end reaches t; no pair before it holds t,
    // and if it does not, none after it does.
    const auto first = std::partition_point(x.begin() + 1, x.begin() + static_cast<std::ptrdiff_t>(n),
                                            [&](double b) {
                                              return order > 0 ? !(t <= b + tolerance)
                                                               : !(t >= b - tolerance);
                                            });
    i = first == x.begin() + 1 ? 0 : static_cast<std::size_t>(first - x.begin()) - 1;
    if (i + 1 >= n || !holds(i)) return std::nullopt;
  } else {
    while (i + 1 < n && !holds(i)) ++i;
    if (i + 1 >= n) return std::nullopt;
  }
  const double a = x[i], b = x[i + 1];
  if (a == b) return static_cast<double>(i);
  return i + std::clamp((t - a) / (b - a), 0.0, 1.0);
}

void DrawAxes(PagePainter& p, const PrintPage& page, const PageStyle& style, const PageFrame& f,
              const PlotOptions& o, const Units& u) {
  const double right = f.left + f.width, bottom = f.top + f.height;
  const AxisTicks ticks = PlotTicks(page, f, o);
  p.SetPen({style.colour ? kGridGrey : kBlack, style.gridWidthPt,
            style.colour ? LinePattern::Solid : LinePattern::Dot});
  const double tick = u.Mm(1.5);
  for (const AxisTick& t : ticks.x) {
    if (o.gridLines) {
      p.Line({t.at, f.top}, {t.at, bottom});
    } else {
      p.Line({t.at, bottom - tick}, {t.at, bottom});
      p.Line({t.at, f.top}, {t.at, f.top + tick});
    }
  }
  for (const AxisTick& t : ticks.y) {
    if (o.gridLines) {
      p.Line({f.left, t.at}, {right, t.at});
    } else {
      p.Line({f.left, t.at}, {f.left + tick, t.at});
      p.Line({right - tick, t.at}, {right, t.at});
    }
  }

  // Texts take the pen's colour on some devices: black, whatever the grid.
  const PageFont tickFont{kTickPt, false};
  p.SetPen({kBlack, 0.5, LinePattern::Solid});
  for (const AxisTick& t : ticks.x)
    p.Text({t.at, bottom + u.Mm(4.5)}, t.label, tickFont, Align::Centre);
  for (const AxisTick& t : ticks.y)
    p.Text({f.left - u.Mm(1.5), t.at + u.Mm(1)}, t.label, tickFont, Align::Right);
  p.Text({f.left + f.width / 2, bottom + u.Mm(9.5)}, page.xLegend, {kLegendPt, false},
         Align::Centre);
  const std::string yLegend = page.yLegend.empty() ? "(%)" : page.yLegend + " (%)";
  p.Text({f.left - u.Mm(kYLabelRoomMm), f.top - u.Mm(4)}, yLegend, {kLegendPt, false},
         Align::Left);
}

// The polyline of a curve: every sample while they are fewer than two per
// device dot; beyond, each dot's first, lowest, highest and last samples in
// their order, which draws the same ink with far fewer vertices.
void CurvePoints(const PageFrame& f, std::size_t span, const std::vector<double>& levels,
                 std::vector<PagePoint>& points) {
  points.clear();
  const std::size_t n = std::min(levels.size(), span);
  const bool thin = static_cast<double>(n) > 2 * f.width;
  std::size_t i = 0;
  while (i < n) {
    if (!thin) {
      points.push_back(SamplePoint(f, span, static_cast<double>(i), levels[i]));
      ++i;
      continue;
    }
    const double dot = std::floor(SamplePoint(f, span, static_cast<double>(i), 0).x);
    std::size_t end = i + 1, low = i, high = i;
    while (end < n && std::floor(SamplePoint(f, span, static_cast<double>(end), 0).x) == dot) {
      if (levels[end] < levels[low]) low = end;
      if (levels[end] > levels[high]) high = end;
      ++end;
    }
    std::size_t picks[] = {i, std::min(low, high), std::max(low, high), end - 1};
    for (std::size_t j = 0; j < 4; ++j)
      if (j == 0 || picks[j] != picks[j - 1])
        points.push_back(SamplePoint(f, span, static_cast<double>(picks[j]), levels[picks[j]]));
    i = end;
  }
}

// Under the last curve, each sample's bar in the colour of its wavelength
// (colour pages only); the grid is drawn over it.
void DrawSpectrumFill(PagePainter& p, const PrintPage& page, const PageStyle& style,
                      const PageFrame& f) {
  if (!style.colour || page.curves.empty()) return;
  const std::vector<double>& levels = page.curves.back().levels;
  const std::size_t span = std::max<std::size_t>(page.span, 1);
  const std::size_t n = std::min({levels.size(), page.sampleColours.size(), span});
  const double bottom = f.top + f.height;
  for (std::size_t i = 0; i < n; ++i) {
    // Outside the visible range the colour is black: no ink for it.
    if (page.sampleColours[i] == kBlack) continue;
    const PagePoint top = SamplePoint(f, span, static_cast<double>(i), levels[i]);
    const double right = SamplePoint(f, span, static_cast<double>(i + 1), 0).x;
    // Half a dot of overlap: antialiased neighbours leave no pale seam.
    p.FillRect(top.x, top.y, right - top.x + 0.5, bottom - top.y, page.sampleColours[i]);
  }
}

// A level as SamplePoint takes it: NaN and below 0 at 0, above 255 at 255.
double ClampedLevel(double level) {
  return level >= 0 ? std::min(level, 255.0) : 0.0;
}

// One bar a dot: from the highest to the lowest level of the dot's samples
// and the last sample of the dot before, so the bars join as the line would.
// Each dot's samples are found from its edges and its bar from its extreme
// levels (the heights fall as the levels rise), not sample by sample.
void CurveBars(PagePainter& p, const PageFrame& f, std::size_t span,
               const std::vector<double>& levels, Rgb colour, double penWidth) {
  const std::size_t n = std::min(levels.size(), span);
  const double s = static_cast<double>(std::max<std::size_t>(span, 1));
  // The dot of a sample, computed as SamplePoint computes its x.
  const auto dotOf = [&](std::size_t i) {
    return std::floor(f.left + f.width * static_cast<double>(i) / s);
  };
  const auto heightOf = [&](double level) { return SamplePoint(f, span, 0, level).y; };
  std::vector<PageRect> bars;
  std::size_t i = 0;
  std::optional<double> previous;
  while (i < n) {
    const double dot = dotOf(i);
    // The first sample of the next dot: guessed from the dot's right edge,
    // then settled by the exact formula.
    const double guess = f.width > 0 ? std::ceil((dot + 1 - f.left) * s / f.width) : s;
    std::size_t end = guess < static_cast<double>(n) ? static_cast<std::size_t>(std::max(guess, 0.0)) : n;
    end = std::max(end, i + 1);
    while (end > i + 1 && dotOf(end - 1) != dot) --end;
    while (end < n && dotOf(end) == dot) ++end;
    double low = ClampedLevel(levels[i]), high = low;
    for (std::size_t k = i + 1; k < end; ++k) {
      const double level = ClampedLevel(levels[k]);
      low = std::min(low, level);
      high = std::max(high, level);
    }
    double top = heightOf(high), bottom = heightOf(low);
    if (previous) {
      top = std::min(top, *previous);
      bottom = std::max(bottom, *previous);
    }
    previous = heightOf(levels[end - 1]);
    // Whole dots: a rectangle on the device's grid fills without coverage
    // sums.
    const double y0 = std::floor(top - penWidth / 2), y1 = std::ceil(bottom + penWidth / 2);
    bars.push_back({dot, y0, 1, y1 - y0});
    i = end;
  }
  p.FillRects(bars, colour);
}

void DrawCurves(PagePainter& p, const PrintPage& page, const PageStyle& style, const PageFrame& f,
                const PlotOptions& o, const Units& u) {
  const std::size_t span = std::max<std::size_t>(page.span, 1);
  std::vector<PagePoint> points;
  for (std::size_t k = 0; k < page.curves.size(); ++k) {
    const PageCurve& c = page.curves[k];
    const Rgb colour = style.colour ? c.colour : kBlack;
    const std::size_t n = std::min(c.levels.size(), span);
    if (o.denseBars && style.colour && static_cast<double>(n) > 2 * f.width) {
      CurveBars(p, f, span, c.levels, colour, u.Pt(style.curveWidthPt));
      continue;
    }
    p.SetPen({colour, style.curveWidthPt,
              style.colour ? LinePattern::Solid : BlackAndWhitePattern(k)});
    CurvePoints(f, span, c.levels, points);
    if (!points.empty()) p.Polyline(points);
  }
}

void DrawMarks(PagePainter& p, const PrintPage& page, const PageStyle& style, const PageFrame& f,
               const PageFrame& curves, const PlotOptions& o, const Units& u) {
  const double right = f.left + f.width, bottom = f.top + f.height;
  p.SetPen(o.cursorPen.value_or(
      PagePen{style.colour ? kRed : kBlack, 0.5, LinePattern::Dash}));
  for (double c : page.cursorsX) {
    if (!(c >= 0 && c <= 1)) continue;
    const double x = f.left + f.width * c;
    p.Line({x, f.top}, {x, bottom});
  }
  for (double c : page.cursorsY) {
    if (!(c >= 0 && c <= 1)) continue;
    const double y = f.top + f.height * c;
    p.Line({f.left, y}, {right, y});
  }

  if (page.curves.empty() || page.peaks.empty()) return;
  const std::vector<double>& levels = page.curves.back().levels;
  const std::size_t span = std::max<std::size_t>(page.span, 1);
  p.SetPen({style.colour ? kRed : kBlack, 0.75, LinePattern::Solid});
  for (std::size_t k = 0; k < page.peaks.size(); ++k) {
    const std::size_t i = page.peaks[k];
    if (i >= levels.size() || i >= span) continue;
    const PagePoint at = SamplePoint(curves, span, static_cast<double>(i), levels[i]);
    // The tick clears the circle of the selected peak.
    p.Line({at.x, at.y - u.Mm(2.5)}, {at.x, at.y - u.Mm(5.5)});
    if (page.selectedPeak == k) p.Ellipse(at, u.Mm(2), u.Mm(2));
  }
}

// Top right inside the frame: a sample of each curve's pen, its number and
// its name, on a white box that hides the curves under it.
void DrawLegend(PagePainter& p, const PrintPage& page, const PageStyle& style, const PageFrame& f,
                const PlotOptions& o, const Units& u) {
  if (!o.legend || page.curves.size() < 2) return;
  const PageFont font{kTickPt, false};
  const double pitch = u.Pt(kTickPt) * 1.4, line = u.Mm(6), pad = u.Mm(1.5);
  std::vector<std::string> texts;
  double textWidth = 0;
  for (std::size_t k = 0; k < page.curves.size(); ++k) {
    std::string t = std::to_string(k + 1);
    if (k < o.names.size() && !o.names[k].empty()) t += "  " + o.names[k];
    textWidth = std::max(textWidth, p.TextWidth(t, font));
    texts.push_back(std::move(t));
  }
  const double w = pad * 3 + line + textWidth, h = pad * 2 + pitch * texts.size();
  const double x = f.left + f.width - w - u.Mm(1), y = f.top + u.Mm(1);
  p.FillRect(x, y, w, h, kWhite);
  p.SetPen({kBlack, 0.5, LinePattern::Solid});
  p.Rect(x, y, w, h);
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const double mid = y + pad + pitch * (k + 0.5);
    p.SetPen({style.colour ? page.curves[k].colour : kBlack, style.curveWidthPt * 1.5,
              style.colour ? LinePattern::Solid : BlackAndWhitePattern(k)});
    p.Line({x + pad, mid}, {x + pad + line, mid});
    p.SetPen({kBlack, 0.5, LinePattern::Solid});
    p.Text({x + pad * 2 + line, mid + u.Pt(kTickPt) * 0.35}, texts[k], font, Align::Left);
  }
}

}  // namespace

PageFrame ScreenFrame(double width, double height, double dpi) {
  const Units u{dpi};
  PageFrame f;
  f.left = u.Mm(kYLabelRoomMm + 1);
  f.top = u.Mm(7);
  f.width = std::max(0.0, width - f.left - u.Mm(5));
  f.height = std::max(0.0, height - f.top - u.Mm(12));
  return f;
}

int XTicksFor(const PageFrame& frame, double dpi) {
  // About one label every 22 mm.
  return std::clamp(static_cast<int>(frame.width / Units{dpi}.Mm(22)), 2, 16);
}

int YTicksFor(const PageFrame& frame, double dpi) {
  // 20 % steps on small plots, 10 % once there is room for them.
  return frame.height >= Units{dpi}.Mm(60) ? 10 : 5;
}

AxisTicks PlotTicks(const PrintPage& page, const PageFrame& frame, const PlotOptions& options) {
  AxisTicks ticks;
  const std::size_t span = std::max<std::size_t>(page.span, 1);
  const std::size_t n = std::min(page.x.size(), span);
  if (n > 0) {
    const double a = page.x.front(), b = page.x[n - 1];
    const int order = Order(page.x, n);
    for (double t : NiceTicks(a, b, options.xTicksWanted)) {
      const auto index = FractionalIndex(page.x, n, order, t, 1e-9 * std::abs(b - a));
      if (!index) continue;
      ticks.x.push_back({t, frame.left + frame.width * *index / span, FormatNumber(t)});
    }
  }
  const PageFrame c = CurveFrame(frame, options);
  for (double t : NiceTicks(0, 100, options.yTicksWanted))
    ticks.y.push_back({t, c.top + c.height * (1 - t / 100), FormatNumber(t)});
  return ticks;
}

std::optional<PageRect> BandArea(const PageFrame& frame, const PlotOptions& options) {
  const Canvas* band = options.band;
  if (!options.upperHalf || band == nullptr || options.bandTop < 0 ||
      options.bandTop >= band->Height())
    return std::nullopt;
  const PageFrame curves = CurveFrame(frame, options);
  const PageRect area{frame.left, frame.top + curves.height, frame.width,
                      frame.height - curves.height};
  if (area.w <= 0 || area.h <= 0) return std::nullopt;
  return area;
}

void DrawPlot(PagePainter& painter, const PrintPage& page, const PageStyle& style,
              const PageFrame& frame, const PlotOptions& options) {
  const Units u{painter.Dpi()};
  const PageFrame curves = CurveFrame(frame, options);
  if (const auto band = BandArea(frame, options))
    painter.Picture(band->x, band->y, band->w, band->h, *options.band, options.bandTop,
                    options.band->Height() - options.bandTop);
  DrawSpectrumFill(painter, page, style, curves);
  DrawAxes(painter, page, style, frame, options, u);
  DrawCurves(painter, page, style, curves, options, u);
  DrawMarks(painter, page, style, frame, curves, options, u);
  painter.SetPen({kBlack, 0.75, LinePattern::Solid});
  painter.Rect(frame.left, frame.top, frame.width, frame.height);
  DrawLegend(painter, page, style, frame, options, u);
}

PagePoint PlotToDevice(const PageFrame& frame, double column, double row) {
  return {frame.left + frame.width * column / kPlotColumns,
          frame.top + frame.height * row / kLastPlotRow};
}

namespace {
int Whole(double v) {
  return static_cast<int>(std::clamp(v, -1e6, 1e6));
}
}  // namespace

PlotPixel DeviceToPlot(const PageFrame& frame, double x, double y) {
  if (!(frame.width > 0) || !(frame.height > 0)) return {-1, -1};
  return {Whole(std::floor((x - frame.left) * kPlotColumns / frame.width)),
          Whole(std::round((y - frame.top) * kLastPlotRow / frame.height))};
}

PlotPixel ScaledPixelToPlot(const PageFrame& frame, double scale, double x, double y) {
  if (!(scale > 0)) return {-1, -1};
  return {Whole(std::floor((x - frame.left) / scale)), Whole(std::floor((y - frame.top) / scale))};
}

}  // namespace rovanel::display
