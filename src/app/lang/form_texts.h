// Puts the texts of a language into the controls of a form: captions, hints
// and list items whose text is a language key are looked up in the
// dictionary; a key it lacks leaves the key shown, marks the control red and
// adds a placeholder line to the dictionary so that it can be completed.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "app/controls.h"
#include "app/lang/dictionary.h"

namespace rovanel::app {

// Which texts are language keys: captions and items such as
// "ID_BTN_BAS_Aide", "CBX_8 niveaux" or "MES_calin cours", hints such as
// "HINT_Grille". Other texts ("-", "1:1", "µm") are shown as they stand.
bool IsCaptionKey(std::string_view text);
bool IsHintKey(std::string_view text);

class FormTexts {
 public:
  FormTexts(const Dictionary& dictionary, int language)
      : dictionary_(dictionary), language_(language) {}

  void ApplyCaptions(const FormControls& form);
  void ApplyHints(const FormControls& form);
  void ApplyItems(const FormControls& form);

  // Keys not found so far (each one counted once per control and text).
  int Missing() const { return missing_; }

 private:
  // The text of key; a missing key is counted, marked and given its
  // placeholder line, and stays as the text.
  std::string Text(const std::string& key, Control& control);

  const Dictionary& dictionary_;
  int language_;
  int missing_ = 0;
};

}  // namespace rovanel::app
