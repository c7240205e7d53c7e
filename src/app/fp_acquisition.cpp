// Single and averaged acquisition, and the curve-set operations.
#include <cstdio>

#include "acquisition/single.h"
#include "app/main_window.h"
#include "device/timing.h"

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
  ui_.SetHourglass(true);
  report.reconnect = board.Connect();
  ui_.SetHourglass(false);
  return report.reconnect == 0;
}

void TFp::acquisitionClick() {
  if (busy_) return;  // delivered by the averaging loop's message pump
  busy_ = true;

  if (tools.superposition.down && NbCurves < ProfParams.MaxCurves) {
    ++NbCurves;
    RotateCurveColours();
  }
  NbPoints = ProfParams.NbPoints;
  ProfParams.fftValid = false;
  ProfParams.Averaged = false;
  const int s = series.level;  // what NivPotar shows
  ProfParams.Level = s;

  acquisition::AcquisitionReport report;
  EnsureBox(report);
  // The slot is fixed for the whole run, whatever the message pump delivers.
  std::uint8_t* slot = stores.RawBuf[NbCurves].data();
  device::Board& board = box_.GetBoard();
  // Reads one frame into the slot; true when it arrived whole.
  auto take = [&] {
    const device::Status status = acquisition::AcquireFrame(board, slot);
    report.Frame(status);
    return status == 0;
  };
  const bool firstGood = take();

  if (tools.moyenne.down) {
    const int n = ProfParams.AvgCount;
    ProfParams.Averaged = true;
    gjauge.MaxValue = n;
    gjauge.MinValue = 1;
    gjauge.Result = false;
    gjauge.CancelVisible = true;
    ui_.SetHourglass(true);
    gjauge.Show();
    gjauge.SetLigne1(tools.Message7.caption);
    gjauge.SetLigne2(tools.Message8.caption + " n° 1");

    // Only frames that arrived whole are summed: a failed frame would pull
    // the average toward zero.
    acquisition::FrameSum sum;
    if (firstGood) sum.Add(slot);
    for (int i = 2; i <= n; ++i) {
      device::WaitMs(box_.GetClock(), static_cast<std::uint32_t>(10 + 5 * s));
      const bool good = take();
      gjauge.SetPosition(i);
      gjauge.SetLigne2(tools.Message8.caption + Format(" n° %2d/%2d", i, n));
      if (gjauge.Result) break;  // cancelled: this frame is not added
      if (good) sum.Add(slot);
      ui_.ProcessMessages();
      if (gjauge.Result) break;
    }
    // Cancelling keeps the average of the frames added so far; with no good
    // frame the slot keeps what came, as a single frame would.
    if (sum.Count() > 0) sum.AverageInto(slot);
    gjauge.CancelVisible = false;
    gjauge.Hide();
    ui_.SetHourglass(false);
    sum.Release();
  }

  LastAcquisitionStatus = report.firstFailure;
  LastAcquisitionReport = report;
  ui_.StatusText(AcquisitionText(report));
  if (!closed_ && !tools.rt.down) ProcessCurves();
  busy_ = false;
}

void TFp::RotateCurveColours() {
  const auto old = CurveColours;
  CurveColours[0] = old[2];
  CurveColours[1] = old[0];
  CurveColours[2] = old[1];
}

void TFp::RotateCurveColoursBack() {
  const auto old = CurveColours;
  CurveColours[0] = old[1];
  CurveColours[1] = old[2];
  CurveColours[2] = old[0];
}

void TFp::superpositionClick() {
  NbCurves = 1;
  if (tools.gosimu.down || tools.spectro.down) {
    tools.superposition.down = true;
    NbCurves = 2;
  }
  if (tools.superposition.down) {
    tools.fft.enabled = false;
    tools.fft.down = false;
  } else {
    tools.fft.enabled = true;
    CurveColours[0] = display::kBlack;
    CurveColours[1] = display::kNavy;
    CurveColours[2] = tools.spectro.down ? display::kSilver : display::kRed;
  }
  SaveModeToggles();
  // The picture follows the new curve count at once.
  DrawCurves();
}

void TFp::suppressionClick() {
  if (!tools.spectro.down && tools.superposition.down && NbCurves >= 2) {
    --NbCurves;
    RotateCurveColoursBack();
    ProfParams.fftValid = false;
  }
  DrawCurves();
}

std::string TFp::AcquisitionText(const acquisition::AcquisitionReport& r) const {
  using std::to_string;
  std::string text;
  if (r.reconnectTried) {
    if (r.reconnect != 0 && box_.UsbDenied())
      return Text("ID_MES_INF_boitier interdit", {ShippedDir + kBoxRuleFile});
    if (r.reconnect != 0) return Text("ID_MES_INF_aucun boitier ne repond", {to_string(r.reconnect)});
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
