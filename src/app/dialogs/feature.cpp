#include "app/dialogs/feature.h"

#include <algorithm>
#include <charconv>

namespace rovanel::app {

namespace {

int IntOf(const std::string& text) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  return ec == std::errc() && end == text.data() + text.size() ? v : -1;
}

}  // namespace

Tfeature::Tfeature() {
  Caption = "ID_TRT_INF_filtrage";
  lblOrdre.caption = "ID_LBL_BAS_Ordre filtre (1-99)";
  lblNbmoy.caption = "ID_LBL_BAS_Nb acquisition (2-49)";
  lblBarres.caption = "ID_LBL_BAS_Largeur barres";
  lblPromin.caption = "ID_LBL_BAS_Prominence pics";
  promin.caption = "0";
  ordre.caption = "2";
  nbmoy.caption = "4";
  valfeat.caption = "ID_BTN_BAS_Valider";
  annfeat.caption = "ID_BTN_BAS_Annuler";
  hlpfeat.caption = "ID_BTN_BAS_Aide";
  lblNumPix.caption = "ID_LBL_SPC_Pixel";
  lblLbd1.caption = "ID_LBL_SPC_Longueur d'onde (nm)";
  boxbar.items.assign(kBarItems.begin(), kBarItems.end());
  // The caller shows the panels it needs.
  pofiltre.visible = pmoy.visible = pcumul.visible = spRef.visible = ppics.visible = false;
}

void Tfeature::Activate() {
  ordre.caption = std::to_string(FilterOrder);
  nbmoy.caption = std::to_string(AvgCount);
  promin.caption = std::to_string(Prominence);
  Validated = false;
  closed = accepted = false;
}

void Tfeature::valfeatClick() {
  if (spRef.visible && CheckReference) {
    // A line that could not be saved and opened again is refused here,
    // with the faulty field's focus; the dialog stays open.
    std::string field;
    const std::string fault = CheckReference(spNumPix.caption, spLbd1.caption, field);
    if (!fault.empty()) {
      error = fault;
      FocusTo = field == "pixel" ? "spNumPix" : "spLbd1";
      return;
    }
  }
  Validated = true;
  if (ordre.caption.empty()) ordre.caption = "2";
  if (nbmoy.caption.empty()) nbmoy.caption = "4";
  FilterOrder = IntOf(ordre.caption);
  AvgCount = IntOf(nbmoy.caption);
  HistIndex = boxbarIndex;
  // An empty prominence keeps every peak.
  if (ppics.visible) Prominence = promin.caption.empty() ? 0 : std::clamp(IntOf(promin.caption), 0, 99);
  if (FilterOrder < 1 || FilterOrder > 99) FilterOrder = 2;
  if (AvgCount < 2 || AvgCount > 49) AvgCount = 2;
  Close(true);
}

void Tfeature::annfeatClick() {
  Close(false);
}

void Tfeature::ordreKeyUp(Key key) {
  ordre.caption = DigitEditRule(ordre.caption, key, 99, 99);
  if (key == Key::Enter) valfeatClick();
}

void Tfeature::nbmoyKeyUp(Key key) {
  nbmoy.caption = DigitEditRule(nbmoy.caption, key, 50, 49);
}

void Tfeature::prominKeyUp(Key key) {
  promin.caption = DigitEditRule(promin.caption, key, 100, 99);
  if (key == Key::Enter) valfeatClick();
}

bool Tfeature::SetField(std::string_view field, std::string_view value, std::string& error) {
  if (field == "ordre" && pofiltre.visible) {
    ordre.caption = TypeDigits(value, 99, 99);
    return true;
  }
  if (field == "nbmoy" && pmoy.visible) {
    nbmoy.caption = TypeDigits(value, 50, 49);
    return true;
  }
  if (field == "promin" && ppics.visible) {
    promin.caption = TypeDigits(value, 100, 99);
    return true;
  }
  if ((field == "spNumPix" || field == "spLbd1") && spRef.visible) {
    (field == "spNumPix" ? spNumPix : spLbd1).caption = std::string(value);
    return true;
  }
  if (field == "boxbar" && pcumul.visible) {
    const int index = IntOf(std::string(value));
    if (index < 0 || index >= static_cast<int>(kBarItems.size())) {
      error = "boxbar takes an item index from 0 to 3, not '" + std::string(value) + "'";
      return false;
    }
    boxbarIndex = index;
    return true;
  }
  error = "no field '" + std::string(field) + "' shown";
  return false;
}

bool Tfeature::Press(std::string_view button, std::string& error) {
  if (button == "valfeat") {
    valfeatClick();
  } else if (button == "annfeat") {
    annfeatClick();
  } else if (button == "hlpfeat") {
    if (Help) Help();
  } else {
    error = "no button '" + std::string(button) + "'";
    return false;
  }
  return true;
}

}  // namespace rovanel::app
