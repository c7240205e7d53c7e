// The interference and spectrometry controls as actions: the simulation's
// bars and waist edit, the wavelength entry and its lamp lines, the fit's
// result, and the fields of the dialogs once they have closed.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/record_fields.h"
#include "app/script/action_runner.h"

namespace rovanel::script {

using app::Real;

bool ActionRunner::SetOptics(std::string_view name, std::string_view text, bool& handled) {
  handled = true;
  if (const app::ScrollBar* b = fp_.ScrollBarOf(name)) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value < b->min ||
        value > b->max)
      return Fail(std::string(name) + " takes a position from " + std::to_string(b->min) + " to " +
                  std::to_string(b->max) + ", not '" + std::string(text) + "'");
    fp_.ScrollTo(name, value);
    return true;
  }
  if (name == "spLbd") {
    fp_.TypeText("spLbd", std::string(text));
    return true;
  }
  if (name == "ebxWaist") {
    // Typed, then Enter.
    fp_.TypeText("ebxWaist", std::string(text));
    fp_.KeyPress("ebxWaist", 13);
    return true;
  }
  if (name == "spLine") {
    double nm = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), nm);
    if (ec != std::errc() || end != text.data() + text.size() || !fp_.LampLineChosen(nm))
      return Fail("spLine takes the wavelength of a line of the library (nm), not '" +
                  std::string(text) + "'");
    return true;
  }
  handled = false;
  return false;
}

bool ActionRunner::DumpOptics(std::string_view what, bool& handled) {
  handled = true;
  if (const app::ScrollBar* b = fp_.ScrollBarOf(what)) {
    out_ << b->position << '\n';
    return true;
  }
  if (what == "Fit") {
    if (!fp_.Fit()) return Fail("no fit has run");
    const optics::FitResult& f = *fp_.Fit();
    out_ << "ok=" << f.ok << '\n';
    if (!f.ok) {
      out_ << "why=" << f.why << '\n';
      return true;
    }
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
