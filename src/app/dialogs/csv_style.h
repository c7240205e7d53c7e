// The CSV export's small dialog: which numbers and separators the file uses,
// so that the spreadsheet of the user's language reads numbers as numbers.
#pragma once

#include "app/controls.h"
#include "app/dialogs/dialog.h"
#include "app/files/data_table.h"

namespace rovanel::app {

class TCsvStyle : public DialogModel {
 public:
  std::string_view Name() const override { return "TCsvStyle"; }
  // The radio buttons show Style.
  void Activate() override;
  // Fields pointComma, commaSemicolon ("1" checks one); style=point|semicolon.
  bool SetField(std::string_view field, std::string_view value, std::string& error) override;
  // Buttons OK and Cancel.
  bool Press(std::string_view button, std::string& error) override;
  // OK takes the checked style into Style.
  void Accept() override;
  void Reject() override { Close(false); }

  void Check(Control& radio);

  Control Titre, Explication, pointComma, commaSemicolon, OK, Cancel;
  // The window sets the captions (in its language) and Style before showing;
  // it reads Style after OK.
  CsvStyle Style = CsvStyle::CommaSemicolon;
};

}  // namespace rovanel::app
