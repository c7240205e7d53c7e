#include "app/main_window.h"

#include <cstdlib>

#include "app/control_table.h"
#include "device/timing.h"

namespace rovanel::app {

TFp::TFp(Box& box, UiPort& ui) : box_(box), ui_(ui) {
  // Captions and hints hold their language keys until texts are loaded.
  for (const ControlSpec& spec : ControlTable()) {
    Control& c = tools.*(spec.member);
    c.caption = spec.caption;
    c.hint = spec.hint;
    c.visible = spec.visible;
  }

  gjauge.SetOnCancel([this] { GJaugeCancel(); });
  box_.Link().ErrorBox = [this](const std::string& text) {
    ui_.MessageBox(text, MessageKind::Error);
  };
  gjauge.Changed = [this] { ui_.GaugeChanged(); };
}

TFp::~TFp() = default;

void TFp::FormCreate() {
  if (stores.MissingBlocks() > 0) ui_.MessageBox("Mémoire insuffisante.", MessageKind::Error);
  signal::InitTabs(stores);

  if (const char* home = std::getenv("ROVANEL_HOME"); home != nullptr && *home != '\0')
    AppDir = home;
  if (!AppDir.empty() && AppDir.back() != '/') AppDir += '/';

  WaitCalib =
      std::make_unique<device::TWAIT_Calib_ms>(box_.GetClock(), [this] { ui_.ProcessMessages(); });

  // The program starts whether or not a box answers; the status bar says so.
  device::Board& board = box_.GetBoard();
  bool opened = false;
  const device::Status identified = board.Connect(device::Board::kSettleMs, &opened);
  // Refused (nothing sent) unless the box identified itself.
  board.SetIntegrationTime(device::kDefaultIntegrationMs);
  if (!opened)
    ui_.StatusText("No box found (status " + std::to_string(identified) + ").");
  else if (identified != 0)
    ui_.StatusText("The device found does not answer as the box (status " +
                   std::to_string(identified) + "): nothing more is sent to it.");

  DrawBitmap.penColour = display::kSilver;
  DrawBitmap.penStyle = display::PenStyle::Solid;
  TraceStyle = display::TraceStyle::Pics;
  tools.Vecteurs1.down = false;
  tools.Pics1.down = true;
  tools.Points1.down = false;
  ProfParams = ProfParamsRec{};
  MiParams = MiParamsRec{};
  RtParams = RtParamsRec{};
  ProfParams.FileName = MiParams.FileName = AppDir + "COURBES/";
  tools.FileNom.caption = ProfParams.FileName;

  stores.RawBuf[1].fill(255);
  stores.CurveBuf[1].fill(255);
}

void TFp::FormShow() {
  DrawCurves();
}

void TFp::FormClose() {
  if (closed_) return;
  closed_ = true;
  // A loop still running in a nested message pump ends after its pass.
  RtStopped = true;
  SerieStop = true;
  gjauge.Result = true;
  box_.GetBoard().BoardClose();
}

void TFp::Quitter1Click() {
  ui_.CloseMainWindow();
}

void TFp::GJaugeCancel() {
  gjauge.Result = true;
  SerieStop = true;
}

void TFp::SetTraceStyle(display::TraceStyle style) {
  TraceStyle = style;
  tools.Vecteurs1.down = style == display::TraceStyle::Vecteurs;
  tools.Pics1.down = style == display::TraceStyle::Pics;
  tools.Points1.down = style == display::TraceStyle::Points;
  DrawCurves();
}

void TFp::Vecteurs1Click() {
  SetTraceStyle(display::TraceStyle::Vecteurs);
}
void TFp::Pics1Click() {
  SetTraceStyle(display::TraceStyle::Pics);
}
void TFp::Points1Click() {
  SetTraceStyle(display::TraceStyle::Points);
}

void TFp::SaveModeToggles() {
  if (tools.mi.down) {
    MiParams.calibration = tools.calibration.down;
    MiParams.filtrage = tools.filtrage.down;
    MiParams.invert = tools.invert.down;
    MiParams.fftValid = false;
    return;
  }
  ProfParams.calibration = tools.calibration.down;
  ProfParams.filtrage = tools.filtrage.down;
  ProfParams.invert = tools.invert.down;
  if (!tools.spectro.down && !tools.gosimu.down)
    ProfParams.superposition = tools.superposition.down;
  ProfParams.fftValid = false;
  ProfParams.realgris = tools.realgris.down;
  ProfParams.Grid = tools.Grid.down;
}

void TFp::ProcessCurves() {
  if (tools.rt.down) return;  // the live view draws by itself
  stores.CurveBuf = stores.RawBuf;
  DrawCurves();
}

void TFp::DrawCurves() {
  BandMode = tools.realgris.down;
  DrawBitmap.CopyFrom(BackBitmap, 0, 0);
  DrawBitmap.penStyle = display::PenStyle::Solid;
  for (int k = 1; k <= NbCurves; ++k) {
    DrawBitmap.penColour = CurveColours[k - 1];
    display::TraceView view;
    view.viewStart = ViewStart;
    view.zoomStep = ZoomStep;
    // In the live view the stored curves are shown every fourth sample.
    view.stride = (k < NbCurves && tools.rt.down) ? 4 : 1;
    view.halfHeight = BandMode;
    display::DrawTrace(DrawBitmap, stores.CurveBuf[k].data(), signal::kPixels, TraceStyle, view);
  }
  DrawBitmap.penColour = GridColour;
  DrawBitmap.penStyle = GridPenStyle;
  ecran.CopyFrom(DrawBitmap, 0, 0);
  if (!tools.pics.down) tools.nbfr.caption = "-";
  DrawLegends();
  ui_.PictureChanged();
}

// The legends and the cursor overlay come with the axes and cursors.
void TFp::DrawLegends() {}

std::string TFp::WindowTitle() const {
  switch (box_.Kind()) {
    case BoxKind::Sim:
      return std::string(kApplicationTitle) + " — simulated box";
    case BoxKind::None:
      return std::string(kApplicationTitle) + " — no box";
    case BoxKind::Usb:
      break;
  }
  return kApplicationTitle;
}

bool TFp::Click(std::string_view name) {
  const ControlSpec* spec = FindControl(name);
  if (spec == nullptr || spec->handler == nullptr) return false;
  Control& control = tools.*(spec->member);
  if (!control.enabled || !control.visible) return true;  // nothing happens
  if (acquiring_ && spec->changesCurves) return true;
  if (spec->toggle) control.down = !control.down;
  (this->*(spec->handler))();
  return true;
}

std::vector<std::string_view> TFp::ClickableNames() {
  std::vector<std::string_view> names;
  for (const ControlSpec& c : ControlTable())
    if (c.handler != nullptr) names.push_back(c.name);
  return names;
}

}  // namespace rovanel::app
