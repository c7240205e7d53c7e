#include "app/dialogs/sel_lge.h"

namespace rovanel::app {

TSelLge::TSelLge() {
  Caption = "Langue / Language / Sprache";
  francais.caption = "Français";
  anglais.caption = "English";
  allemand.caption = "Deutsch";
  BitBtn1.caption = "OK";
  francais.down = true;
}

void TSelLge::Check(Control& radio) {
  for (Control* c : {&francais, &anglais, &allemand}) c->down = c == &radio;
}

void TSelLge::BitBtn1Click() {
  if (francais.down)
    Language = 1;
  else if (anglais.down)
    Language = 2;
  else if (allemand.down)
    Language = 3;
  Close(true);
}

bool TSelLge::SetField(std::string_view field, std::string_view value, std::string& error) {
  Control* radio = field == "francais" ? &francais
                   : field == "anglais" ? &anglais
                   : field == "allemand" ? &allemand
                                         : nullptr;
  if (radio == nullptr) {
    error = "no field '" + std::string(field) + "' (francais, anglais or allemand)";
    return false;
  }
  if (!RadioValue(value, error)) return false;
  Check(*radio);
  return true;
}

bool TSelLge::Press(std::string_view button, std::string& error) {
  if (button != "BitBtn1") {
    error = "no button '" + std::string(button) + "'";
    return false;
  }
  BitBtn1Click();
  return true;
}

}  // namespace rovanel::app
