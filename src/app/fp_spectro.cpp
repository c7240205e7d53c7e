// The spectrometer's calibration: the reference lines a student marks
// (pixel and known wavelength), the wavelength table built through them,
// the lamp-line library for the wavelength entry, and the reference
// spectrum that corrects the sensor's response.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/dialogs/paraint.h"
#include "app/main_window.h"
#include "signal/prominence.h"

namespace rovanel::app {

namespace {

std::string RefNumberText(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d", n);
  return text;
}

}  // namespace

std::string TFp::ReferenceFault(const std::string& pixel, const std::string& wavelength,
                                std::string* field) const {
  const auto p = ReadLooseDecimal(pixel);
  if (!p || *p != std::floor(*p) || !optics::ValidReferencePixel(static_cast<double>(*p))) {
    if (field) *field = "pixel";
    return Text("ID_MES_ERR_pixel", {pixel});
  }
  const auto lambda = ReadLooseDecimal(wavelength);
  // Stored as a 32-bit float: 46 nines would become +inf.
  if (!lambda || !optics::ValidReferenceWavelength(static_cast<float>(*lambda))) {
    if (field) *field = "wavelength";
    return Text("ID_MES_ERR_longueur onde", {wavelength});
  }
  return {};
}

bool TFp::StoreReference() {
  if (const std::string fault = ReferenceFault(tools.NumPix.caption, tools.spLbd.caption);
      !fault.empty()) {
    ui_->Failed(fault);
    return false;
  }
  const auto lambda = ReadLooseDecimal(tools.spLbd.caption);
  // Reference n is entry n - 1 of the table.
  const auto n = static_cast<std::size_t>(RefNumber - 1);
  ActiveCalPoints[n] = {std::atoi(tools.NumPix.caption.c_str()), static_cast<float>(*lambda)};
  SpectroParams.CalPoints = ActiveCalPoints;
  DrawCurves();
  return true;
}

void TFp::ShowReferenceTexts() {
  const optics::CalPoint& p = ActiveCalPoints[static_cast<std::size_t>(RefNumber - 1)];
  tools.NivRef.caption = RefNumberText(RefNumber);
  tools.NumPix.caption = std::to_string(p.pixel);
  tools.spLbd.caption = TwoDecimals(p.lambda);
}

void TFp::ShowReference() {
  const optics::CalPoint& p = ActiveCalPoints[static_cast<std::size_t>(RefNumber - 1)];
  ShowReferenceTexts();
  if (tools.cursv.down && p.lambda != 0.0f && p.pixel >= 0 && plot_.ZoomStep() > 0) {
    const int column = (p.pixel - plot_.ViewStart()) / plot_.ZoomStep();
    if (column >= 0 && column <= kScreenWidth) plot_.PutVerticalCursors(column);
  }
  DrawCursors();
  DrawCurves();
}

void TFp::RefPlusClick() {
  if (!StoreReference()) return;
  RefNumber = std::min(RefNumber + 1, optics::kLinearCalPoints);
  ShowReference();
}

void TFp::RefMoinsClick() {
  if (!StoreReference()) return;
  RefNumber = std::max(RefNumber - 1, 1);
  ShowReference();
}

void TFp::spLbdKeyPress(int key) {
  // Enter keeps the line and moves on (the view then selects the text).
  if (key == 13) RefPlusClick();
}

bool TFp::LampLineChosen(double nm) {
  for (const optics::LampLine& line : LampLines)
    if (std::fabs(line.wavelengthNm - nm) < 5e-4) {
      char text[32];
      std::snprintf(text, sizeof text, "%.3f", line.wavelengthNm);
      tools.spLbd.caption = text;
      LampChosen = line.lamp;
      Changed(kChangedControls);
      return true;
    }
  return false;
}

void TFp::EditLambda1Click() {
  if (Mode() != Experiment::Spectrometry || !tools.cursv.down) return;
  const int column = plot_.Cursor().lastVertical == 2 ? plot_.Cursor().x2 : plot_.Cursor().x1;
  const int step = Mode() == Experiment::Live ? 4 : plot_.ZoomStep();
  feature.pofiltre.visible = feature.pmoy.visible = feature.pcumul.visible = false;
  feature.spRef.visible = true;
  feature.Caption = tools.titre10.caption;
  feature.spNumPix.caption = std::to_string(column * step + plot_.ViewStart());
  feature.spLbd1.caption = tools.spLbd.caption;
  feature.CheckReference = [this](const std::string& pixel, const std::string& nm,
                                  std::string& field) { return ReferenceFault(pixel, nm, &field); };
  const bool ok = RunDialog(feature);
  feature.CheckReference = nullptr;
  feature.spRef.visible = false;
  if (!ok) return;
  const std::string pixel = tools.NumPix.caption, lambda = tools.spLbd.caption;
  tools.NumPix.caption = feature.spNumPix.caption;
  tools.spLbd.caption = feature.spLbd1.caption;
  if (!StoreReference()) {
    tools.NumPix.caption = pixel;
    tools.spLbd.caption = lambda;
    return;
  }
  RefNumber = std::min(RefNumber + 1, optics::kLinearCalPoints);
  ShowReference();
}

void TFp::spInitClick() {
  ActiveCalPoints = optics::DefaultCalPoints();
  SpectroParams.CalPoints = ActiveCalPoints;
  RefNumber = 1;
  optics::CalibrationCurve(ActiveCalPoints, optics::kLinearKind, stores.LambdaTab);
  SpectroParams.Interpolation = optics::kLinearKind;
  ShowReference();
}

void TFp::spCalculClick() {
  if (!StoreReference()) return;
  paraint.pplut.visible = paraint.choice.visible = false;
  paraint.ppdisp.visible = true;
  paraint.Caption = tools.titre13.caption;
  paraint.Points = ActiveCalPoints;
  paraint.Table = stores.LambdaTab;
  paraint.Interpolation = SpectroParams.Interpolation;
  if (RunDialog(paraint)) {
    stores.LambdaTab = paraint.Table;
    SpectroParams.Interpolation = paraint.Interpolation;
  }
  paraint.ppdisp.visible = false;
  ProcessCurves();
  DrawCurves();
}

void TFp::spIdentifyClick() {
  // The peaks standing out by the prominence asked for, or by 5 % of full
  // scale at least: a lamp's lines, not the noise between them.
  constexpr int kLineProminencePct = 5;
  const signal::Curve& shown = curves_.Shown(curves_.Count());
  std::vector<optics::SpectrumPeak> peaks;
  for (const signal::ProminentPeak& p :
       signal::ProminentPeaks(shown, std::max(PeakProminencePct, kLineProminencePct)))
    peaks.push_back({p.centre, static_cast<double>(p.prominence)});
  std::vector<double> lines;
  for (const optics::LampLine& line : LampLines)
    if (line.lamp == LampChosen) lines.push_back(line.wavelengthNm);
  Identified = optics::IdentifyLines(peaks, lines, optics::kLinearCalPoints);
  if (Identified.empty()) {
    ui_->MessageBox(Text("ID_MES_SPC_aucune raie", {LampChosen}), MessageKind::Information);
    return;
  }
  std::string text = Text("ID_MES_SPC_raies trouvées", {LampChosen}) + "\n\n";
  for (std::size_t k = 0; k < Identified.size(); ++k) {
    char pixel[16], nm[16];
    std::snprintf(pixel, sizeof pixel, "%.0f", Identified[k].pixel);
    std::snprintf(nm, sizeof nm, "%.3f", Identified[k].nm);
    text += Text("ID_MES_SPC_raie proposée", {std::to_string(k + 1), pixel, nm}) + "\n";
  }
  if (!ui_->Confirm(text + "\n" + Text("ID_MES_SPC_prendre raies"))) return;
  ActiveCalPoints = optics::CalPoints{};
  for (std::size_t k = 0; k < Identified.size(); ++k)
    ActiveCalPoints[k] = {static_cast<std::int32_t>(std::lround(Identified[k].pixel)),
                          static_cast<float>(Identified[k].nm)};
  SpectroParams.CalPoints = ActiveCalPoints;
  RefNumber = 1;
  ShowReference();
  // The panel keeps the line's wavelength as listed, not rounded to 0.01 nm.
  char nm[32];
  std::snprintf(nm, sizeof nm, "%.3f", static_cast<double>(ActiveCalPoints[0].lambda));
  tools.spLbd.caption = nm;
  ui_->StatusText(Text("ID_MES_SPC_raies prises", {std::to_string(Identified.size())}));
  Changed(kChangedControls);
}

void TFp::spOpnCalClick() {
  PrepareFileDialogs(false);
  ui_->SetHourglass(true);
  const bool ok = RunDialog(open);
  if (!ok) {
    TakeChosenName(open, ok);
    ui_->SetHourglass(false);
    return;
  }
  const std::string name = open.ChosenName();
  // Any file but a curve file gives a flat reference of level 1.
  std::string file = "etalon.ccd";
  auto reference = SpectroParams.RefSpectrum;
  reference.fill(1);
  bool take = true;
  if (UpperExtension(name) == ".CCD") {
    // A file that cannot be read keeps the reference in force.
    CcdData d{ProfParams, OptoParams, SpectroParams, PrintNotes, reference};
    take = ReadCCD(name, d);
    if (take) {
      ActiveCalPoints = SpectroParams.CalPoints;
      reference = d.curve;
      file = name.substr(name.find_last_of('/') + 1).substr(0, 20);
    }
  }
  // A reference that cannot be read changes nothing, the file label included.
  if (!take) {
    ui_->SetHourglass(false);
    return;
  }
  TakeChosenName(open, ok);
  SpectroParams.RefFile = file;
  tools.spEtaFile.caption = file;
  SpectroParams.RefSpectrum = reference;
  std::copy(reference.begin(), reference.end(), curves_.Raw(1).begin());
  SetupMode();
  ProcessCurves();
  ui_->SetHourglass(false);
}

void TFp::spCalYClick() {
  SaveModeToggles();
  tools.fft.down = false;
  ProcessCurves();
}

}  // namespace rovanel::app
