// The exports a spreadsheet, Python or a lab report reads: the table on
// screen as CSV or on the clipboard, and the spectrum as JCAMP-DX.
#include <algorithm>
#include <ctime>

#include "app/files/jcamp.h"
#include "app/main_window.h"
#include "base/printable.h"
#include "optics/wavelength_table.h"
#include "optics/x_scale.h"
#include "signal/paging.h"

namespace rovanel::app {

namespace {

constexpr char kCsvFilter[] = "CSV (*.csv)|*.CSV";
constexpr char kJcampFilter[] = "JCAMP-DX (*.jdx)|*.JDX";

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string LocalDateTime() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
  return text;
}

}  // namespace

CsvStyle TFp::CurrentCsvStyle() const {
  return EffectiveCsvStyle(static_cast<CsvStyle>(Config.CfgCsvStyle), Language);
}

DataTable TFp::ShownTable() {
  const std::string& unit = affichage.XUnit;
  const bool mi = Mode() == Experiment::Michelson;
  optics::XScale scale;
  scale.integrationMs = 10.0 + 2.5 * MiParams.Level;
  scale.durationCode = MiParams.DurationCode;
  scale.points = mi && tools.fft.down ? MiParams.FftSize : MiParams.NbPoints;
  scale.lambda = stores.LambdaTab;

  DataColumn x;
  if (unit == "µm" || unit == "mm")
    x.name = Text("ID_MES_INF_col position") + " (" + unit + ")";
  else if (unit == "pix")
    x.name = Text("ID_MES_INF_col pixel");
  else if (unit == "s")
    x.name = Text("ID_MES_INF_col temps") + " (s)";
  else if (unit == "Hz")
    x.name = Text("ID_MES_INF_col frequence") + " (Hz)";
  else if (unit == "/m")
    x.name = Text("ID_MES_INF_col frequence spatiale") + " (1/m)";
  else if (unit == "nm")
    x.name = Text("ID_MES_INF_col longueur d'onde") + " (nm)";
  else
    x.name = unit;
  x.single = unit == "nm";

  // The samples the plot reads, never past what is held.
  std::int64_t n = std::max<std::int64_t>(0, NbPoints);
  n = std::min<std::int64_t>(n, mi ? stores.MiSerie.Capacity() : signal::kPixels);
  if (unit == "nm") n = std::min<std::int64_t>(n, static_cast<std::int64_t>(stores.LambdaTab.size()));
  for (std::int64_t i = 0; i < n; ++i) x.values.push_back(optics::XOfSample(unit, i, scale));

  DataTable table;
  table.columns.push_back(std::move(x));
  auto levels = [&](std::string name, std::span<const std::uint8_t> from) {
    DataColumn c{std::move(name), {}, false};
    for (std::int64_t i = 0; i < n; ++i) c.values.push_back(from[static_cast<std::size_t>(i)]);
    table.columns.push_back(std::move(c));
  };
  const std::string level = Text("ID_MES_INF_col niveau");
  if (mi) {
    exportSerie_.resize(static_cast<std::size_t>(n));
    signal::ReadSamples(stores.MiSerie, 0, exportSerie_);
    levels(level, exportSerie_);
    return table;
  }
  const int count = curves_.Count();
  // The two-curve layouts: curve 1 is the reference spectrum or the
  // computed pattern, the measured curves follow it.
  const bool beside = (SpectroLayout && Mode() == Experiment::Spectrometry) ||
                      (Simulating && Mode() == Experiment::Interference);
  const int first = beside && count >= 2 ? 2 : 1;
  for (int k = first; k <= count; ++k)
    levels(count == first ? level : Text("ID_MES_INF_col courbe", {std::to_string(k - first + 1)}),
           curves_.Shown(k));
  if (first == 2)
    levels(Text(Mode() == Experiment::Spectrometry ? "ID_MES_INF_col reference"
                                                   : "ID_MES_INF_col calcul"),
           curves_.Shown(1));
  return table;
}

