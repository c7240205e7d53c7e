#include "app/dialogs/affichage.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

namespace rovanel::app {

namespace {

// The whole text as a number, or nothing.
std::optional<int> WholeNumber(std::string_view text) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

// "R,G,B" with each part 0..255.
std::optional<display::Rgb> ColourOf(std::string_view text) {
  int parts[3];
  for (int k = 0; k < 3; ++k) {
    const auto comma = k < 2 ? text.find(',') : text.size();
    if (comma == std::string_view::npos) return std::nullopt;
    const auto v = WholeNumber(text.substr(0, comma));
    if (!v || *v < 0 || *v > 255) return std::nullopt;
    parts[k] = *v;
    text.remove_prefix(k < 2 ? comma + 1 : comma);
  }
  return display::Rgb{static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
                      static_cast<std::uint8_t>(parts[2])};
}

}  // namespace

int TAffichage::SpectrumIndex(float lambda) {
  if (lambda < 400.0f || lambda > 800.0f) return kOutOfRangeEntry;
  // The quotient in double: a float one would round 60 / LambdaStep
  // (388.50001) down to the even 388.
  return static_cast<int>(std::nearbyint(static_cast<double>(lambda - 400.0f) / LambdaStep));
}

TAffichage::TAffichage() {
  unit1.caption = "µm";
  unit2.caption = "mm";
  unit3.caption = "pixel";
  unit4.caption = "ID_RBT_BAS_Décimal";
  unit5.caption = "Ln";
  pix1.caption = "1 pixel";
  pix2.caption = "2 pixels";
  pix4.caption = "4 pixels";
  btncolor.caption = colorc.caption = "ID_BTN_BAS_Autre...";
  btnMax.caption = "ID_BTN_BAS_Maximum";
  btnMax.down = true;
  btnMin.caption = "ID_BTN_BAS_Minimum";
  btnMin.enabled = false;
  chkSelMin.caption = "ID_CHK_BAS_Changer minimum";
  lblNm.caption = "nm";
  bvlSelect.visible = false;
  ValG.caption = "ID_BTN_BAS_Valider";
  helg.caption = "ID_BTN_BAS_Aide";
  anng.caption = "ID_BTN_BAS_Annuler";
  ListPas.items.assign(kListPasItems.begin(), kListPasItems.end());
  ListStyle.items.assign(kListStyleItems.begin(), kListStyleItems.end());
  // The caller shows the page it needs.
  pNivCoul.visible = PAxes.visible = PGrille.visible = PCurs.visible = false;
}

void TAffichage::Activate() {
  closed = accepted = false;
  error.clear();
  FocusTo.clear();
  FormPaint();
}

void TAffichage::Select(Control& radio) {
  Control* const groups[][3] = {
      {&unit1, &unit2, &unit3}, {&unit4, &unit5, nullptr}, {&pix1, &pix2, &pix4}};
  for (auto& group : groups)
    for (Control* member : group)
      if (member == &radio)
        for (Control* other : group)
          if (other != nullptr) other->down = other == &radio;
}

void TAffichage::FormPaint() {
  ListPasIndex = GridStepIndex;
  ListStyleIndex = GridStyleIndex;
  ColorGrid = GridColour;
  CursColor = CursorColour;
  Select(YScaleKind == "ln" ? unit5 : unit4);
  if (XUnit.starts_with('m'))
    Select(unit2);
  else if (XUnit.starts_with('p'))
    Select(unit3);
  else
    Select(unit1);
  Select(CursorWidth == 2 ? pix2 : CursorWidth == 4 ? pix4 : pix1);
  MinColor = MinLevelColour;
  MaxColor = MaxLevelColour;
  MskLBDA.caption = LevelWavelengthText;
  if (SingleColourLevels) {
    chkSelMin.enabled = btnMin.enabled = false;
    ReleaseMin();
  } else {
    // A wavelength typed and then cancelled must not make the next OK on
    // any page switch to single-colour levels.
    chkSelMin.enabled = true;
  }
}

void TAffichage::ValGClick() {
  // Other pages leave the unit to the mode that set it.
  if (PAxes.visible) XUnit = unit2.down ? "mm" : unit3.down ? "pix" : "µm";
  YScaleKind = unit5.down ? "ln" : "dec";
  CursorWidth = pix2.down ? 2 : pix4.down ? 4 : 1;
  // Anything but one of the four pitches keeps the pitch in force.
  if (ListPasIndex >= 0 && ListPasIndex < static_cast<int>(GridSteps.size())) {
    GridStepIndex = ListPasIndex;
    GridStep = GridSteps[GridStepIndex];
  }
  GridPenStyle = ListStyleIndex == 1   ? display::PenStyle::Dot
                 : ListStyleIndex == 2 ? display::PenStyle::DashDot
                                       : display::PenStyle::Solid;
  GridStyleIndex = ListStyleIndex;
  GridColour = ColorGrid;
  CursorColour = CursColor;
  MinLevelColour = MinColor;
  MaxLevelColour = MaxColor;
  LevelWavelengthText = MskLBDA.caption.substr(0, 4);
  // chkSelMin is disabled while the maximum comes from a typed wavelength.
  SingleColourLevels = !chkSelMin.enabled;
  Close(true);
}

void TAffichage::anngClick() {
  Close(false);
}

void TAffichage::btncolorClick(display::Rgb chosen) {
  ColorGrid = chosen;
}

void TAffichage::colorcClick(display::Rgb chosen) {
  CursColor = chosen;
}

void TAffichage::Color1MouseDown(int swatch) {
  if (swatch < 1 || swatch > static_cast<int>(kSwatchColours.size())) return;
  const display::Rgb colour = kSwatchColours[swatch - 1];
  if (btnMax.down) MaxColor = colour;
  if (btnMin.down) MinColor = colour;
  bvlSelect.visible = true;
  bvlSelectSwatch = swatch;
  chkSelMin.enabled = true;
  if (chkSelMin.down) btnMin.enabled = true;
  MskLBDA.caption.clear();
  FocusTo = "ValG";
}

// Grouped speed buttons: a click on the pressed one keeps it pressed.
void TAffichage::btnMaxClick() {
  btnMax.down = true;
  btnMin.down = false;
}

void TAffichage::btnMinClick() {
  if (!btnMin.enabled) return;
  btnMin.down = true;
  btnMax.down = false;
}

void TAffichage::ReleaseMin() {
  btnMin.down = false;
  btnMax.down = true;
}

void TAffichage::chkSelMinClick() {
  chkSelMin.down = !chkSelMin.down;
  btnMin.enabled = chkSelMin.down;
  ReleaseMin();
}

void TAffichage::MskLBDAEnter() {
  bvlSelect.visible = false;
  chkSelMin.enabled = btnMin.enabled = false;
  MinColor = display::kBlack;
  ReleaseMin();
}

void TAffichage::MskLBDAKeyPress(Key key) {
  if (key != Key::Enter) return;
  const auto lambda = WholeNumber(MskLBDA.caption);
  if (!lambda) {
    error = "'" + MskLBDA.caption + "' is not a valid integer value";
    return;
  }
  const int i = SpectrumIndex(static_cast<float>(*lambda));
  if (spectrum_ == nullptr) {
    MaxColor = display::kBlack;
  } else {
    const auto& bgr = (*spectrum_)[static_cast<std::size_t>(i)];
    MaxColor = display::Rgb{bgr[2], bgr[1], bgr[0]};
  }
  FocusTo = "ValG";
}

bool TAffichage::RadioClick(std::string_view name) {
  const std::pair<std::string_view, Control*> radios[] = {
      {"unit1", &unit1}, {"unit2", &unit2}, {"unit3", &unit3}, {"unit4", &unit4},
      {"unit5", &unit5}, {"pix1", &pix1},   {"pix2", &pix2},   {"pix4", &pix4}};
  for (const auto& [n, radio] : radios)
    if (n == name) {
      Select(*radio);
      return true;
    }
  return false;
}

void TAffichage::ListPasChange(int index) {
  if (index >= 0 && index < static_cast<int>(GridSteps.size())) ListPasIndex = index;
}

void TAffichage::ListStyleChange(int index) {
  if (index >= 0 && index < static_cast<int>(kListStyleItems.size())) ListStyleIndex = index;
}

bool TAffichage::SetField(std::string_view field, std::string_view value, std::string& reason) {
  const std::string f(field), v(value);
  const bool swatch =
      field.size() == 6 && field.starts_with("Color") && field[5] >= '1' && field[5] <= '8';
  const bool axes =
      field.size() == 5 && field.starts_with("unit") && field[4] >= '1' && field[4] <= '5';
  const bool width = field == "pix1" || field == "pix2" || field == "pix4";
  const Control* page = nullptr;
  if (axes)
    page = &PAxes;
  else if (field == "ListPas" || field == "ListStyle" || field == "ColorGrid")
    page = &PGrille;
  else if (width || field == "CursColor")
    page = &PCurs;
  else if (swatch || field == "chkSelMin" || field == "MskLBDA")
    page = &pNivCoul;
  if (page == nullptr || !page->visible) {
    reason = "no field '" + f + "' shown";
    return false;
  }
  if (swatch || axes || width) {
    if (value != "1") {
      reason = f + " takes 1 (a click), not '" + v + "'";
      return false;
    }
    if (swatch)
      Color1MouseDown(field[5] - '0');
    else
      RadioClick(field);
    return true;
  }
  if (field == "ListPas" || field == "ListStyle") {
    const bool pitch = field == "ListPas";
    const int count =
        pitch ? static_cast<int>(GridSteps.size()) : static_cast<int>(kListStyleItems.size());
    const auto index = WholeNumber(value);
    if (!index || *index < 0 || *index >= count) {
      reason = f + " takes an item index from 0 to " + std::to_string(count - 1) + ", not '" + v +
               "'" + (pitch && index == 4 ? " (the empty item is no pitch)" : "");
      return false;
    }
    pitch ? ListPasChange(*index) : ListStyleChange(*index);
    return true;
  }
  if (field == "ColorGrid" || field == "CursColor") {
    const auto colour = ColourOf(value);
    if (!colour) {
      reason = f + " takes R,G,B with each part 0..255, not '" + v + "'";
      return false;
    }
    field == "ColorGrid" ? btncolorClick(*colour) : colorcClick(*colour);
    return true;
  }
  if (field == "chkSelMin") {
    if (value != "0" && value != "1") {
      reason = "chkSelMin takes 0 or 1, not '" + v + "'";
      return false;
    }
    if (!chkSelMin.enabled) {
      reason = "chkSelMin is disabled";
      return false;
    }
    if (chkSelMin.down != (value == "1")) chkSelMinClick();
    return true;
  }
  // MskLBDA: three digits at most, all the edit lets through.
  if (value.size() > 3 || value.find_first_not_of("0123456789") != std::string_view::npos) {
    reason = "MskLBDA takes up to three digits, not '" + v + "'";
    return false;
  }
  MskLBDAEnter();
  MskLBDA.caption = v;
  MskLBDAKeyPress(Key::Enter);
  if (!error.empty()) {
    reason = std::exchange(error, {});
    return false;
  }
  return true;
}

bool TAffichage::Press(std::string_view button, std::string& reason) {
  if ((button == "btnMax" || button == "btnMin") && !pNivCoul.visible) {
    reason = "no button '" + std::string(button) + "' shown";
    return false;
  }
  if (button == "btnMax") {
    btnMaxClick();
  } else if (button == "btnMin") {
    if (!btnMin.enabled) {
      reason = "btnMin is disabled";
      return false;
    }
    btnMinClick();
  } else if (button == "ValG") {
    ValGClick();
  } else if (button == "anng") {
    anngClick();
  } else if (button == "helg") {
    helgClick();
  } else if (button == "btncolor" || button == "colorc") {
    reason = std::string(button) + " opens the colour chooser: set " +
             (button == "btncolor" ? "ColorGrid" : "CursColor") + "=R,G,B instead";
    return false;
  } else {
    reason = "no button '" + std::string(button) + "'";
    return false;
  }
  return true;
}

}  // namespace rovanel::app
