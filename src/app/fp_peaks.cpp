// Peak detection on the shown data and the visit of the visible peaks one
// by one with the marker and its read-outs.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "optics/x_scale.h"
#include "signal/peaks.h"
#include "signal/prominence.h"

namespace rovanel::app {

namespace {

std::string Format(const char* format, double value, const std::string& unit = {}) {
  char text[96];
  if (unit.empty())
    std::snprintf(text, sizeof text, format, value);
  else
    std::snprintf(text, sizeof text, format, value, unit.c_str());
  return text;
}

}  // namespace

void TFp::DetectShownPeaks() {
  ui_->SetHourglass(true);
  if (Mode() == Experiment::Michelson) {
    const std::uint32_t n = static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(MiParams.NbPoints, 0, stores.MiSerie.Capacity()));
    PeakCount = signal::DetectPeaks(stores.MiSerie, n, stores.PeakMarks, &stores.PeakFlags);
    if (PeakProminencePct > 0) {
      std::vector<std::uint8_t> series(n), marks(n);
      for (std::uint32_t i = 0; i < n; ++i) {
        series[i] = stores.MiSerie.GetValue(i);
        marks[i] = stores.PeakMarks.GetValue(i);
      }
      PeakCount = signal::KeepProminentMarks(series, marks, PeakProminencePct);
      for (std::uint32_t i = 0; i < n; ++i)
        if (marks[i] == 0) stores.PeakMarks.SetValue(i, 0);
    }
  } else if (std::uint8_t* work = stores.WorkTab.BlockData(0)) {
    // The last curve in WorkTab 0..2047, its marks in WorkTab 2048..4095.
    std::uint8_t* marks = stores.PeakMarks.BlockData(0);
    std::uint8_t* states = stores.PeakFlags.BlockData(0);
    const signal::Curve& last = curves_.Shown(curves_.Count());
    std::copy(last.begin(), last.end(), work);
    if (marks != nullptr && states != nullptr) {
      PeakCount = signal::DetectPeaks({work, kPixels}, {marks, kPixels}, {states, kPixels});
      PeakCount = signal::KeepProminentMarks({work, kPixels}, {marks, kPixels}, PeakProminencePct);
      std::copy(marks, marks + kPixels, work + kPixels);
    }
  }
  PeakIndex = 0;
  ui_->SetHourglass(false);
}

void TFp::picsClick() {
  if (Mode() == Experiment::Live) return;
  // The fringe count between the vertical cursors comes with the cursors.
  tools.nbfr.caption = "-";
  if (!tools.pics.down) {
    tools.picg.enabled = tools.picd.enabled = false;
    plot_.PeakCircle().visible = false;
    tools.picx.caption = tools.picy.caption = "-";
    DrawLegends();
    ui_->PictureChanged();
    return;
  }
  tools.picg.enabled = tools.picd.enabled = true;
  plot_.PeakCircle().visible = true;
  DetectShownPeaks();
  ShowPeak();
  DrawLegends();
  ui_->PictureChanged();
}

void TFp::picdClick() {
  ++PeakIndex;
  ShowPeak();
  ui_->PictureChanged();
}

void TFp::picgClick() {
  --PeakIndex;
  ShowPeak();
  ui_->PictureChanged();
}

void TFp::ShowPeak() {
  if (PeakIndex < 0) PeakIndex = 0;
  const bool mi = Mode() == Experiment::Michelson;
  const std::int64_t n =
      mi ? std::min<std::int64_t>(NbPoints, stores.PeakMarks.Capacity()) : std::int64_t{kPixels};
  const std::int64_t first = std::max<std::int64_t>(plot_.ViewStart(), 0);
  const std::int64_t last = std::min<std::int64_t>(n, first + std::int64_t{512} * plot_.ZoomStep());
  auto marked = [&](std::int64_t i) {
    const auto u = static_cast<std::uint32_t>(i);
    return mi ? stores.PeakMarks.GetValue(u) != 0 : stores.WorkTab.GetValue(u + kPixels) != 0;
  };
  // The visible peaks, counted; the index is 0-based among them.
  int count = 0;
  for (std::int64_t i = first; i < last; ++i) count += marked(i);
  if (PeakIndex >= count - 1) PeakIndex = std::max(count - 1, 0);
  plot_.PeakCircle().visible = count != 0;
  if (count == 0) return;
  std::int64_t sample = first;
  for (int seen = -1; sample < last; ++sample)
    if (marked(sample) && ++seen == PeakIndex) break;

  const std::uint8_t level = mi ? stores.MiSerie.GetValue(static_cast<std::uint32_t>(sample))
                                : curves_.Shown(curves_.Count())[static_cast<std::size_t>(sample)];
  plot_.PeakCircle().left = static_cast<int>((sample - plot_.ViewStart()) / plot_.ZoomStep()) - plot_.PeakCircle().width / 2 + 1;
  const int row = plot_.BandMode() ? 127 - level / 2 : 255 - level;
  plot_.PeakCircle().top = row - plot_.PeakCircle().height / 2 + 1;

  optics::XScale scale;
  scale.integrationMs = 10.0 + 2.5 * SensiLevelCur;
  scale.durationCode = MiParams.DurationCode;
  scale.points = MiParams.NbPoints;
  scale.lambda = stores.LambdaTab;
  const double x = optics::XOfSample(affichage.XUnit, sample, scale);
  tools.picx.caption = Format("Xp =%10.2f%s", x, affichage.XUnit);
  tools.picy.caption = Format("Ap =%4.0f%%", level / 255.0 * 100);
}

}  // namespace rovanel::app
