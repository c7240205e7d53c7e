// Zoom and scrolling: the samples per column, the first sample shown, the
// scroll bar and the preview bar under the plot.
#include <algorithm>
#include <cmath>

#include "app/main_window.h"

namespace rovanel::app {

void TFp::SetScrollPosition(int p) {
  p = std::clamp(p, 0, std::max(deplacement.max, 0));
  if (p == deplacement.position) return;
  deplacement.position = p;
  deplacementChange();
}

void TFp::SetScrollMax(int max) {
  deplacement.max = max;
  SetScrollPosition(deplacement.position);
}

void TFp::SetZoom(std::int32_t points, std::int32_t wantedStep) {
  if (points < 512) return;
  const int smax = static_cast<int>(std::nearbyint(points / 512.0));
  plot_.SetZoomStep(std::max(1, std::min(wantedStep, smax)));
  tools.ZoomAff.caption = "1:" + std::to_string(plot_.ZoomStep());
  visufrontbar.width = static_cast<int>(std::nearbyint(100.0 * plot_.ZoomStep() / smax));
  const int large = std::clamp(512 * plot_.ZoomStep() / ScrollUnit, 1, 32767);
  deplacement.largeChange = large;
  deplacement.smallChange = std::max(1, large / 8);
  const int pmax = points / ScrollUnit - large;
  // Zooming keeps the middle of the view where the user left it.
  if (pmax > deplacement.position)
    SetScrollPosition(ViewCentre - large / 2);
  else
    SetScrollPosition(pmax);
  SetScrollMax(pmax);
  if (plot_.ZoomStep() < smax) SetScrollPosition(ViewCentre - large / 2);
  if (pmax > 0)
    visufrontbar.left =
        visubackbar.left +
        static_cast<int>(std::nearbyint(double(deplacement.position) / deplacement.max *
                                        (100 - visufrontbar.width)));
  if (Mode() != Experiment::Live) {
    if (Mode() == Experiment::Michelson)
      (tools.fft.down ? MiParams.FftStep : MiParams.Step) = plot_.ZoomStep();
    else
      (tools.fft.down ? ProfParams.FftStep : ProfParams.Step) = plot_.ZoomStep();
  }
  DrawCurves();
  Changed(kChangedCaptions | kChangedScrollBars);
}

void TFp::deplacementChange() {
  // With the whole curve in view there is nothing to slide the bar along.
  visufrontbar.left =
      deplacement.max > 0
          ? visubackbar.left +
                static_cast<int>(std::nearbyint(double(deplacement.position) / deplacement.max *
                                                (100 - visufrontbar.width)))
          : visubackbar.left;
  plot_.SetViewStart(deplacement.position * ScrollUnit);
  DrawCurves();
}

void TFp::deplacementScroll(int position) {
  SetScrollPosition(position);
  ViewCentre = deplacement.position + deplacement.largeChange / 2;
  Changed(kChangedCaptions | kChangedScrollBars);
}

void TFp::PumpWait(int ms, bool stopNow) {
  device::Clock& clock = box_.GetClock();
  const std::int64_t start = clock.NowUs();
  for (;;) {
    ui_->ProcessMessages();
    if (releasePending_) {
      releasePending_ = false;
      ZoomPlusMouseUp();
    }
    const std::int64_t now = clock.NowUs();
    if (now - start > std::int64_t{ms} * 1000 || stopNow || closed_) return;
    clock.SleepUntilUs(std::min(start + std::int64_t{ms} * 1000 + 1, now + 1000));
  }
}

void TFp::ZoomPlusMouseDown() {
  tools.ZoomPlus.down = true;
  Zooming = true;
  SetZoom(NbPoints, std::max(1, plot_.ZoomStep() - 1));
  PumpWait(500, false);
  while (Zooming && !closed_) {
    SetZoom(NbPoints, std::max(1, plot_.ZoomStep() - 1));
    PumpWait(20, false);
  }
}

void TFp::ZoomMoinsMouseDown() {
  tools.ZoomMoins.down = true;
  Zooming = true;
  const int cap = std::max(1, NbPoints / 512);
  SetZoom(NbPoints, std::min(plot_.ZoomStep() + 1, cap));
  PumpWait(500, false);
  while (Zooming && !closed_) {
    SetZoom(NbPoints, std::min(plot_.ZoomStep() + 1, cap));
    PumpWait(20, false);
  }
}

void TFp::ZoomPlusMouseUp() {
  Zooming = false;
  tools.ZoomPlus.down = tools.ZoomMoins.down = false;
}

void TFp::ZoomPlusClick() {
  releasePending_ = true;
  ZoomPlusMouseDown();
}

void TFp::ZoomMoinsClick() {
  releasePending_ = true;
  ZoomMoinsMouseDown();
}

void TFp::SpeedButton1Click() {
  SetZoom(NbPoints, 1);
}

void TFp::minizoomClick() {
  SetZoom(NbPoints, NbPoints / 512);
}

}  // namespace rovanel::app
