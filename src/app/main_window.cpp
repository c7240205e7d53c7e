#include "app/main_window.h"
#include "app/window_scopes.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "app/box_status.h"
#include "app/control_table.h"
#include "app/paths.h"
#include "device/timing.h"
#include "display/colour_strip.h"
#include "display/legends.h"
#include "optics/wavelength_table.h"

namespace rovanel::app {

LoopScope::LoopScope(TFp& fp) : fp_(fp), was_(std::exchange(fp.busy_, true)) {
  // The controls as the loop leaves them, shown before it waits.
  if (!was_) fp_.Changed(kChangedControls | kChangedCaptions);
}

TFp::TFp(Box& box, UiPort& ui) : ShippedDir(ShippedFilesDir()), box_(box), ui_(&ui) {
  // Captions and hints hold their language keys until texts are loaded.
  for (const ControlSpec& spec : ControlTable()) {
    Control& c = tools.*(spec.member);
    c.caption = spec.caption;
    c.hint = spec.hint;
    c.visible = spec.visible;
    c.down = spec.down;
  }
  // Nothing to step through until peaks are searched, nothing to freeze
  // without a live view, no calculator nor theory without an experiment.
  tools.picg.enabled = tools.picd.enabled = false;
  tools.rtFreeze.enabled = false;
  tools.calc.enabled = tools.rappels.enabled = false;

  gjauge.SetOnCancel([this] { GJaugeCancel(); });
  box_.Link().ErrorBox = [this](const std::string& text) {
    ui_->MessageBox(text, MessageKind::Error);
  };
  gjauge.Changed = [this] { ui_->GaugeChanged(); };
}

TFp::~TFp() = default;

void TFp::FormCreate() {
  // Said once the texts of the language are loaded (FormShow).
  if (stores.MissingBlocks() > 0)
    startupNotes_.push_back(
        [this] { ui_->MessageBox(Text("ID_MES_ERR_memoire"), MessageKind::Error); });
  signal::InitTabs(stores);

  // What the program writes goes to the user's folder.
  if (AppDir.empty()) AppDir = UserDir(PortableProgramDir());
  if (AppDir.back() != '/') AppDir += '/';

  SetPortBox(box_.PortBox());
  WaitCalib =
      std::make_unique<device::TWAIT_Calib_ms>(box_.GetClock(), [this] { ui_->ProcessMessages(); });

  // The program starts whether or not a box answers; the status bar says so.
  device::Board& board = box_.GetBoard();
  bool opened = false;
  const device::Status identified = board.Connect(device::Board::kSettleMs, &opened);
  // Refused (nothing sent) unless the box identified itself.
  board.SetIntegrationTime(device::kDefaultIntegrationMs);
  const bool denied = box_.UsbDenied();
  startupNotes_.push_back([this, opened, identified, denied] {
    // Denied with the simulated box taken instead: the code is the USB open's.
    if (denied)
      ui_->StatusText(
          BoxProblemText(*this, box_, identified != 0 ? identified : device::FT_DEVICE_NOT_OPENED, false));
    else if (box_.FellBack())
      ui_->StatusText(Text("ID_MES_INF_pas de boitier simule"));
    else if (identified != 0)
      ui_->StatusText(BoxProblemText(*this, box_, identified, opened));
  });

  plot_.Drawing().penColour = display::kSilver;
  plot_.Drawing().penStyle = display::PenStyle::Solid;
  plot_.SetStyle(display::TraceStyle::Pics);
  tools.Vecteurs1.down = false;
  tools.Pics1.down = true;
  tools.Points1.down = false;
  ProfParams = ProfParamsRec{};
  MiParams = MiParamsRec{};
  RtParams = RtParamsRec{};
  ProfParams.FileName = MiParams.FileName = AppDir + "COURBES/";
  {
    // The curves' own folder, made once; the dialogs fall back to its
    // parent when it cannot be.
    std::error_code ec;
    std::filesystem::create_directories(ProfParams.FileName, ec);
  }
  tools.FileNom.caption = ProfParams.FileName;

  // The default reference lines give the wavelength of every pixel.
  SpectroParams = SpectroParamsRec{};
  optics::FillLinear(SpectroParams.CalPoints, stores.LambdaTab);
  optics::FillSplineTab(stores.SplineTab);
  ActiveCalPoints = SpectroParams.CalPoints;
  RefNumber = 1;
  // The panel shows the first reference as it is, so the first move from
  // it keeps it as it is.
  ShowReferenceTexts();
  {
    // The lamp lines offered for the wavelength entry.
    std::string why;
    const auto lines = optics::LoadLampLines(ShippedDir + "lamp_lines_nm.csv", why);
    LampLines.clear();
    if (lines) {
      for (const char* lamp : {"Hg", "Na", "Ne", "He", "H"})
        for (const optics::LampLine& l : optics::VisibleLines(*lines, lamp)) LampLines.push_back(l);
    } else {
      startupNotes_.push_back([this, why] { ui_->StatusText(Text("ID_MES_ERR_raies", {why})); });
    }
    tools.spLines.enabled = !LampLines.empty();
  }

  curves_.Raw(1).fill(255);
  curves_.Shown(1).fill(255);

  if (!display::LoadSpectrumColours(ShippedDir, stores.SpectrumColours))
    startupNotes_.push_back([this] {
      ui_->MessageBox(
          Text("ID_MES_ERR_bande couleurs", {ShippedDir + display::kSpectrumStripFile}),
          MessageKind::Error);
    });
  affichage.SetSpectrumColours(&stores.SpectrumColours);
  tools.PasGrid.caption = display::GridPitchLabel(affichage.GridStepIndex);
  ShowSeriesControls();
  tools.PasGrid.visible = tools.Grid.down;
}

void TFp::FormShow() {
  StartupConfig();
  for (auto& note : std::exchange(startupNotes_, {})) note();
  // The cursor rows start as full-height rows; the grey band (down at
  // start) puts the curves in the upper half, so they follow it there.
  plot_.SetBandMode(tools.gauss.down || tools.cumul.down || tools.realgris.down || tools.spColor.down);
  if (plot_.BandMode()) plot_.HalveRows();
  // The plot view and its scroll bar.
  SetZoom(NbPoints, plot_.ZoomStep());
  DrawCurves();
}

void TFp::FormClose() {
  if (closed_) return;
  closed_ = true;
  // A loop still running in a nested message pump ends after its pass; one
  // that waits for the box closes it once it has given the wait up, not
  // from inside its pump (the box would be spoken to mid-exchange).
  StopLoops();
  if (!busy_) box_.GetBoard().BoardClose();
}

DrawingHeld::DrawingHeld(TFp& fp) : fp_(fp) { ++fp_.drawHeld_; }

DrawingHeld::~DrawingHeld() {
  if (--fp_.drawHeld_ == 0 && std::exchange(fp_.drawDue_, false)) fp_.DrawCurves();
}

LoopScope::~LoopScope() {
  fp_.busy_ = was_;
  if (!was_ && fp_.closed_) fp_.box_.GetBoard().BoardClose();
}

void TFp::StopLoops() {
  RtStopped = true;
  SerieStop = true;
  gjauge.Result = true;
  Zooming = false;
}

void TFp::StopEndlessLoops() {
  RtStopped = true;
  Zooming = false;
}

void TFp::Quitter1Click() {
  ui_->CloseMainWindow();
}

void TFp::GJaugeCancel() {
  gjauge.Result = true;
  SerieStop = true;
}

std::string TFp::WindowTitle() const {
  std::string title = kApplicationTitle;
  switch (box_.Kind()) {
    case BoxKind::Sim:
      title += " — " + Text(box_.FellBack() ? "ID_TIT_BAS_simule secours" : "ID_TIT_BAS_simule");
      break;
    case BoxKind::None:
      title += " — " + Text("ID_TIT_BAS_sans boitier");
      break;
    case BoxKind::Usb:
    case BoxKind::Auto:
      break;
  }
  const std::string file = FileTitle();
  return file.empty() ? title : file + " — " + title;
}

bool TFp::Click(std::string_view name) {
  const ControlSpec* spec = FindControl(name);
  if (spec == nullptr || spec->handler == nullptr) return false;
  Control& control = tools.*(spec->member);
  if (!control.enabled || !control.visible) return true;  // nothing happens
  // A loop letting messages run (averaging, spectrum) owns the data.
  if (!RunsNow(name)) return true;
  if (spec->toggle) {
    control.down = !control.down;
    // Speed buttons of one group: at most one is down.
    if (control.down && spec->group > 0)
      for (const ControlSpec& other : ControlTable())
        if (other.group == spec->group && &other != spec) (tools.*(other.member)).down = false;
  }
  (this->*(spec->handler))();
  // A handler may change any control; a mouse move only the read-outs.
  Changed(kChangedAll);
  return true;
}

void TFp::SetSensitivity(int level) {
  series.level = level;
  ShowSeriesControls();
}

void TFp::SetAvgCount(int count) {
  ProfParams.AvgCount = count;
}

void TFp::SetPeakProminence(int percent) {
  PeakProminencePct = std::clamp(percent, 0, 99);
  if (tools.pics.down) picsClick();
}

void TFp::FillLastCurve(const signal::Curve& levels) {
  curves_.Raw(curves_.Count()) = levels;
  ProfParams.fftValid = false;
  ProcessCurves();
}

void TFp::FillSeries(std::span<const std::uint8_t> levels) {
  const auto n = std::min<std::size_t>(levels.size(), stores.MiSerieRaw.Capacity());
  for (std::size_t i = 0; i < n; ++i)
    stores.MiSerieRaw.SetValue(static_cast<std::uint32_t>(i), levels[i]);
  MiParams.NbPoints = static_cast<std::int32_t>(n);
  MiParams.fftValid = false;
  if (Mode() == Experiment::Michelson) NbPoints = MiParams.NbPoints;
  ProcessCurves();
}

bool TFp::RunsNow(std::string_view name) const {
  const ControlSpec* spec = FindControl(name);
  return spec == nullptr || !busy_ || spec->whileBusy;
}

bool TFp::RunDialog(DialogModel& dialog) {
  dialog.Translate = [this](std::string_view key, std::initializer_list<std::string> args) {
    return Text(key, args);
  };
  dialog.Help = [this] { OpenHelp(HelpTopic::Contents); };
  dialog.Activate();
  if (dialogScript.Has(dialog.Name())) {
    std::string error;
    std::vector<std::string> said;
    const bool played = dialogScript.Play(dialog, error, &said);
    for (const std::string& text : said) ui_->MessageBox(text, MessageKind::Error);
    if (!played) scriptError = error;
    return dialog.accepted;
  }
  return ui_->RunModal(dialog);
}

std::vector<std::string_view> TFp::ClickableNames() {
  std::vector<std::string_view> names;
  for (const ControlSpec& c : ControlTable())
    if (c.handler != nullptr) names.push_back(c.name);
  return names;
}

}  // namespace rovanel::app
