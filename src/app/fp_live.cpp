// The live view: frames read as fast as the box sends them, every fourth
// pixel shown, a light processing chain, until the button comes up.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "app/main_window.h"
#include "signal/fft.h"
#include "signal/filters.h"
#include "signal/lut.h"

namespace rovanel::app {

namespace {

constexpr int kLivePoints = 512;

// Stretch of the live values: (v - lo) * 255 / (hi - lo), to nearest.
void StretchRt(std::span<std::uint8_t> v) {
  const auto [lo, hi0] = std::minmax_element(v.begin(), v.end());
  const int lo_ = *lo;
  const int hi = *hi0 == lo_ ? lo_ + 1 : *hi0;
  for (auto& x : v) x = static_cast<std::uint8_t>(std::nearbyint((x - lo_) * 255.0 / (hi - lo_)));
}

// Reference correction of the live values: the reference's pixel 4j.
void CorrectByReferenceRt(std::span<std::uint8_t> v, std::span<std::uint8_t> reference) {
  for (auto& r : reference)
    if (r == 0) r = 1;
  for (std::size_t j = 0; j < v.size(); ++j) {
    const double c = std::nearbyint(v[j] * 255.0 / reference[4 * j]);
    v[j] = static_cast<std::uint8_t>(std::min(c, 255.0));
  }
}

}  // namespace

device::Status TFp::AcquireFrameRt() {
  std::array<std::uint16_t, kFrameBlockSize> words{};
  device::Board& board = box_.GetBoard();
  // The frame asked for at the last pass (or a fresh one); the next is asked
  // for at once, so the box integrates while this one is processed and
  // drawn: the frames come at the box's rate.
  const device::Status status = board.FinishFrame(words);
  // A frame that did not arrive leaves the last one shown.
  if (status != 0) return status;
  board.StartFrame();  // a failure shows at the next pass
  for (int j = 0; j < kPixels; ++j) liveFrame_[j] = static_cast<std::uint8_t>(words[j]);
  liveFrameValid_ = true;
  signal::Curve& live = curves_.Shown(curves_.Count());
  for (int j = 0; j < kLivePoints; ++j) live[j] = static_cast<std::uint8_t>(words[4 * j]);
  return status;
}

void TFp::LiveFrameFailed(device::Status status) {
  device::Clock& clock = box_.GetClock();
  const std::int64_t now = clock.NowUs();
  if (!liveFailing_) {
    liveFailing_ = true;
    liveRetryUs_ = now;
    ui_->StatusText(Text("ID_MES_INF_direct interrompu", {std::to_string(status)}));
  }
  // Once a second the box is opened and identified again, as a single
  // acquisition would; in between the loop waits with the window alive
  // rather than spin on a box that answers nothing at once.
  if (now >= liveRetryUs_ && !box_.GetBoard().Identified()) {
    liveRetryUs_ = now + kLiveRetryUs;
    acquisition::AcquisitionReport report;
    if (EnsureBox(report)) {
      liveFailing_ = false;
      ui_->StatusText(Text("ID_MES_INF_boitier reconnecte"));
      return;
    }
  }
  const std::int64_t until = clock.NowUs() + kLiveBackOffUs;
  for (std::int64_t t = clock.NowUs(); t < until && !RtStopped && !closed_; t = clock.NowUs()) {
    ui_->ProcessMessages();
    clock.SleepUntilUs(std::min(until, t + 10'000));
  }
}

void TFp::rtFreezeClick() {
  if (Mode() != Experiment::Live || !liveFrameValid_) return;
  // As a single acquisition would have left it: the frame in the last slot.
  curves_.Raw(curves_.Count()) = liveFrame_;
  ProfParams.fftValid = false;
  ProfParams.Averaged = false;
  tools.rt.down = false;
  rtClick();
  MeasurementChanged();
}

void TFp::rtClick() {
  Tools& t = tools;
  for (Control* c : {&t.ouvrir, &t.Sauver, &t.imprimer, &t.picd, &t.picg, &t.superposition,
                     &t.suppression, &t.Imprimer1, &t.Fichier1})
    c->enabled = false;
  t.superposition.down = false;
  plot_.PeakCircle().visible = false;
  t.pics.enabled = Mode() != Experiment::Live;
  t.pics.down = false;
  RtStopped = Mode() != Experiment::Live;

  if (Mode() != Experiment::Live) {
    // The stop: the full-resolution data come back, the mode is set up again.
    if (Mode() == Experiment::Michelson) {
      signal::CopySamples(stores.MiSerie, stores.MiSerieRaw,
                          static_cast<std::uint32_t>(std::max(MiParams.NbPoints, 0)));
    } else {
      curves_.Shown(curves_.Count()) = curves_.Raw(curves_.Count());
    }
    t.rtFreeze.enabled = false;
    SetupAndProcess();
    return;
  }
  if (liveRunning_) return;
  liveRunning_ = true;
  liveFrameValid_ = false;
  t.rtFreeze.enabled = true;
  // The buttons the live view disables, shown so before its first frame.
  Changed(kChangedAll);
  NbPoints = RtParams.NbPoints;
  SetZoom(RtParams.NbPoints, RtParams.Step);
  t.FileNom.caption.clear();
  ViewCentre = 0;
  char label[48];
  liveFailing_ = false;
  for (;;) {
    if (const device::Status status = AcquireFrameRt(); status != 0) {
      LiveFrameFailed(status);
      if (RtStopped || closed_) break;
    } else if (liveFailing_) {
      liveFailing_ = false;  // frames arrive again: the box came back
      ui_->StatusText(Text("ID_MES_INF_boitier reconnecte"));
    }
    std::span<std::uint8_t> live(curves_.Shown(curves_.Count()).data(), kLivePoints);
    if (t.fft.down) {
      std::snprintf(label, sizeof label, " %8.2f/m", affichage.GridStep / 28672.0 * 62500 / 7);
      t.PasGrid.caption = label;
      affichage.XUnit = "/m";
      signal::FftArrays arrays{stores.FftData, stores.FftWork, stores.FftTwiddles};
      signal::ComputeSpectrumRealTime(live, arrays,
                                      std::span<std::uint8_t>(live.data(), 2 * kLivePoints));
      for (Control* c : {&t.calibration, &t.invert, &t.filtrage}) {
        c->down = false;
        c->enabled = false;
      }
    } else {
      if (Mode() == Experiment::Spectrometry) {
        affichage.XUnit = "nm";
        std::snprintf(label, sizeof label, " %dnm", 30);
      } else {
        affichage.XUnit = ProfParams.UnitX;
        std::snprintf(label, sizeof label, " %dµm", affichage.GridStep);
      }
      t.PasGrid.caption = label;
      if (Mode() != Experiment::Michelson) {
        for (Control* c : {&t.calibration, &t.filtrage, &t.invert, &t.Grid}) c->enabled = true;
        t.calibration.down = ProfParams.calibration;
        t.filtrage.down = ProfParams.filtrage;
        t.invert.down = ProfParams.invert;
        t.Grid.down = ProfParams.Grid;
      }
      if (t.spCalY.down) CorrectByReferenceRt(live, SpectroParams.RefSpectrum);
      if (t.calibration.down) StretchRt(live);
      if (t.lutln.down)
        signal::ApplyLut(signal::LutTable(signal::LutKind::Logarithmic, OptoParams.CoefLn), live);
      if (t.lutexp.down)
        signal::ApplyLut(signal::LutTable(signal::LutKind::Exponential, OptoParams.CoefExp), live);
      if (affichage.YScaleKind == "ln") {
        StretchRt(live);
        signal::LogLevels(live);
      }
      if (t.invert.down) signal::InvertLevels(live);
      // Only the live values: the stored curves are not reprocessed here, so
      // smoothing them on every pass would wear them down.
      const bool skip = SimulationShown() && curves_.Count() == 1;
      if (t.filtrage.down && !skip) signal::Smooth3(live, (ProfParams.FilterOrder + 2) / 4);
    }
    DrawCurves();
    ui_->ProcessMessages();
    if (RtStopped || closed_) break;
  }
  // The frame asked for last is taken and dropped: the box is left idle.
  box_.GetBoard().DropStartedFrame();
  liveRunning_ = false;
}

}  // namespace rovanel::app
