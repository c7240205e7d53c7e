// What the interference and spectrometry panels show as dumps: the fit's
// result, the simulation's parameters, the calibration's check, the lines
// identified, and the fields of the dialogs once they have closed.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/record_fields.h"
#include "optics/calibration_residuals.h"
#include "app/script/action_runner.h"

namespace rovanel::script {

using app::Real;

bool ActionRunner::DumpOptics(std::string_view what, bool& handled) {
  handled = true;
  if (what == "Fit") {
    if (!fp_.Fit()) return Fail("no fit has run");
    const optics::FitResult& f = *fp_.Fit();
    out_ << "ok=" << f.ok << '\n';
    if (!f.ok) {
      out_ << "why=" << f.why << '\n';
      return true;
    }
    // The model fitted (its page), then every other model on the same curve.
    out_ << "model=" << fp_.FitModel() << '\n';
    for (std::size_t page = 0; page < fp_.FitRmsByModel().size(); ++page)
      if (static_cast<int>(page) != fp_.FitModel() && !std::isnan(fp_.FitRmsByModel()[page]))
        out_ << "other=" << page << ',' << Real(fp_.FitRmsByModel()[page]) << '\n';
    out_ << "SlitWidth=" << Real(f.params.SlitWidth) << '\n'
         << "sigmaSlitWidth=" << Real(f.sigmaSlitWidth) << '\n'
         << "SlitSpacing=" << Real(f.params.SlitSpacing) << '\n'
         << "sigmaSlitSpacing=" << Real(f.sigmaSlitSpacing) << '\n'
         << "Waist=" << Real(f.params.Waist) << '\n'
         << "sigmaWaist=" << Real(f.sigmaWaist) << '\n'
         << "centre=" << Real(f.centre) << '\n'
         << "sigmaCentre=" << Real(f.sigmaCentre) << '\n'
         << "height=" << Real(f.height) << '\n'
         << "sigmaHeight=" << Real(f.sigmaHeight) << '\n'
         << "background=" << Real(f.background) << '\n'
         << "sigmaBackground=" << Real(f.sigmaBackground) << '\n'
         << "rms=" << Real(f.rms) << '\n';
    return true;
  }
  if (what == "Calibration") {
    // The references in force, each against the table built without it.
    const optics::CalResiduals r =
        optics::LeaveOneOutResiduals(fp_.References(), fp_.Spectro().Interpolation);
    auto nm = [](const std::optional<double>& v) {
      if (!v) return std::string("-");
      char text[32];
      std::snprintf(text, sizeof text, "%.3f", *v);
      return std::string(text);
    };
    out_ << "kind=" << (fp_.Spectro().Interpolation == optics::kSplineKind ? "spline" : "linear")
         << '\n';
    for (const optics::CalResidual& line : r.lines)
      out_ << "ref=" << line.pixel << ',' << nm(static_cast<double>(line.lambda)) << ','
           << nm(line.tableNm) << ',' << nm(line.diffNm) << '\n';
    out_ << "rms=" << nm(r.rmsNm) << '\n';
    return true;
  }
  if (what == "Identified") {
    for (const optics::IdentifiedLine& line : fp_.IdentifiedLines()) {
      char text[64];
      std::snprintf(text, sizeof text, "line=%.0f,%.3f\n", line.pixel, line.nm);
      out_ << text;
    }
    return true;
  }
  if (what == "Simulation") {
    const optics::SimulationParams& p = fp_.Paraint().Sim;
    out_ << "page=" << fp_.Paraint().choicePage << '\n'
         << "SlitWidth=" << Real(p.SlitWidth) << '\n'
         << "SlitSpacing=" << Real(p.SlitSpacing) << '\n'
         << "ScreenDistance=" << Real(p.ScreenDistance) << '\n'
         << "Wavelength=" << Real(p.Wavelength) << '\n'
         << "SlitCount=" << Real(p.SlitCount) << '\n'
         << "Waist=" << Real(p.Waist) << '\n';
    return true;
  }
  // A field of a dialog, by component name, as it was left.
  for (app::DialogModel* d : std::initializer_list<app::DialogModel*>{
           &fp_.MiCalc(), &fp_.Paraint(), &fp_.Feature(), &fp_.Affichage(), &fp_.Imp()})
    for (const auto& [name, control] : d->Texts())
      if (name == what) {
        out_ << control->caption << '\n';
        return true;
      }
  handled = false;
  return false;
}

}  // namespace rovanel::script
