#include "app/main_window.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "acquisition/single.h"
#include "device/timing.h"

namespace rovanel::app {

namespace {

void SetTexts(Control& c, std::string caption, std::string hint) {
  c.caption = std::move(caption);
  c.hint = std::move(hint);
}

std::string Format(const char* format, int a, int b) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

TFp::TFp(Box& box, UiPort& ui) : box_(box), ui_(ui) {
  // Captions and hints hold their language keys until texts are loaded.
  SetTexts(tools.acquisition, "ID_BTN_BAS_Acquisition", "HINT_Acquisition");
  SetTexts(tools.superposition, "ID_BTN_BAS_Superposition", "HINT_Superposition");
  SetTexts(tools.suppression, "ID_BTN_BAS_Suppression", "HINT_Suppression");
  SetTexts(tools.moyenne, "ID_BTN_BAS_Moyenne", "HINT_Moyenne");
  SetTexts(tools.rt, "ID_BTN_BAS_Temps réel", "HINT_Temps réel");
  SetTexts(tools.fft, "ID_BTN_BAS_FFT", "HINT_CalculFFT");
  SetTexts(tools.pics, "ID_BTN_BAS_Pics", "HINT_Détection pics");
  SetTexts(tools.calibration, "ID_BTN_BAS_Calibration", "HINT_Auto-Calibration");
  SetTexts(tools.filtrage, "ID_BTN_BAS_Filtrage", "HINT_Filtrage");
  SetTexts(tools.invert, "ID_BTN_BAS_Inversion", "HINT_Inversion");
  SetTexts(tools.NivPotar, "0", "HINT_Sensibilité caméra");
  SetTexts(tools.Message7, "ID_MES_INF_moy en cours", "");
  SetTexts(tools.Message8, "ID_MES_INF_acquisition", "");
  tools.Message7.visible = tools.Message8.visible = false;
  SetTexts(tools.nbfr, "-", "");
  SetTexts(tools.Acqurir1, "ID_MIT_BAS_Acquérir", "HINT_Acquisition");
  SetTexts(tools.Vecteurs1, "ID_MIT_BAS_Vecteurs", "HINT_Vecteurs");
  SetTexts(tools.Pics1, "ID_MIT_BAS_Pics", "HINT_Pics");
  SetTexts(tools.Points1, "ID_MIT_BAS_Points", "HINT_Points");
  SetTexts(tools.Quitter1, "ID_MIT_BAS_Quitter", "HINT_Quitter");

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

  device::Clock& clock = box_.GetClock();
  WaitCalib = std::make_unique<device::TWAIT_Calib_ms>(clock, [this] { ui_.ProcessMessages(); });

  // The program starts whether or not a box answers; the status bar says so.
  device::Board& board = box_.GetBoard();
  const device::Status opened = board.BoardOpen();
  clock.SleepUntilUs(clock.NowUs() + 300'000);
  std::int32_t id = 0;
  const device::Status identified = board.GetBoardId(id);
  board.SetIntegrationTime(10.0);
  if (opened != 0)
    ui_.StatusText("No box found (status " + std::to_string(opened) + ").");
  else if (identified != 0)
    ui_.StatusText("The box does not answer (status " + std::to_string(identified) + ").");

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

int TFp::SensitivityLevel() const {
  const std::string& text = tools.NivPotar.caption;
  const char* first = text.data();
  const char* last = first + text.size();
  while (first != last && *first == ' ') ++first;
  int s = 0;
  std::from_chars(first, last, s);
  return std::clamp(s, 0, 15);
}

void TFp::ReportAcquisition(device::Status firstFailure) {
  LastAcquisitionStatus = firstFailure;
  if (firstFailure != 0)
    ui_.StatusText("No box answered (status " + std::to_string(firstFailure) +
                   "): the curve holds only what arrived.");
  else
    ui_.StatusText("");
}

void TFp::acquisitionClick() {
  if (acquiring_) return;  // delivered by the averaging loop's message pump
  acquiring_ = true;

  if (tools.superposition.down && NbCurves < ProfParams.MaxCurves) {
    ++NbCurves;
    RotateCurveColours();
  }
  NbPoints = ProfParams.NbPoints;
  ProfParams.fftValid = false;
  ProfParams.Averaged = false;
  const int s = SensitivityLevel();
  ProfParams.Level = s;

  // The slot is fixed for the whole run, whatever the message pump delivers.
  std::uint8_t* slot = stores.RawBuf[NbCurves].data();
  device::Board& board = box_.GetBoard();
  device::Status failure = acquisition::AcquireFrame(board, slot);

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

    acquisition::FrameSum sum;
    sum.Start(slot);
    for (int i = 2; i <= n; ++i) {
      device::WaitMs(box_.GetClock(), static_cast<std::uint32_t>(10 + 5 * s));
      const device::Status status = acquisition::AcquireFrame(board, slot);
      if (failure == 0) failure = status;
      gjauge.SetPosition(i);
      gjauge.SetLigne2(tools.Message8.caption + Format(" n° %2d/%2d", i, n));
      if (gjauge.Result) break;  // cancelled: this frame is not added
      sum.Add(slot);
      ui_.ProcessMessages();
      if (gjauge.Result) break;
    }
    // Cancelling keeps the average of the frames added so far.
    sum.AverageInto(slot);
    gjauge.CancelVisible = false;
    gjauge.Hide();
    ui_.SetHourglass(false);
    sum.Release();
  }

  ReportAcquisition(failure);
  if (!closed_ && !tools.rt.down) ProcessCurves();
  acquiring_ = false;
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

namespace {

struct Clickable {
  std::string_view name;
  Control Tools::*control;
  bool toggle;
  // Changes the curve set: refused while an acquisition runs its loop.
  bool changesCurves;
  void (TFp::*handler)();
};

constexpr Clickable kClickables[] = {
    {"acquisition", &Tools::acquisition, false, true, &TFp::acquisitionClick},
    {"Acqurir1", &Tools::Acqurir1, false, true, &TFp::acquisitionClick},
    {"superposition", &Tools::superposition, true, true, &TFp::superpositionClick},
    {"suppression", &Tools::suppression, false, true, &TFp::suppressionClick},
    {"moyenne", &Tools::moyenne, true, true, &TFp::moyenneClick},
    {"Vecteurs1", &Tools::Vecteurs1, false, false, &TFp::Vecteurs1Click},
    {"Pics1", &Tools::Pics1, false, false, &TFp::Pics1Click},
    {"Points1", &Tools::Points1, false, false, &TFp::Points1Click},
    {"Quitter1", &Tools::Quitter1, false, false, &TFp::Quitter1Click},
};

}  // namespace

bool TFp::Click(std::string_view name) {
  for (const Clickable& c : kClickables) {
    if (c.name != name) continue;
    Control& control = tools.*(c.control);
    if (!control.enabled || !control.visible) return true;  // nothing happens
    if (acquiring_ && c.changesCurves) return true;
    if (c.toggle) control.down = !control.down;
    (this->*(c.handler))();
    return true;
  }
  return false;
}

std::vector<std::string_view> TFp::ClickableNames() {
  std::vector<std::string_view> names;
  for (const Clickable& c : kClickables) names.push_back(c.name);
  return names;
}

}  // namespace rovanel::app
