// Printing: the print dialog and its annotations, the page of what the plot
// shows, the platform's print dialog, and the same page as a PDF or PNG.
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "app/main_window.h"
#include "base/printable.h"
#include "display/colour_strip.h"
#include "display/legends.h"
#include "display/page_output.h"
#include "optics/calibration_residuals.h"
#include "signal/paging.h"

namespace rovanel::app {

namespace {

// What the port is sent once the print dialog is confirmed.
constexpr std::uint8_t kPrintData = 0xF7;
constexpr std::uint8_t kPrintControl = 0xCC;
// Resolution of the PNG page.
constexpr int kPngDpi = 150;

std::string Formatted(const char* format, auto... values) {
  char text[128];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

}  // namespace

bool TFp::RunPrintDialog() {
  imp.Caption = Text("ID_FRM_IMP_Impression");
  imp.SetNotes(PrintNotes);
  imp.Preview = [this] { ui_->PreviewPage(MakePrintJob(imp.Notes())); };
  const bool ok = RunDialog(imp);
  imp.Preview = nullptr;
  if (ok) PrintNotes = imp.Notes();
  return ok;
}

void TFp::imprimerClick() {
  if (!RunPrintDialog()) return;
  // The print dialog confirmed for a printer: a printer on the parallel port
  // is woken at once (before the platform's dialog); with no port open
  // nothing is sent. A page written to a file sends nothing.
  device::TSmallPort& port = box_.Port();
  if (port.Opened()) {
    port.ParaWriteData(kPrintData);
    port.ParaWriteControl(kPrintControl);
  }
  ui_->PrintPage(MakePrintJob(PrintNotes), [] {});
}

bool TFp::PrintToFile(const std::string& path, PageFile kind, std::string& error) {
  if (!tools.imprimer.enabled) {
    error = "printing is not available now (the live view runs)";
    return false;
  }
  if (!RunPrintDialog()) {
    error = "the print dialog was cancelled: nothing written";
    return false;
  }
  const PrintJob job = MakePrintJob(PrintNotes);
  const display::PageSetup setup{job.paper, job.landscape};
  const bool written =
      kind == PageFile::Pdf
          ? display::WritePagePdf(path, job.page, job.style, setup, error)
          : display::WritePagePng(path, job.page, job.style, setup, kPngDpi, error);
  if (!written) error = "cannot write " + Quoted(path) + ": " + error;
  return written;
}

std::vector<display::PageCurve> TFp::PageCurves() const {
  const std::int64_t span = std::int64_t{kScreenWidth} * plot_.ZoomStep();
  std::vector<display::PageCurve> curves;
  if (Mode() == Experiment::Michelson) {
    // The series as DrawSeries shows it.
    const std::int64_t n =
        std::min<std::int64_t>(std::max<std::int64_t>(NbPoints, 0), stores.MiSerie.Capacity());
    const std::int64_t first = std::clamp<std::int64_t>(plot_.ViewStart(), 0, n);
    const std::int64_t last = std::min<std::int64_t>(n, first + span);
    std::vector<std::uint8_t> window(static_cast<std::size_t>(last - first));
    signal::ReadSamples(stores.MiSerie, static_cast<std::uint32_t>(first), window);
    curves.push_back({{window.begin(), window.end()}, display::kBlack});
    return curves;
  }
  const std::int64_t first = std::clamp<std::int64_t>(plot_.ViewStart(), 0, kPixels);
  const std::int64_t last = std::min<std::int64_t>(kPixels, first + span);
  for (int k = 1; k <= curves_.Count(); ++k) {
    const signal::Curve& c = curves_.Shown(k);
    curves.push_back({{c.begin() + first, c.begin() + last}, curves_.Pen(k)});
  }
  return curves;
}

std::vector<std::string> TFp::PageReadouts() const {
  std::vector<std::string> lines;
  for (const Control* c : {&tools.coorv1, &tools.coorv2, &tools.Deltav, &tools.coorh1,
                           &tools.coorh2, &tools.deltah})
    if (!c->caption.empty()) lines.push_back(c->caption);
  if (tools.nbfr.caption != "-" && tools.cursv.down && Mode() == Experiment::Michelson && !tools.fft.down &&
      FringeCount >= 0)
    lines.push_back(Text("ID_PRN_Franges") + " " + std::to_string(FringeCount));
  if (tools.pics.down && plot_.PeakCircle().visible)
    lines.push_back(Text("ID_PRN_Pic") + " " + tools.picx.caption + "   " + tools.picy.caption);
  return lines;
}

std::vector<std::string> TFp::PageSettings() const {
  std::vector<std::string> lines;
  auto line = [&](std::string_view key, const std::string& value) {
    lines.push_back(Text(key) + " " + value);
  };
  // The sensitivity sets the integration time in every mode.
  line("ID_PRN_Sensibilité", tools.NivPotar.caption);
  if (Mode() == Experiment::Michelson) {
    line("ID_PRN_Durée", tools.InterAcc.caption + " s");
    line("ID_PRN_Points", std::to_string(MiParams.NbPoints));
  } else {
    line("ID_PRN_Courbes", std::to_string(curves_.Count()));
  }
  std::string filters;
  auto add = [&](bool on, const std::string& what) {
    if (!on) return;
    filters += (filters.empty() ? "" : ", ") + what;
  };
  const int order = Mode() == Experiment::Michelson ? MiParams.FilterOrder : ProfParams.FilterOrder;
  add(tools.calibration.down, tools.calibration.caption);
  add(tools.filtrage.down, tools.filtrage.caption + " (" + std::to_string(order) + ")");
  add(tools.invert.down, tools.invert.caption);
  add(tools.moyenne.down, tools.moyenne.caption + " (" + std::to_string(ProfParams.AvgCount) + ")");
  add(tools.fft.down, tools.fft.caption);
  if (Mode() == Experiment::Analysis) {
    add(tools.lutln.down, tools.lutln.caption + " " + std::to_string(OptoParams.CoefLn));
    add(tools.lutexp.down, tools.lutexp.caption + " " + std::to_string(OptoParams.CoefExp));
  }
  line("ID_PRN_Filtres", filters.empty() ? Text("ID_PRN_aucun") : filters);
  line("ID_PRN_Zoom", tools.ZoomAff.caption);
  if (Mode() == Experiment::Spectrometry) {
    std::string kind = Text(SpectroParams.Interpolation == optics::kSplineKind ? "ID_PRN_spline"
                                                                               : "ID_PRN_linéaire");
    // With the rms of the lines left out one by one, when there are enough.
    const optics::CalResiduals r = optics::LeaveOneOutResiduals(ActiveCalPoints, SpectroParams.Interpolation);
    if (r.rmsNm) kind += ", " + Text("ID_PRN_rms", {Formatted("%.2f", *r.rmsNm)});
    line("ID_PRN_Etalonnage", kind);
  }
  return lines;
}

void TFp::FillPagePlot(display::PrintPage& page) const {
  page.span = static_cast<std::size_t>(kScreenWidth) * static_cast<std::size_t>(plot_.ZoomStep());
  page.curves = PageCurves();
  page.x.resize(page.span);
  const bool nm = affichage.XUnit == "nm";
  for (std::size_t i = 0; i < page.span; ++i) {
    const std::int64_t sample = plot_.ViewStart() + static_cast<std::int64_t>(i);
    page.x[i] = nm ? static_cast<double>(
                         stores.LambdaTab[static_cast<std::size_t>(std::clamp<std::int64_t>(
                             sample, 0, kPixels - 1))])
                   : static_cast<double>(sample) * SampleValue;
  }
  // The spectral colours shown on screen, under the curve on paper.
  if (Mode() == Experiment::Spectrometry && (tools.spColor.down || tools.spColor2.down))
    for (std::size_t i = 0; i < page.curves.back().levels.size(); ++i) {
      const float lambda = stores.LambdaTab[static_cast<std::size_t>(plot_.ViewStart()) + i];
      page.sampleColours.push_back(display::SpectrumRgb(
          stores.SpectrumColours, display::SpectrumColourIndex(lambda)));
    }
  page.xLegend = tools.AffUniteX.caption;
  page.yLegend = tools.AffUniteY.caption;
  if (tools.cursv.down)
    page.cursorsX = {plot_.Cursor().x1 / double(kScreenWidth), plot_.Cursor().x2 / double(kScreenWidth)};
  if (tools.cursh.down)
    for (int row : {plot_.Cursor().y1, plot_.Cursor().y2})
      page.cursorsY.push_back(1.0 - display::RowPercent(row, plot_.BandMode()) / 100.0);

  if (tools.pics.down) {
    const bool mi = Mode() == Experiment::Michelson;
    const std::size_t shown = page.curves.empty() ? 0 : page.curves.back().levels.size();
    for (std::size_t i = 0; i < shown; ++i) {
      const auto u = static_cast<std::uint32_t>(plot_.ViewStart() + static_cast<std::int64_t>(i));
      if (mi ? stores.PeakMarks.GetValue(u) != 0 : stores.WorkTab.GetValue(u + kPixels) != 0)
        page.peaks.push_back(i);
    }
    if (plot_.PeakCircle().visible && PeakIndex >= 0 && static_cast<std::size_t>(PeakIndex) < page.peaks.size())
      page.selectedPeak = static_cast<std::size_t>(PeakIndex);
  }
}

PrintJob TFp::MakePrintJob(const PrintNotesRec& notes) {
  PrintJob job;
  job.style = imp.Style();
  job.paper = imp.Paper;
  job.landscape = imp.Landscape;
  display::PrintPage& page = job.page;

  std::string mode;
  const std::pair<const Control*, std::string_view> modes[] = {{&tools.mi, "ID_PRN_mode mi"},
                                                               {&tools.int_, "ID_PRN_mode int"},
                                                               {&tools.opto, "ID_PRN_mode opto"},
                                                               {&tools.spectro, "ID_PRN_mode spectro"}};
  for (const auto& [button, key] : modes)
    if (button->down) mode = Text(key);
  page.title = std::string(kApplicationTitle) + (mode.empty() ? "" : "  —  " + mode);
  const std::time_t now = Now ? static_cast<std::time_t>(Now()) : std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const char* dateFormat = Language == 2 ? "%Y-%m-%d  %H:%M"
                           : Language == 3 ? "%d.%m.%Y  %H:%M"
                                           : "%d/%m/%Y  %H:%M";
  char date[64];
  std::strftime(date, sizeof date, dateFormat, &local);
  page.date = date;
  page.nomLabel = imp.lblNom.caption;
  page.nom = notes.NomText;
  page.manipLabel = imp.lblManip.caption;
  page.manip = notes.ManipText;
  page.remarkLabel = imp.lblRemark.caption;
  page.remark = notes.RemarkText;

  FillPagePlot(page);
  page.readouts = PageReadouts();
  page.settings = PageSettings();
  if (Mode() == Experiment::Spectrometry)
    for (int n = 1; n <= optics::kLinearCalPoints; ++n) {
      const optics::CalPoint& p = ActiveCalPoints[static_cast<std::size_t>(n - 1)];
      if (p.pixel < 0 || p.lambda == 0.0f) continue;
      page.references.push_back(Formatted("Ref.%d  Pixel n°%d", n, p.pixel) + "     " +
                                Formatted("Lambda = %4.0fnm", static_cast<double>(p.lambda)));
    }
  if (Mode() == Experiment::Spectrometry) {
    // Beside each reference (the second column), the table built without
    // it at its pixel.
    const optics::CalResiduals r = optics::LeaveOneOutResiduals(ActiveCalPoints, SpectroParams.Interpolation);
    if (r.rmsNm && r.lines.size() == page.references.size()) {
      for (const optics::CalResidual& line : r.lines)
        page.references.push_back(
            line.diffNm ? Text("ID_PRN_sans la raie", {Formatted("%.2f", *line.tableNm),
                                                       Formatted("%+.2f", *line.diffNm)})
                        : std::string("-"));
    }
  }
  return job;
}

}  // namespace rovanel::app
