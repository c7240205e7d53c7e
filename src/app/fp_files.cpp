// Curve files and exports: the Save and open commands, the loaders and
// savers over the file codec, the text exports and the bitmap of the plot.
#include <algorithm>
#include <filesystem>

#include "app/files/curve_files.h"
#include "app/files/exports.h"
#include "app/main_window.h"
#include "app/lang/reasons.h"
#include "base/printable.h"
#include "display/bmp.h"
#include "optics/wavelength_table.h"
#include "signal/paging.h"

namespace rovanel::app {

namespace {

constexpr std::size_t kMaxFileName = 255;

}  // namespace

std::string& TFp::ModeFileName() {
  return Mode() == Experiment::Michelson ? MiParams.FileName : ProfParams.FileName;
}

void TFp::PrepareFileDialogs(bool defaultExtension) {
  const bool mi = Mode() == Experiment::Michelson;
  Save.InitialDir = open.InitialDir = ModeFileName();
  Save.FileName = open.FileName = mi ? "*.CCT" : "*.CCD";
  if (defaultExtension) Save.DefaultExt = mi ? "CCT" : "CCD";
}

std::string TFp::TakeChosenName(const TFileDialog& dialog, bool ok) {
  const std::string name = ok ? dialog.ChosenName() : dialog.FileName;
  ModeFileName() = name.substr(0, std::min(name.size(), kMaxFileName));
  tools.FileNom.caption = name;
  return name;
}

void TFp::FileError(std::string_view key, const std::string& file, const std::string& why) {
  ui_->Failed(Text(key, {Printable(file), Reason(why)}));
}

bool TFp::WriteFile(const std::string& name, std::span<const std::uint8_t> bytes) {
  std::error_code ec;
  const bool existed = std::filesystem::exists(name, ec);
  std::string why;
  if (WriteFileReplacing(name, bytes, why)) return true;
  // "The old file is left as it was" only when there was one.
  FileError(existed ? "ID_MES_ERR_ecriture" : "ID_MES_ERR_non ecrit", name, why);
  return false;
}

bool TFp::SaveCCD(const std::string& name) {
  CcdData d{ProfParams, OptoParams, SpectroParams, PrintNotes, curves_.Raw(curves_.Count())};
  return WriteFile(name, EncodeCcd(d));
}

bool TFp::SaveCCT(const std::string& name) {
  CctData d;
  d.mi = MiParams;
  d.raw.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(
      MiParams.NbPoints, 0, stores.MiSerieRaw.Capacity())));
  signal::ReadSamples(stores.MiSerieRaw, 0, d.raw);
  d.notes = PrintNotes;
  return WriteFile(name, EncodeCct(d));
}

bool TFp::ReadFileOrSay(const std::string& name, std::vector<std::uint8_t>& bytes) {
  std::string why;
  if (ReadWholeFile(name, bytes, why)) return true;
  FileError("ID_MES_ERR_lecture", name, why);
  return false;
}

bool TFp::ReadCCD(const std::string& name, CcdData& d) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFileOrSay(name, bytes)) return false;
  LoadReport report;
  std::string why;
  if (!DecodeCcd(bytes, d, report, why)) {
    FileError("ID_MES_ERR_lecture", name, why);
    return false;
  }
  return true;
}

bool TFp::LoadCCD(const std::string& name) {
  CcdData d{ProfParams, OptoParams, SpectroParams, PrintNotes, curves_.Raw(curves_.Count())};
  if (!ReadCCD(name, d)) return false;
  ProfParams = d.prof;
  OptoParams = d.opto;
  SpectroParams = d.spectro;
  PrintNotes = d.notes;
  curves_.Raw(curves_.Count()) = d.curve;
  curves_.Shown(curves_.Count()) = d.curve;
  curves_.SetName(curves_.Count(), std::filesystem::path(name).filename().string());
  return true;
}

bool TFp::LoadCCDCurveOnly(const std::string& name, int slot) {
  if (UpperExtension(name) != ".CCD") return false;
  CcdData d{ProfParams, OptoParams, SpectroParams, PrintNotes, curves_.Raw(slot)};
  if (!ReadCCD(name, d)) return false;
  // The curve and its notes; the settings in force stay.
  PrintNotes = d.notes;
  curves_.Raw(slot) = d.curve;
  curves_.Shown(slot) = d.curve;
  ProfParams.fftValid = false;
  return true;
}

