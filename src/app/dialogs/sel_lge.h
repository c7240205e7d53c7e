// The language dialog of the first start: three radio buttons and a button
// that closes it. Its texts are the languages' own names, readable before
// any language is chosen.
#pragma once

#include "app/controls.h"
#include "app/dialogs/dialog.h"

namespace rovanel::app {

class TSelLge : public DialogModel {
 public:
  TSelLge();

  std::string_view Name() const override { return "TSelLge"; }
  // Fields francais, anglais, allemand ("1" checks one, releasing the
  // others); button BitBtn1.
  bool SetField(std::string_view field, std::string_view value, std::string& error) override;
  bool Press(std::string_view button, std::string& error) override;
  // The dialog has no Cancel: closing it by any way takes the choice.
  void Accept() override { BitBtn1Click(); }
  void Reject() override { BitBtn1Click(); }

  void BitBtn1Click();
  // Checks one radio button and releases the others.
  void Check(Control& radio);

  Control francais, anglais, allemand, BitBtn1;
  // The language chosen: 1 French, 2 English, 3 German. Kept when no radio
  // button is checked.
  int Language = 1;
};

}  // namespace rovanel::app
