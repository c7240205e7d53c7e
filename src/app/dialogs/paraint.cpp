#include "app/dialogs/paraint.h"

#include <algorithm>
#include <charconv>

#include "signal/lut.h"

namespace rovanel::app {

Tparaint::Tparaint() {
  Caption = "ID_TRT_INF_corec gamma";
  coefln.caption = "2";
  coefexp.caption = "2";
  def.caption = "ID_BTN_ANE_Défaut";
  lblLn.caption = "ID_LBL_ANE_Coef. ln";
  lblExp.caption = "ID_LBL_ANE_Coef. exp";
  valide.caption = "ID_BTN_BAS_Valider";
  BitBtn1.caption = "ID_BTN_BAS_Aide";
  BitBtn2.caption = "ID_BTN_BAS_Annuler";
  SimulationDefaults();
  // The caller shows the panel it needs.
  pplut.visible = choice.visible = ppdisp.visible = false;
}

FormControls Tparaint::Texts() {
#define ROVANEL_C(x) {#x, &x}
  return {ROVANEL_C(pplut),  ROVANEL_C(coefln), ROVANEL_C(coefexp), ROVANEL_C(def),
          ROVANEL_C(Imlut),  ROVANEL_C(lblLn),  ROVANEL_C(lblExp),  ROVANEL_C(choice),
          ROVANEL_C(unla),   ROVANEL_C(unlain), ROVANEL_C(undi),    ROVANEL_C(undiin),
          ROVANEL_C(unlo),   ROVANEL_C(unloin), ROVANEL_C(dela),    ROVANEL_C(delain),
          ROVANEL_C(dedi),   ROVANEL_C(dediin), ROVANEL_C(dein),    ROVANEL_C(deinin),
          ROVANEL_C(delo),   ROVANEL_C(deloin), ROVANEL_C(rela),    ROVANEL_C(relain),
          ROVANEL_C(redi),   ROVANEL_C(rediin), ROVANEL_C(rein),    ROVANEL_C(reinin),
          ROVANEL_C(relo),   ROVANEL_C(reloin), ROVANEL_C(renbt),   ROVANEL_C(ebxWidth),
          ROVANEL_C(ppdisp), ROVANEL_C(Interp), ROVANEL_C(rdbLin),  ROVANEL_C(rdbSpline),
          ROVANEL_C(valide), ROVANEL_C(BitBtn1), ROVANEL_C(BitBtn2)};
#undef ROVANEL_C
}

Control* Tparaint::Edit(std::string_view field) {
  for (const auto& [name, c] : Texts())
    if (name == field) return c;
  return nullptr;
}

int Tparaint::EditValue(const Control& edit) const {
  int v = 0;
  const std::string& t = edit.caption;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  return ec == std::errc() && end == t.data() + t.size() ? v : 0;
}

void Tparaint::Activate() {
  closed = accepted = false;
  error.clear();
  HelpAsked = false;
  coefln.caption = std::to_string(CoefLn);
  coefexp.caption = std::to_string(CoefExp);
  barln.position = std::clamp(CoefLn, barln.min, barln.max);
  barexp.position = std::clamp(CoefExp, barexp.min, barexp.max);
  ++PreviewVersion;
  SimulationShow();
  if (ppdisp.visible) CalibrationCurve(Interpolation);
}

void Tparaint::barlnChange(int position) {
  barln.position = std::clamp(position, barln.min, barln.max);
  coefln.caption = std::to_string(barln.position);
  ++PreviewVersion;
}

void Tparaint::barexpChange(int position) {
  barexp.position = std::clamp(position, barexp.min, barexp.max);
  coefexp.caption = std::to_string(barexp.position);
  ++PreviewVersion;
}

void Tparaint::defClick() {
  coefln.caption = coefexp.caption = "2";
  barln.position = barexp.position = 2;
  CoefLn = CoefExp = 2;
  ++PreviewVersion;
}

void Tparaint::coeflnEnter() {
  if (coefln.caption.empty() || EditValue(coefln) < 2) coefln.caption = "2";
  barln.position = std::clamp(EditValue(coefln), barln.min, barln.max);
  ++PreviewVersion;
}

void Tparaint::coefexpEnter() {
  if (coefexp.caption.empty() || EditValue(coefexp) < 2) coefexp.caption = "2";
  barexp.position = std::clamp(EditValue(coefexp), barexp.min, barexp.max);
  ++PreviewVersion;
}

void Tparaint::coeflnKeyUp(Key key) {
  coefln.caption = DigitEditRule(coefln.caption, key, 95, 95);
  if (key == Key::Enter) coeflnEnter();
}

void Tparaint::coefexpKeyUp(Key key) {
  coefexp.caption = DigitEditRule(coefexp.caption, key, 25, 25);
  if (key == Key::Enter) coefexpEnter();
}

void Tparaint::valideClick() {
  error.clear();
  optics::SimulationParams sim = Sim;
  // Nothing changes until every field shown reads.
  if (choice.visible && !ReadPage(sim)) return;
  if (choice.visible) Sim = sim;
  if (pplut.visible) {
    // An edit left empty or below the range counts as its least value.
    CoefLn = std::clamp(EditValue(coefln), signal::kLutLnCoefMin, signal::kLutLnCoefMax);
    CoefExp = std::clamp(EditValue(coefexp), signal::kLutExpCoefMin, signal::kLutExpCoefMax);
  }
  if (ppdisp.visible) Interpolation = rdbSpline.down ? optics::kSplineKind : optics::kLinearKind;
  Close(true);
}

Tparaint::Preview Tparaint::LutPreview() const {
  const int ln = std::clamp(EditValue(coefln), signal::kLutLnCoefMin, signal::kLutLnCoefMax);
  const int ex = std::clamp(EditValue(coefexp), signal::kLutExpCoefMin, signal::kLutExpCoefMax);
  const signal::Lut tables[3] = {signal::LutTable(signal::LutKind::Exponential, ex),
                                 signal::LutTable(signal::LutKind::Logarithmic, ln), [] {
                                   signal::Lut id{};
                                   for (int v = 0; v < 256; ++v) id[v] = std::uint8_t(v);
                                   return id;
                                 }()};
  Preview p;
  const int last = kPreviewSize - 1;
  for (int c = 0; c < 3; ++c)
    for (int x = 1; x <= 255; ++x)
      p.curves[c].push_back({x * last / 255, last - tables[c][x] * last / 255});
  return p;
}

bool Tparaint::SetField(std::string_view field, std::string_view value, std::string& error) {
  if (pplut.visible && (field == "coefln" || field == "coefexp")) {
    Control& edit = field == "coefln" ? coefln : coefexp;
    const int top = field == "coefln" ? 95 : 25;
    edit.caption = TypeDigits(value, top, top);
    field == "coefln" ? coeflnEnter() : coefexpEnter();
    return true;
  }
  if (pplut.visible && (field == "barln" || field == "barexp")) {
    int v = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (ec != std::errc() || end != value.data() + value.size()) {
      error = std::string(field) + " takes a position, not '" + std::string(value) + "'";
      return false;
    }
    field == "barln" ? barlnChange(v) : barexpChange(v);
    return true;
  }
  if (choice.visible && field == "page") {
    if (value.size() != 1 || value[0] < '0' || value[0] >= '0' + kPages) {
      error = "page takes 0 to 3, not '" + std::string(value) + "'";
      return false;
    }
    choicePage = value[0] - '0';
    return true;
  }
  if (choice.visible && PageOf(field) == choicePage) {
    TypeInto(field, value);
    return true;
  }
  if (ppdisp.visible && (field == "rdbLin" || field == "rdbSpline"))
    return Press(field, error);
  error = "no field '" + std::string(field) + "' shown";
  return false;
}

bool Tparaint::Press(std::string_view button, std::string& error) {
  if (button == "def" && pplut.visible) {
    defClick();
    return true;
  }
  if (button == "rdbLin" && ppdisp.visible) {
    rdbLinClick();
    return true;
  }
  if (button == "rdbSpline" && ppdisp.visible) {
    rdbSplineClick();
    return true;
  }
  if (button == "valide" || button == "ok") {
    valideClick();
    return true;
  }
  if (button == "BitBtn2" || button == "cancel") {
    BitBtn2Click();
    return true;
  }
  if (button == "BitBtn1") {
    BitBtn1Click();
    return true;
  }
  error = "no button '" + std::string(button) + "'";
  return false;
}

}  // namespace rovanel::app
