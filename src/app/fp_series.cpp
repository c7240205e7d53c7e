// The Michelson series: sensitivity, duration, and the acquisition from the
// USB box or the parallel-port box.
#include <algorithm>
#include <vector>

#include "acquisition/series_port.h"
#include "acquisition/series_session.h"
#include "acquisition/series_timing.h"
#include "app/gauge_progress.h"
#include "app/main_window.h"
#include "app/window_scopes.h"

namespace rovanel::app {

void TFp::ShowSeriesControls() {
  tools.InterAcc.caption = series.durationText;
  tools.NbPts.caption = series.nbPtsCaption;
  tools.NivPotar.caption = acquisition::LevelCaption(series.level);
}

void TFp::SetPortBox(bool portBox) {
  PortBox = portBox;
  // The duration rules of the series controls follow the box at once, not
  // at the next change of sensitivity.
  series.box = PortBox ? acquisition::BoxKind::kParallelPort : acquisition::BoxKind::kUsb;
  acquisition::UpdateDuration(series, true);
  ShowSeriesControls();
}

void TFp::SensiChanged() {
  SensiCode = acquisition::SensiCode(series.level);
  SensiLevelCur = series.level;
  box_.GetBoard().SetIntegrationTime(acquisition::IntegrationTimeMs(series.level));
  series.box = PortBox ? acquisition::BoxKind::kParallelPort : acquisition::BoxKind::kUsb;
  acquisition::UpdateDuration(series, true);
  ShowSeriesControls();
  DrawLegends();
  ui_->PictureChanged();
}

void TFp::SensiPlusClick() {
  series.level = acquisition::SensiPlus(series.level);
  SensiChanged();
}

void TFp::SensiMoinsClick() {
  series.level = acquisition::SensiMoins(series.level);
  SensiChanged();
}

void TFp::DureePlusClick() {
  series.durationText = tools.InterAcc.caption;
  acquisition::DureePlusClick(series);
  ShowSeriesControls();
}

void TFp::DureeMoinsClick() {
  series.durationText = tools.InterAcc.caption;
  acquisition::DureeMoinsClick(series);
  ShowSeriesControls();
}

void TFp::InterAccKeyPress(int key) {
  series.durationText = tools.InterAcc.caption;
  acquisition::InterAccKeyPress(series, key);
  ShowSeriesControls();
}

void TFp::NbPtsClick() {
  acquisition::NbPtsClick(series);
  ShowSeriesControls();
}

void TFp::startmiClick() {
  if (Mode() == Experiment::Live) {
    tools.rt.down = false;
    rtClick();
  }
  if (busy_) return;
  const LoopScope loop(*this);
  ui_->SetHourglass(true);
  MiParams.fftValid = false;
  series.durationText = tools.InterAcc.caption;
  series.box = PortBox ? acquisition::BoxKind::kParallelPort : acquisition::BoxKind::kUsb;
  const bool got = PortBox ? AcquireSeriePort() : AcquireSerieUsb();
  ShowSeriesControls();
  if (got && !closed_) {
    ShowAcquiredSeries(NbPoints);
    MeasurementChanged();
  }
  gjauge.ProgDisp = true;
  ui_->SetHourglass(false);
}

void TFp::ShowAcquiredSeries(std::int32_t points) {
  MiParams.NbPoints = points;
  // The zoom's drawing waits for the processed series: one picture.
  const DrawingHeld once(*this);
  SetZoom(points, points / 512);
  ProcessCurves();
}

void TFp::ShowSeriesGauge(int max, std::int32_t points) {
  gjauge.MaxValue = max;
  gjauge.MinValue = 0;
  gjauge.Result = false;
  gjauge.CancelVisible = true;
  gjauge.Show();
  gjauge.SetLigne1(tools.Message4.caption);
  gjauge.SetLigne2(acquisition::PointsLine(points, tools.Message5.caption));
  gjauge.SetPosition(0);
  SerieStop = false;
}

void TFp::HideSeriesGauge() {
  gjauge.CancelVisible = false;
  gjauge.Hide();
}

bool TFp::AcquireSerieUsb() {
  gjauge.ProgDisp = false;
  // A box lost since the last exchange is opened and identified again, as a
  // single acquisition does; with none answering the series does not start.
  acquisition::AcquisitionReport report;
  if (!EnsureBox(report)) {
    LastSeriesStatus = report.reconnect;
    ui_->StatusText(Text("ID_MES_INF_serie sans boitier", {std::to_string(report.reconnect)}));
    return false;
  }
  if (report.reconnectTried) ui_->StatusText(Text("ID_MES_INF_boitier reconnecte"));
  const int reconnects = box_.GetBoard().Reconnects();
  const acquisition::SeriesPlan plan = acquisition::PlanUsbSeries(series);
  const std::int32_t points = plan.points;
  MiParams.Duration = plan.duration;
  MiParams.Level = plan.level;
  MiParams.DurationCode = 0;
  SensiLevelCur = plan.level;
  SensiCode = plan.sensiCode;
  ShowSeriesGauge(points, points);

  // The series comes only at its end: meanwhile the window lives, the gauge
  // follows the time, and Cancel or closing the window gives the wait up.
  GaugeProgress progress(*this, {}, [this] { return SerieStop; });
  std::vector<std::uint16_t> words(static_cast<std::size_t>(points) + 1, 0);
  const device::Status s =
      acquisition::AcquireSeriesUsb(box_.GetBoard(), box_.GetClock(), points,
                                    acquisition::IntegrationTimeMs(plan.level), words, progress);
  LastSeriesStatus = s;
  HideSeriesGauge();
  // The board opened a box plugged in again on its own, on the way.
  if (box_.GetBoard().Reconnects() != reconnects && s == 0)
    ui_->StatusText(Text("ID_MES_INF_boitier reconnecte"));

  if (s == device::kCancelled) {
    ui_->StatusText(Text("ID_MES_INF_serie annulee"));
    return false;
  }
  NbPoints = points;
  MiParams.NbPoints = points;
  for (std::int32_t k = 1; k <= points; ++k)
    stores.MiSerieRaw.SetValue(static_cast<std::uint32_t>(k), static_cast<std::uint8_t>(words[k]));
  stores.MiSerieRaw.SetValue(0, stores.MiSerieRaw.GetValue(1));
  ReportSaturation(points);
  if (s != 0)
    ui_->StatusText(Text("ID_MES_INF_serie incomplete", {std::to_string(s)}));
  return true;
}

bool TFp::AcquireSeriePort() {
  device::TSmallPort& port = box_.Port();
  if (!port.Opened() && !port.Open()) {
    // Without the port the box can neither be told nor read: 12 s of zeros.
    ui_->Failed(Text("ID_MES_ERR_port parallele", {std::to_string(port.LastError())}));
    return false;
  }
  const acquisition::SeriesPlan plan = acquisition::PlanPortSeries(series);
  NbPoints = plan.points;
  MiParams.NbPoints = plan.points;
  MiParams.Level = plan.level;
  MiParams.Duration = plan.duration;
  MiParams.DurationCode = plan.durationCode;
  SensiLevelCur = plan.level;
  SensiCode = plan.sensiCode;
  ShowSeriesGauge(plan.duration + acquisition::kPortGaugeExtra, plan.points);
  GaugeProgress progress(*this);
  std::vector<std::uint8_t> samples(acquisition::kPortReadSamples, 0);
  acquisition::PortSeriesHooks hooks;
  // Cancel on the gauge shortens the wait as closing the window does.
  hooks.pumpMessages = [this, &progress] {
    progress.Pump();
    if (progress.CancelRequested()) SerieStop = true;
  };
  hooks.gauge = [&progress](int position, int) { progress.Tick(position); };
  acquisition::AcquireSeriePort(box_.Port(), box_.GetClock(), *WaitCalib, plan, SerieStop, hooks,
                                samples);
  for (std::int32_t k = 0; k < plan.points; ++k)
    stores.MiSerieRaw.SetValue(static_cast<std::uint32_t>(k), samples[k]);
  HideSeriesGauge();
  ReportSaturation(plan.points);
  return true;
}

void TFp::ReportSaturation(std::int32_t points) {
  std::int64_t saturated = 0;
  for (std::int32_t k = 0; k < points; ++k)
    saturated += stores.MiSerieRaw.GetValue(static_cast<std::uint32_t>(k)) == 255;
  if (saturated > 0)
    ui_->StatusText(
        Text("ID_MES_INF_saturation", {std::to_string(saturated), std::to_string(points)}));
}

}  // namespace rovanel::app
