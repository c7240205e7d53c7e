// The interference mode's simulation: the computed pattern in curve 1
// beside the measured one in curve 2, moved and scaled by the main
// window's bars, its parameters from the dialog, its fit to the
// measurement; and the optics calculator.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/dialogs/paraint.h"
#include "app/main_window.h"
#include "optics/simulation.h"

namespace rovanel::app {

namespace {

}  // namespace

void TFp::ComputeSimulation(int shift) {
  curves_.Raw(1) =
      optics::ComputeSimulation(paraint.Sim, paraint.choicePage, shift, intensbar.position);
  curves_.Shown(1) = curves_.Raw(1);
  DrawCurves();
  ProcessCurves();
}

namespace {

// The waist controls show only while the Gaussian model is on.
void ShowWaistControls(Tools& t, bool on, int page) {
  const bool show = on && page == optics::kPageGaussian;
  t.ebxWaist.visible = t.BarWaist.visible = t.lblmm.visible = t.lblL.visible = show;
}

// The fitted values with their standard uncertainties, one per line.
std::string FitReport(const optics::FitResult& f, int page) {
  std::string text;
  char line[128];
  auto add = [&](const char* what, double v, double s, const char* unit, int decimals) {
    std::snprintf(line, sizeof line, "%s = %.*f ± %.*f%s%s\n", what, decimals, v, decimals, s,
                  *unit ? " " : "", unit);
    text += line;
  };
  if (page == optics::kPageGaussian) {
    add("w", f.params.Waist * 1e3, f.sigmaWaist * 1e3, "mm", 3);
  } else {
    add("a", f.params.SlitWidth * 1e6, f.sigmaSlitWidth * 1e6, "µm", 2);
    if (page != optics::kPageOneSlit)
      add("d", f.params.SlitSpacing * 1e3, f.sigmaSlitSpacing * 1e3, "mm", 4);
  }
  add("x0", f.centre, f.sigmaCentre, "pixel", 2);
  add("I0", f.height, f.sigmaHeight, "", 1);
  add("I1", f.background, f.sigmaBackground, "", 1);
  std::snprintf(line, sizeof line, "rms = %.2f (%d)", f.rms, f.samples);
  return text + line;
}

}  // namespace

void TFp::gosimuClick() {
  Simulating = SimulationShown();
  tools.superposition.down = Simulating;
  tools.suppression.enabled = tools.fft.enabled = !Simulating;
  ShowWaistControls(tools, Simulating, paraint.choicePage);
  waistBar.visible = tools.BarWaist.visible;
  if (Simulating) {
    curves_.Shown(2) = curves_.Shown(curves_.Count());
    curves_.Raw(2) = curves_.Raw(curves_.Count());
    curves_.SetCount(2);
    ProfParams.MaxCurves = 2;
    SimuLayout = true;
    tools.fft.down = false;
    ComputeSimulation(-bar.position);
  } else {
    curves_.Shown(1) = curves_.Shown(2);
    curves_.Raw(1) = curves_.Raw(2);
    curves_.SetCount(1);
    ProfParams.MaxCurves = 3;
    SimuLayout = false;
    tools.fft.down = false;
    ProcessCurves();
  }
}

void TFp::Simulation1Click() {
  paraint.pplut.visible = paraint.ppdisp.visible = false;
  paraint.choice.visible = true;
  paraint.Caption = tools.Titre7.caption;
  RunDialog(paraint);
  paraint.choice.visible = false;
  ShowWaistControls(tools, SimulationShown(), paraint.choicePage);
  waistBar.visible = tools.BarWaist.visible;
  waistBar.position = optics::BarOfWaist(paraint.Sim.Waist);
  tools.ebxWaist.caption = paraint.ebxWidth.caption;
  if (SimulationShown()) ComputeSimulation(-bar.position);
}

void TFp::barChange() {
  if (SimulationShown()) ComputeSimulation(-bar.position);
}

void TFp::BarWaistChange() {
  if (!SimulationShown()) return;
  paraint.Sim.Waist = optics::WaistOfBar(waistBar.position);
  tools.ebxWaist.caption = TwoDecimals(paraint.Sim.Waist * 1000);
  ComputeSimulation(-bar.position);
}

void TFp::ebxWaistKeyPress(int key) {
  if (key != 13) return;
  const double mm = ReadLooseDecimal(tools.ebxWaist.caption).value_or(0.0);
  ScrollTo("BarWaist", optics::BarOfWaist(mm / 1000));
}

ScrollBar* TFp::MutableScrollBar(std::string_view name) {
  if (name == "bar") return &bar;
  if (name == "intensbar") return &intensbar;
  if (name == "BarWaist") return &waistBar;
  return nullptr;
}

const ScrollBar* TFp::ScrollBarOf(std::string_view name) const {
  return const_cast<TFp*>(this)->MutableScrollBar(name);
}

bool TFp::ScrollTo(std::string_view name, int position) {
  ScrollBar* b = MutableScrollBar(name);
  if (b == nullptr) return false;
  const int p = std::clamp(position, b->min, b->max);
  if (p == b->position) return true;
  b->position = p;
  if (name == "BarWaist")
    BarWaistChange();
  else
    barChange();
  Changed(kChangedCaptions | kChangedScrollBars);
  return true;
}

void TFp::ScrollStep(std::string_view name, bool end) {
  if (name == "bar") barScroll(end);
  if (name == "intensbar") intensbarScroll(end);
}

void TFp::barScroll(bool end) {
  // Holding an arrow speeds the pattern up; letting go slows it down again.
  bar.smallChange = end ? 1 : std::min(bar.smallChange * 2, 64);
}

void TFp::intensbarScroll(bool end) {
  intensbar.smallChange = end ? 1 : std::min(intensbar.smallChange * 2, 32);
}

void TFp::AjusterClick() {
  // The measured curve: curve 2 while the pattern is shown, else the last.
  const signal::Curve& measured = SimulationShown() ? curves_.Raw(2) : curves_.Raw(curves_.Count());
  ui_->SetHourglass(true);
  LastFit = optics::FitSimulation(measured, paraint.choicePage, paraint.Sim);
  ui_->SetHourglass(false);
  const optics::FitResult& f = *LastFit;
  if (!f.ok) {
    ui_->MessageBox(Text("ID_MES_ERR_ajustement", {f.why}), MessageKind::Error);
    return;
  }
  paraint.ShowFit(f);
  // The pattern where the fit put it: its centre, and its peak on the
  // measured peak.
  bar.position = std::clamp(static_cast<int>(std::lround(f.centre)) - optics::kSimAxisPixel,
                            bar.min, bar.max);
  const double g = (f.height + f.background) / 255.0;
  intensbar.position = std::clamp(static_cast<int>(std::lround(intensbar.max * (1.5 - g))),
                                  intensbar.min, intensbar.max);
  waistBar.position = optics::BarOfWaist(paraint.Sim.Waist);
  tools.ebxWaist.caption = paraint.ebxWidth.caption;
  if (SimulationShown()) {
    ComputeSimulation(-bar.position);
  } else {
    tools.gosimu.down = true;
    gosimuClick();
  }
  // The result names its model; when another model plainly fits the data
  // better (a slit pattern fitted with the Gaussian beam), it is offered.
  static constexpr const char* kModelKeys[] = {"TAB_INT_1fente", "TAB_INT_2fentes",
                                               "TAB_INT_Multi-fentes", "TAB_INT_Gaussienne"};
  LastFitPage = paraint.choicePage;
  // The other models on the same data: offered, each with its residual,
  // when one of them plainly fits better (less than 0.8 times the rms).
  OtherFits.clear();
  bool better = false;
  for (int page = 0; page < Tparaint::kPages; ++page) {
    if (page == LastFitPage) continue;
    const optics::FitResult other = optics::FitSimulation(measured, page, paraint.Sim);
    if (!other.ok) continue;
    OtherFits.emplace_back(page, other.rms);
    better = better || other.rms < 0.8 * f.rms;
  }
  if (!better) OtherFits.clear();
  const auto rms = [](double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return std::string(text);
  };
  std::string report = Text("ID_MES_INF_modèle utilisé", {Text(kModelKeys[LastFitPage])}) + "\n" +
                       Text("ID_MES_INF_ajustement") + "\n" + FitReport(f, LastFitPage);
  if (!OtherFits.empty()) {
    std::string list;
    for (const auto& [page, value] : OtherFits)
      list += (list.empty() ? "" : ", ") + Text(kModelKeys[page]) + " " + rms(value);
    report += "\n\n" + Text("ID_MES_INF_autres modèles", {rms(f.rms), list});
  }
  ui_->MessageBox(report, MessageKind::Information);
}

void TFp::calcClick() {
  if (!miCalc.ShowFor(Mode() == Experiment::Michelson, Mode() == Experiment::Interference)) return;
  miCalc.Caption = Mode() == Experiment::Michelson ? tools.Titre6.caption : tools.Titre7.caption;
  RunDialog(miCalc);
}

}  // namespace rovanel::app
