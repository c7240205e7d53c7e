#include "app/dialogs/csv_style.h"

namespace rovanel::app {

void TCsvStyle::Activate() {
  closed = accepted = false;
  pointComma.down = Style == CsvStyle::PointComma;
  commaSemicolon.down = !pointComma.down;
}

void TCsvStyle::Check(Control& radio) {
  for (Control* c : {&pointComma, &commaSemicolon}) c->down = c == &radio;
}

void TCsvStyle::Accept() {
  Style = pointComma.down ? CsvStyle::PointComma : CsvStyle::CommaSemicolon;
  Close(true);
}

bool TCsvStyle::SetField(std::string_view field, std::string_view value, std::string& error) {
  if (field == "style") {
    if (value == "point")
      Check(pointComma);
    else if (value == "semicolon")
      Check(commaSemicolon);
    else {
      error = "style takes point or semicolon, not '" + std::string(value) + "'";
      return false;
    }
    return true;
  }
  Control* radio = field == "pointComma"       ? &pointComma
                   : field == "commaSemicolon" ? &commaSemicolon
                                               : nullptr;
  if (radio == nullptr) {
    error = "no field '" + std::string(field) + "' (pointComma, commaSemicolon or style)";
    return false;
  }
  if (!RadioValue(value, error)) return false;
  Check(*radio);
  return true;
}

bool TCsvStyle::Press(std::string_view button, std::string& error) {
  if (button == "OK") {
    Accept();
  } else if (button == "Cancel") {
    Reject();
  } else {
    error = "no button '" + std::string(button) + "' (OK or Cancel)";
    return false;
  }
  return true;
}

}  // namespace rovanel::app