bool TFp::SaveExport(const std::string& filter, const std::string& ext, const std::string& bytes) {
  Save.Filter = filter;
  Save.DefaultExt = ext;
  Save.FileName = "*." + ext;
  Save.InitialDir = ModeFileName();
  if (!RunDialog(Save)) return false;
  const std::string name = Save.ChosenName();
  if (UpperExtension(name) != "." + ext) {
    ui_->Failed(Text("ID_MES_ERR_extension", {Printable(name), "." + ext}));
    return false;
  }
  ui_->SetHourglass(true);
  const bool ok =
      WriteFile(name, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  ui_->SetHourglass(false);
  return ok;
}

void TFp::KeepCsvStyle(CsvStyle style) {
  if (static_cast<CsvStyle>(Config.CfgCsvStyle) == style) return;
  Config.CfgCsvStyle = static_cast<std::uint8_t>(style);
  // Into the configuration file as it is on disk, its other fields kept.
  ConfigRec kept;
  if (!ReadConfig(AppDir, kept)) {
    kept = Config;
    kept.CfgSlope = WaitCalib->Slope;
    kept.CfgOffset = WaitCalib->Offset;
  }
  kept.CfgCsvStyle = Config.CfgCsvStyle;
  std::string reason;
  if (!WriteConfig(AppDir, kept, reason))
    ui_->MessageBox(
        Text("ID_MES_ERR_style csv non garde", {AppDir + std::string(kConfigFile), Reason(reason)}),
        MessageKind::Error);
}

void TFp::Csv1Click() {
  csvStyle.Caption = Text("ID_TRT_INF_style csv");
  csvStyle.Explication.caption = Text("ID_LBL_BAS_style csv");
  csvStyle.pointComma.caption = Text("ID_RBT_BAS_point et virgule");
  csvStyle.commaSemicolon.caption = Text("ID_RBT_BAS_virgule et point-virgule");
  csvStyle.OK.caption = Text("ID_BTN_BAS_Valider");
  csvStyle.Cancel.caption = Text("ID_BTN_BAS_Annuler");
  csvStyle.Style = CurrentCsvStyle();
  if (!RunDialog(csvStyle)) return;
  KeepCsvStyle(csvStyle.Style);
  SaveExport(kCsvFilter, "CSV", CsvText(ShownTable(), csvStyle.Style));
}

void TFp::CopierCourbe1Click() {
  // Without a window (rovanel-cli) there is no plot to picture: said.
  if (!ui_->CopyPlot()) ui_->Failed(Text("ID_MES_ERR_pas de fenetre"));
}

void TFp::CopierDonnees1Click() {
  copiedText_ = TabText(ShownTable(), CurrentCsvStyle());
  ui_->CopyText(copiedText_);
}

void TFp::ExportJcamp(bool resample) {
  if (Mode() != Experiment::Spectrometry) {
    ui_->Failed(Text("ID_MES_ERR_jcamp spectro"));
    return;
  }
  JcampInput in;
  in.title = BaseName(tools.FileNom.caption);
  in.date = LocalDateTime();
  const std::size_t n = static_cast<std::size_t>(std::clamp<std::int32_t>(NbPoints, 0, signal::kPixels));
  in.lambda = std::span<const float>(stores.LambdaTab).first(std::min(n, stores.LambdaTab.size()));
  in.levels = std::span<const std::uint8_t>(curves_.Shown(curves_.Count())).first(n);
  const Box& box = box_;
  in.privateLabels.emplace_back("BOX", box.Simulated()  ? "simulated"
                                       : box.PortBox() ? "parallel port"
                                                       : "USB");
  in.privateLabels.emplace_back("SENSITIVITY", std::to_string(series.level));
  in.privateLabels.emplace_back(
      "CALIBRATION", SpectroParams.Interpolation == optics::kSplineKind ? "spline" : "linear");
  std::string points;
  for (const optics::CalPoint& p : SpectroParams.CalPoints)
    if (p.lambda != 0.0f) {
      char pair[48];
      std::snprintf(pair, sizeof pair, "%s%d=%.3f", points.empty() ? "" : " ", p.pixel,
                    static_cast<double>(p.lambda));
      points += pair;
    }
  in.privateLabels.emplace_back("CALIBRATION POINTS", points);
  in.privateLabels.emplace_back("REFERENCE FILE", SpectroParams.RefFile);
  in.privateLabels.emplace_back("REFERENCE CORRECTION", tools.spCalY.down ? "on" : "off");
  in.resample = resample;
  std::string text, why;
  if (!JcampText(in, text, why)) {
    ui_->Failed(Reason(why));
    return;
  }
  SaveExport(kJcampFilter, "JDX", text);
}

void TFp::Jcamp1Click() {
  ExportJcamp(false);
}

void TFp::JcampNm1Click() {
  ExportJcamp(true);
}

}  // namespace rovanel::app
