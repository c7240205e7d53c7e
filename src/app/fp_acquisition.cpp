// Single and averaged acquisition, and the curve-set operations.
#include <cstdio>

#include "acquisition/averaging.h"
#include "acquisition/single.h"
#include "app/box_status.h"
#include "app/gauge_progress.h"
#include "app/main_window.h"
#include "app/window_scopes.h"

namespace rovanel::app {

namespace {

std::string Format(const char* format, int a, int b) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

bool TFp::EnsureBox(acquisition::AcquisitionReport& report) {
  device::Board& board = box_.GetBoard();
  if (board.Identified()) return true;
  // Not identified since start-up, or lost on the way: one try to open and
  // identify it again before this acquisition.
  report.reconnectTried = true;
  ui_->SetHourglass(true);
  report.reconnect = board.Connect();
  ui_->SetHourglass(false);
  return report.reconnect == 0;
}

void TFp::acquisitionClick() {
  if (busy_) return;  // delivered by the averaging loop's message pump
  const LoopScope loop(*this);

  if (tools.superposition.down) curves_.Add(ProfParams.MaxCurves);
  NbPoints = ProfParams.NbPoints;
  ProfParams.fftValid = false;
  ProfParams.Averaged = false;
  const int s = series.level;  // what NivPotar shows
  ProfParams.Level = s;

  acquisition::AcquisitionReport report;
  EnsureBox(report);
  const int reconnects = box_.GetBoard().Reconnects();
  // The slot is fixed for the whole run, whatever the message pump delivers.
  const std::span<std::uint8_t, kPixels> slot(curves_.Raw(curves_.Count()));
  curves_.SetName(curves_.Count(), {});
  device::Board& board = box_.GetBoard();
  if (tools.moyenne.down) {
    const int n = ProfParams.AvgCount;
    ProfParams.Averaged = true;
    gjauge.MaxValue = n;
    gjauge.MinValue = 1;
    gjauge.Result = false;
    gjauge.CancelVisible = true;
    ui_->SetHourglass(true);
    gjauge.Show();
    gjauge.SetLigne1(tools.Message7.caption);
    gjauge.SetLigne2(tools.Message8.caption + " n° 1");
    GaugeProgress progress(*this, [this, n](std::int64_t i) {
      if (i > 1) gjauge.SetLigne2(tools.Message8.caption + Format(" n° %2d/%2d", int(i), n));
    });
    // Cancelling keeps the average of the frames added so far.
    acquisition::AcquireAverage(board, box_.GetClock(), slot, n, s, report, progress);
    gjauge.CancelVisible = false;
    gjauge.Hide();
    ui_->SetHourglass(false);
  } else {
    report.Frame(acquisition::AcquireFrame(board, slot));
  }

  // The board opened a box plugged in again on its own, on the way.
  if (box_.GetBoard().Reconnects() != reconnects && !report.reconnectTried) {
    report.reconnectTried = true;
    report.reconnect = 0;
  }
  LastAcquisitionStatus = report.firstFailure;
  LastAcquisitionReport = report;
  ui_->StatusText(AcquisitionText(report));
  if (report.frames > report.failed) MeasurementChanged();
  if (!closed_ && Mode() != Experiment::Live) ProcessCurves();
}

void TFp::superpositionClick() {
  curves_.SetCount(1);
  if (SimulationShown() || Mode() == Experiment::Spectrometry) {
    tools.superposition.down = true;
    curves_.SetCount(2);
  }
  if (tools.superposition.down) {
    tools.fft.enabled = false;
    tools.fft.down = false;
  } else {
    tools.fft.enabled = true;
    curves_.ResetPens(Mode() == Experiment::Spectrometry);
  }
  SaveModeToggles();
  // The picture follows the new curve count at once.
  DrawCurves();
}

void TFp::suppressionClick() {
  if (Mode() != Experiment::Spectrometry && tools.superposition.down && curves_.RemoveNewest()) {
    ProfParams.fftValid = false;
  }
  DrawCurves();
}

std::string TFp::AcquisitionText(const acquisition::AcquisitionReport& r) const {
  using std::to_string;
  std::string text;
  if (r.reconnectTried) {
    if (r.reconnect != 0 && (box_.UsbDenied() || box_.Kind() == BoxKind::None))
      return BoxProblemText(*this, box_, r.reconnect, false);
    if (r.reconnect != 0) return Text("ID_MES_INF_boitier ne repond plus", {to_string(r.reconnect)});
    text = Text("ID_MES_INF_boitier reconnecte");
  }
  if (r.failed == 0) return text;
  if (!text.empty()) text += " ";
  const std::string status = to_string(r.firstFailure);
  if (r.frames == 1)
    text += Text("ID_MES_INF_trame incomplete", {status});
  else if (r.failed == r.frames)
    text += Text("ID_MES_INF_aucune trame", {to_string(r.frames), status});
  else
    text += Text("ID_MES_INF_trames en echec",
                 {to_string(r.failed), to_string(r.frames), status, to_string(r.frames - r.failed)});
  return text;
}

}  // namespace rovanel::app
