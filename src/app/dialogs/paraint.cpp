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
  ok.caption = "ID_BTN_BAS_Valider";
  cancel.caption = "ID_BTN_BAS_Annuler";
  pplut.visible = false;  // the caller shows the panel it needs
}

int Tparaint::EditValue(const Control& edit) const {
  int v = 0;
  const std::string& t = edit.caption;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  return ec == std::errc() && end == t.data() + t.size() ? v : 0;
}

void Tparaint::Activate() {
  closed = accepted = false;
  coefln.caption = std::to_string(CoefLn);
  coefexp.caption = std::to_string(CoefExp);
  barln.position = std::clamp(CoefLn, barln.min, barln.max);
  barexp.position = std::clamp(CoefExp, barexp.min, barexp.max);
  ++PreviewVersion;
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

void Tparaint::Accept() {
  // An edit left empty or below the range counts as its least value.
  CoefLn = std::clamp(EditValue(coefln), signal::kLutLnCoefMin, signal::kLutLnCoefMax);
  CoefExp = std::clamp(EditValue(coefexp), signal::kLutExpCoefMin, signal::kLutExpCoefMax);
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
  if (!pplut.visible) {
    error = "no field '" + std::string(field) + "' shown";
    return false;
  }
  if (field == "coefln") {
    coefln.caption = TypeDigits(value, 95, 95);
    coeflnEnter();
    return true;
  }
  if (field == "coefexp") {
    coefexp.caption = TypeDigits(value, 25, 25);
    coefexpEnter();
    return true;
  }
  if (field == "barln" || field == "barexp") {
    int v = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (ec != std::errc() || end != value.data() + value.size()) {
      error = std::string(field) + " takes a position, not '" + std::string(value) + "'";
      return false;
    }
    field == "barln" ? barlnChange(v) : barexpChange(v);
    return true;
  }
  error = "no field '" + std::string(field) + "'";
  return false;
}

bool Tparaint::Press(std::string_view button, std::string& error) {
  if (button == "def" && pplut.visible) {
    defClick();
    return true;
  }
  if (button == "ok") {
    Accept();
    return true;
  }
  if (button == "cancel") {
    Reject();
    return true;
  }
  error = "no button '" + std::string(button) + "'";
  return false;
}

}  // namespace rovanel::app