bool TFp::LoadCCT(const std::string& name) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFileOrSay(name, bytes)) return false;
  CctData d;
  d.mi = MiParams;
  d.durRequested = series.durRequested;
  d.notes = PrintNotes;
  LoadReport report;
  std::string why;
  if (!DecodeCct(bytes, d, report, why)) {
    FileError("ID_MES_ERR_lecture", name, why);
    return false;
  }
  if (static_cast<std::int64_t>(d.raw.size()) > stores.MiSerieRaw.Capacity()) {
    FileError("ID_MES_ERR_lecture", name, Text("ID_MES_ERR_trop de points"));
    return false;
  }
  MiParams = d.mi;
  PrintNotes = d.notes;
  series.durRequested = d.durRequested;
  if (d.durStep) series.durStep = *d.durStep;
  for (std::size_t k = 0; k < d.raw.size(); ++k)
    stores.MiSerieRaw.SetValue(static_cast<std::uint32_t>(k), d.raw[k]);
  return true;
}

void TFp::Sauver1Click() {
  PrepareFileDialogs(true);
  const bool ok = RunDialog(Save);
  ui_->SetHourglass(true);
  const std::string name = TakeChosenName(Save, ok);
  if (ok) {
    ProfParams.spectro = Mode() == Experiment::Spectrometry;
    ProfParams.opto = Mode() == Experiment::Analysis;
    ProfParams.int_ = Mode() == Experiment::Interference;
    const std::string ext = UpperExtension(name);
    if (ext == ".CCD") {
      // The measured curve, not the computed pattern beside it.
      if (Mode() == Experiment::Interference && SimulationShown()) curves_.Raw(1) = curves_.Raw(2);
      if (SaveCCD(name)) FileTaken(name, true);
    } else if (ext == ".CCT") {
      if (SaveCCT(name)) FileTaken(name, true);
    } else {
      ui_->Failed(Text("ID_MES_ERR_extension", {name, ".CCD, .CCT"}));
    }
  }
  ui_->SetHourglass(false);
}

void TFp::ouvrirClick() {
  OpenChosenFile();
}

bool TFp::OpenFile(const std::string& path) {
  // The open dialog answered with the file, as a double-click would.
  DialogAnswer answer;
  answer.dialog = "open";
  answer.steps.emplace_back("FileName", path);
  dialogScript.Queue(std::move(answer));
  return OpenChosenFile();
}

bool TFp::OpenChosenFile() {
  PrepareFileDialogs(false);
  const bool ok = RunDialog(open);
  const std::string chosen = open.ChosenName();
  const std::string ext = ok ? UpperExtension(chosen) : std::string();
  if (ok && ext != ".CCD" && ext != ".CCT") {
    ui_->Failed(Text("ID_MES_ERR_pas une courbe", {chosen}));
    return false;
  }
  ui_->SetHourglass(true);
  // A file that is refused changes nothing: not the curves, their count and
  // colours, the buttons, nor the file label.
  bool loaded = !ok;
  if (ext == ".CCD" && tools.superposition.down) {
    const int slot = curves_.Count() < ProfParams.MaxCurves ? curves_.Count() + 1 : curves_.Count();
    loaded = LoadCCDCurveOnly(chosen, slot);
    if (loaded) {
      if (slot > curves_.Count()) curves_.Add(ProfParams.MaxCurves);
      curves_.SetName(slot, std::filesystem::path(chosen).filename().string());
      ActiveCalPoints = SpectroParams.CalPoints;
    }
  } else if (ext == ".CCD") {
    loaded = LoadCCD(chosen);
    if (loaded) {
      // The file's experiment.
      tools.mi.down = tools.rt.down = false;
      tools.spectro.down = ProfParams.spectro;
      tools.opto.down = ProfParams.opto;
      tools.int_.down = ProfParams.int_;
      series.level = ProfParams.Level;
      NbPoints = 2048;
      plot_.SetZoomStep(ProfParams.Step);
      ActiveCalPoints = SpectroParams.CalPoints;
      tools.spEtaFile.caption = SpectroParams.RefFile.empty() ? "etalon.ccd" : SpectroParams.RefFile;
      ShowReference();
      optics::CalibrationCurve(SpectroParams.CalPoints, SpectroParams.Interpolation,
                               stores.LambdaTab);
    }
  } else if (ext == ".CCT") {
    loaded = LoadCCT(chosen);
    if (loaded) {
      tools.mi.down = true;
      tools.rt.down = tools.spectro.down = tools.opto.down = tools.int_.down = false;
      series.level = MiParams.Level;
      NbPoints = MiParams.NbPoints;
      plot_.SetZoomStep(MiParams.Step);
      for (std::int64_t k = 0; k <= NbPoints && k < std::int64_t{stores.PeakMarks.Capacity()}; ++k)
        stores.PeakMarks.SetValue(static_cast<std::uint32_t>(k), 0);
    }
  }
  if (!loaded) {
    ui_->SetHourglass(false);
    return false;
  }
  TakeChosenName(open, ok);
  // An overlay joins the measurement shown; a whole file replaces it.
  if (ok) FileTaken(chosen, !(ext == ".CCD" && tools.superposition.down));
  tools.pics.down = false;
  tools.fft.down = false;
  SensiChanged();
  SetupAndProcess();
  ui_->SetHourglass(false);
  Save.FileName = open.FileName;
  return ok;
}

