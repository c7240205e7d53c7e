// The Michelson series: sensitivity, duration, and the acquisition from the
// USB box or the parallel-port box.
#include <algorithm>
#include <vector>

#include "acquisition/series_port.h"
#include "acquisition/series_timing.h"
#include "app/main_window.h"

namespace rovanel::app {

void TFp::ShowSeriesControls() {
  tools.InterAcc.caption = series.durationText;
  tools.NbPts.caption = series.nbPtsCaption;
  tools.NivPotar.caption = acquisition::LevelCaption(series.level);
}

void TFp::SensiChanged() {
  SensiCode = acquisition::SensiCode(series.level);
  SensiLevelCur = series.level;
  box_.GetBoard().SetIntegrationTime(acquisition::IntegrationTimeMs(series.level));
  series.box = PortBox ? acquisition::BoxKind::kParallelPort : acquisition::BoxKind::kUsb;
  acquisition::UpdateDuration(series, true);
  ShowSeriesControls();
  DrawLegends();
  ui_.PictureChanged();
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
  if (tools.rt.down) {
    tools.rt.down = false;
    rtClick();
  }
  if (busy_) return;
  busy_ = true;
  ui_.SetHourglass(true);
  MiParams.fftValid = false;
  series.durationText = tools.InterAcc.caption;
  series.box = PortBox ? acquisition::BoxKind::kParallelPort : acquisition::BoxKind::kUsb;
  const bool got = PortBox ? AcquireSeriePort() : AcquireSerieUsb();
  ShowSeriesControls();
  if (got) {
    MiParams.NbPoints = NbPoints;
    SetZoom(NbPoints, NbPoints / 512);
    ProcessCurves();
  }
  gjauge.ProgDisp = true;
  ui_.SetHourglass(false);
  busy_ = false;
}

bool TFp::AcquireSerieUsb() {
  gjauge.ProgDisp = false;
  const acquisition::SeriesPlan plan = acquisition::PlanUsbSeries(series);
  const std::int32_t points = plan.points;
  MiParams.Duration = plan.duration;
  MiParams.Level = plan.level;
  MiParams.DurationCode = 0;
  SensiLevelCur = plan.level;
  SensiCode = plan.sensiCode;

  gjauge.MaxValue = points;
  gjauge.MinValue = 0;
  gjauge.Result = false;
  gjauge.CancelVisible = true;
  gjauge.Show();
  gjauge.SetLigne1(tools.Message4.caption);
  gjauge.SetLigne2(acquisition::PointsLine(points, tools.Message5.caption));
  gjauge.SetPosition(0);
  SerieStop = false;

  // The series comes only at its end: meanwhile the window lives, the gauge
  // follows the time, and Cancel or closing the window gives the wait up.
  device::Board& board = box_.GetBoard();
  device::Clock& clock = box_.GetClock();
  const std::int64_t start = clock.NowUs();
  const double perSampleUs = acquisition::IntegrationTimeMs(plan.level) * 1000.0;
  box_.Link().WaitHook = [&] {
    const double elapsed = static_cast<double>(clock.NowUs() - start);
    gjauge.SetPosition(static_cast<int>(std::min<double>(points, elapsed / perSampleUs)));
    ui_.ProcessMessages();
    return gjauge.Result || SerieStop || closed_;
  };
  std::vector<std::uint16_t> words(static_cast<std::size_t>(points) + 1, 0);
  device::Status s = board.SetNbSamples(points);
  if (s == 0) s = board.ReadSamples(words.data(), points);
  box_.Link().WaitHook = nullptr;
  LastSeriesStatus = s;
  gjauge.CancelVisible = false;
  gjauge.Hide();

  if (s == device::kCancelled) {
    ui_.StatusText(Text("ID_MES_INF_serie annulee"));
    return false;
  }
  NbPoints = points;
  MiParams.NbPoints = points;
  for (std::int32_t k = 1; k <= points; ++k)
    stores.MiSerieRaw.SetValue(static_cast<std::uint32_t>(k), static_cast<std::uint8_t>(words[k]));
  stores.MiSerieRaw.SetValue(0, stores.MiSerieRaw.GetValue(1));
  ReportSaturation(points);
  if (s != 0)
    ui_.StatusText(Text("ID_MES_INF_serie incomplete", {std::to_string(s)}));
  return true;
}

bool TFp::AcquireSeriePort() {
  const acquisition::SeriesPlan plan = acquisition::PlanPortSeries(series);
  NbPoints = plan.points;
  MiParams.NbPoints = plan.points;
  MiParams.Level = plan.level;
  MiParams.Duration = plan.duration;
  MiParams.DurationCode = plan.durationCode;
  SensiLevelCur = plan.level;
  SensiCode = plan.sensiCode;
  gjauge.MaxValue = plan.duration + 8;
  gjauge.MinValue = 0;
  gjauge.Show();
  gjauge.SetLigne1(tools.Message4.caption);
  gjauge.SetLigne2(acquisition::PointsLine(plan.points, tools.Message5.caption));
  std::vector<std::uint8_t> samples(8192, 0);
  acquisition::PortSeriesHooks hooks;
  hooks.pumpMessages = [this] { ui_.ProcessMessages(); };
  hooks.gauge = [this](int position, int) { gjauge.SetPosition(position); };
  acquisition::AcquireSeriePort(box_.Port(), box_.GetClock(), *WaitCalib, plan, SerieStop, hooks,
                                samples);
  for (std::int32_t k = 0; k < plan.points; ++k)
    stores.MiSerieRaw.SetValue(static_cast<std::uint32_t>(k), samples[k]);
  gjauge.Hide();
  ReportSaturation(plan.points);
  return true;
}

void TFp::ReportSaturation(std::int32_t points) {
  std::int64_t saturated = 0;
  for (std::int32_t k = 0; k < points; ++k)
    saturated += stores.MiSerieRaw.GetValue(static_cast<std::uint32_t>(k)) == 255;
  if (saturated > 0)
    ui_.StatusText(
        Text("ID_MES_INF_saturation", {std::to_string(saturated), std::to_string(points)}));
}

}  // namespace rovanel::app
