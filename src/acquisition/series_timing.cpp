#include "acquisition/series_timing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace rovanel::acquisition {
namespace {

constexpr std::array<int, 16> kBitRev4 = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};

// The tables have 16 entries; a level outside them is held at the nearer end.
int HeldLevel(int level) {
  return std::clamp(level, kMinLevel, kMaxLevel);
}

// Nearest integer, halves to the even neighbour (the default rounding mode).
int Nearest(double x) {
  return static_cast<int>(std::nearbyint(x));
}

}  // namespace

double IntegrationTimeMs(int level) {
  return 10.0 + 2.5 * HeldLevel(level);
}

int SensiCode(int level) {
  return kBitRev4[static_cast<std::size_t>(HeldLevel(level))];
}

int SensiPlus(int level) {
  return std::min(level + 1, kMaxLevel);
}

int SensiMoins(int level) {
  return std::max(level - 1, kMinLevel);
}

std::string LevelCaption(int level) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%2d", level);
  return buf;
}

DurationGrid UsbGrid(int level) {
  const double t = IntegrationTimeMs(level);
  return {Nearest(0.512 * t), Nearest(0.512 * t * 255)};
}

DurationGrid PortGrid(int level, int points) {
  const double t = IntegrationTimeMs(level);
  return {Nearest(points * t / 1000), Nearest(points * t / 1000 * 64)};
}

int NormaliseUsbDuration(int duration, int level) {
  const double t = IntegrationTimeMs(level);
  const DurationGrid g = UsbGrid(level);
  if (g.max <= duration) duration = g.max;
  // Up to the next whole block (the half added makes nearest round up).
  double k = std::nearbyint(duration / (0.512 * t) + 0.5);
  if (k < 1) k = 1;
  return Nearest(k * t * 0.512);
}

int NormalisePortDuration(int duration, int level, int points) {
  const DurationGrid g = PortGrid(level, points);
  if (g.step <= 0) return duration;
  if (duration >= g.max) duration = g.max;
  if (duration % g.step != 0) duration = (duration / g.step + 1) * g.step;
  return std::clamp(duration, g.step, (kMaxPortRate + 1) * g.step);
}

int ParseDuration(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return -1;
  const auto last = text.find_last_not_of(' ');
  if (last - first + 1 > 9) return -1;  // beyond the edit's width; keeps int range
  int value = 0;
  for (auto i = first; i <= last; ++i) {
    const char ch = text[i];
    if (ch < '0' || ch > '9') return -1;
    value = value * 10 + (ch - '0');
  }
  return value;
}

int PortPoints(const std::string& caption) {
  return caption == "8192" ? 8192 : 4096;
}

int UpdateDuration(SeriesControls& c, bool keepRequest) {
  int d = c.durRequested;
  if (!keepRequest) {
    const int typed = ParseDuration(c.durationText);
    if (typed >= 0) d = typed;
    c.durRequested = d;
  }
  if (c.box == BoxKind::kParallelPort) {
    const int points = PortPoints(c.nbPtsCaption);
    const DurationGrid g = PortGrid(c.level, points);
    c.durStep = g.step;
    c.durMax = g.max;
    d = NormalisePortDuration(d, c.level, points);
  } else {
    const DurationGrid g = UsbGrid(c.level);
    c.durStep = g.step;
    c.durMax = g.max;
    d = NormaliseUsbDuration(d, c.level);
  }
  c.durationText = std::to_string(d);
  c.durValid = true;
  return d;
}

double SensiChanged(SeriesControls& c, int level) {
  c.level = HeldLevel(level);
  UpdateDuration(c, true);
  return IntegrationTimeMs(c.level);
}

double SensiPlusClick(SeriesControls& c) {
  return SensiChanged(c, SensiPlus(c.level));
}

double SensiMoinsClick(SeriesControls& c) {
  return SensiChanged(c, SensiMoins(c.level));
}

namespace {

// The duration the edit shows; the request when its text is unreadable.
int ShownDuration(const SeriesControls& c) {
  const int d = ParseDuration(c.durationText);
  return d >= 0 ? d : c.durRequested;
}

}  // namespace

int DureePlusClick(SeriesControls& c) {
  // One second short of a step: the normalisation rounds it up onto the grid.
  c.durationText = std::to_string(std::min(ShownDuration(c) + c.durStep - 1, c.durMax));
  return UpdateDuration(c, false);
}

int DureeMoinsClick(SeriesControls& c) {
  const int v = ShownDuration(c) - c.durStep - 1;
  c.durationText = std::to_string(v > c.durStep ? v : c.durStep);
  return UpdateDuration(c, false);
}

bool InterAccKeyPress(SeriesControls& c, int key) {
  c.durValid = false;
  if (key != kEnterKey) return false;
  UpdateDuration(c, false);
  return true;
}

void NbPtsClick(SeriesControls& c) {
  c.nbPtsCaption = c.nbPtsCaption != "4096" ? "4096" : "8192";
  UpdateDuration(c, true);
}

int DurationCode(int duration, int durStep) {
  if (durStep <= 0) return 0;
  return duration / durStep - 1;
}

namespace {

// The normalised duration the edit shows, normalising first when it was
// edited since.
int SeriesDuration(SeriesControls& c) {
  if (!c.durValid) UpdateDuration(c, false);
  const int d = ParseDuration(c.durationText);
  return d >= 0 ? d : UpdateDuration(c, true);
}

}  // namespace

SeriesPlan PlanUsbSeries(SeriesControls& c) {
  SeriesPlan p;
  p.duration = SeriesDuration(c);
  p.level = c.level;
  p.sensiCode = SensiCode(c.level);
  const int n = Nearest(p.duration / (IntegrationTimeMs(c.level) * 0.512));
  p.points = kBlockSamples * n;
  p.durationCode = 0;  // the USB box samples every integration period
  p.blocks = n;
  return p;
}

SeriesPlan PlanPortSeries(SeriesControls& c) {
  SeriesPlan p;
  p.duration = SeriesDuration(c);
  p.level = c.level;
  p.sensiCode = SensiCode(c.level);
  p.points = PortPoints(c.nbPtsCaption);
  p.durationCode = DurationCode(p.duration, c.durStep);
  p.blocks = p.points / kBlockSamples;
  return p;
}

double SampleSeconds(std::int64_t i, int level, int durationCode) {
  return static_cast<double>(i) * (durationCode + 1) * IntegrationTimeMs(level) / 1000;
}

double SpectrumHertz(std::int64_t i, int fftSize, int level, int durationCode) {
  const double f = static_cast<double>(fftSize) * IntegrationTimeMs(level) * (durationCode + 1);
  if (f == 0) return 0;
  return static_cast<double>(i) * 1000 / f;
}

std::string PointsLine(int points, const std::string& word) {
  return std::to_string(points) + " " + word;
}

}  // namespace rovanel::acquisition