ExportInput TFp::ExportState() {
  ExportInput in;
  in.michelson = Mode() == Experiment::Michelson;
  in.fft = tools.fft.down;
  in.spectro = Mode() == Experiment::Spectrometry;
  exportSerie_.resize(static_cast<std::size_t>(
      std::clamp<std::int64_t>(MiParams.NbPoints, 0, stores.MiSerie.Capacity())));
  signal::ReadSamples(stores.MiSerie, 0, exportSerie_);
  in.miSerie = exportSerie_;
  in.curve = curves_.Shown(curves_.Count());
  in.lambda = stores.LambdaTab;
  in.miNbPoints = MiParams.NbPoints;
  in.miLevel = MiParams.Level;
  in.miDuration = MiParams.Duration;
  in.profNbPoints = ProfParams.NbPoints;
  in.m5 = tools.Message5.caption;
  in.m12 = tools.Message12.caption;
  in.m13 = tools.Message13.caption;
  return in;
}

void TFp::Export(ExportKind kind, std::string filter, std::string ext) {
  Save.Filter = std::move(filter);
  Save.DefaultExt = ext;
  Save.FileName = "*." + ext;
  Save.InitialDir = ModeFileName();
  const bool ok = RunDialog(Save);
  if (!ok) return;
  ui_->SetHourglass(true);
  std::vector<ExportFile> files;
  std::string why;
  const std::string name = Save.ChosenName();
  if (UpperExtension(name) != ExportExtension(kind)) {
    ui_->Failed(Text("ID_MES_ERR_extension", {Printable(name), std::string(ExportExtension(kind))}));
    ui_->SetHourglass(false);
    return;
  }
  if (!BuildExport(kind, name, ExportState(), files, why)) {
    std::error_code ec;
    FileError(std::filesystem::exists(name, ec) ? "ID_MES_ERR_ecriture" : "ID_MES_ERR_non ecrit",
              name, why);
  } else {
    for (const ExportFile& f : files)
      if (!WriteFile(f.path, {reinterpret_cast<const std::uint8_t*>(f.bytes.data()), f.bytes.size()}))
        break;
  }
  ui_->SetHourglass(false);
}

void TFp::Texte1Click() {
  Export(ExportKind::Text, tools.Message11.caption, "TXT");
}

void TFp::IDMITBASRegressi1Click() {
  Export(ExportKind::Regressi, "Regressi (*.rw3)|*.RW3", "RW3");
}

void TFp::IDMITBASSynchronie1Click() {
  Export(ExportKind::Synchronie, "Synchronie (*.txt)|*.TXT", "TXT");
}

void TFp::Bitmap1Click() {
  ui_->SetHourglass(true);
  Save.InitialDir = ModeFileName();
  Save.Filter = tools.Message14.caption;
  Save.FileName = "*.BMP";
  Save.DefaultExt = "BMP";
  const bool ok = RunDialog(Save);
  const std::string name = TakeChosenName(Save, ok);
  if (ok && UpperExtension(name) == ".BMP")
    WriteFile(name, display::EncodeBmp(plot_.Picture()));
  else if (ok)
    ui_->Failed(Text("ID_MES_ERR_extension", {name, ".BMP"}));
  ui_->SetHourglass(false);
}

}  // namespace rovanel::app
