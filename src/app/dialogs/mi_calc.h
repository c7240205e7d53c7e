// The optics calculator: two tabbed notebooks, `micomp` (Michelson) and
// `incomp` (interference and diffraction), of which the caller shows the
// one of the current mode. Each page turns measured values and their
// uncertainties into a result with its uncertainty.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/controls.h"
#include "app/dialogs/dialog.h"

namespace rovanel::app {

// The number in a calculator edit: whole numbers of ASCII digits around at
// most one point, which is the decimal separator whatever the locale. An
// empty text reads 0; "1.05", ".5" and "12" read 1.05, 0.5 and 12. Nothing
// for anything else ("1.", "1.2.3", "-1", "1,5", a whole part or a
// decimal part beyond 2147483647).
std::optional<double> ParseDecimal(std::string_view text);

// `value` rounded to hundredths (halves away from zero), written as its
// integer part, "." and exactly two digits: 3 -> "3.00", 532.4 -> "532.40".
std::string FormatDecimal(double value);

// Keys the calculator's edits tell apart on release.
enum class CalcKey { Digit, Point, KeypadDigit, KeypadPoint, Enter, Shift, Left, Right, Other };

// The text of an input edit after `key` was released; `text` already holds
// what the key typed at the end of the field and `digit` is the digit a
// Digit key gave. A main-keyboard digit or point replaces the last
// character by itself (so the point stays "." whatever the locale); keypad
// keys, Enter, Shift and the arrows leave the text alone; any other key
// empties the field.
std::string CalcEditRule(std::string text, CalcKey key, char digit = 0);

class TMiCalc : public DialogModel {
 public:
  TMiCalc();

  std::string_view Name() const override { return "TMiCalc"; }
  void Activate() override;
  // Fields are the input edits of the page shown (typed from an empty
  // selection, character by character through the key rule), and
  // "micomp"/"incomp" with a page index.
  bool SetField(std::string_view field, std::string_view value, std::string& why) override;
  // A page's button (on the page shown) or quitmich.
  bool Press(std::string_view button, std::string& why) override;
  void Accept() override { quitmichClick(); }
  void Reject() override { quitmichClick(); }
  FormControls Texts() override;

  // Shows the notebook of the mode (Michelson first) and titles the dialog;
  // false, with both notebooks hidden, in any other mode. The caller may
  // replace Caption by the translated text of its title label.
  bool ShowFor(bool michelson, bool interference);

  // The page buttons and the close button.
  void racalculClick();
  void prcalculClick();
  void ficalculClick();
  void locptClick();
  void lacptClick();
  void incptClick();
  void quitmichClick();

  // Key release in any input edit (the key rule); Enter also moves the
  // focus on. False for a name that is not an input edit.
  bool frraKeyUp(std::string_view field, CalcKey key, char digit = 0);
  // Enter in an input edit: the value's focus goes to its uncertainty, the
  // uncertainty's to the next quantity, the last input's to the button.
  void InputEnter(std::string_view field);
  // A key typed in an input edit as the edit does it: the key's character
  // goes at the end of the text, then the key is released.
  bool Type(std::string_view field, CalcKey key, char digit = 0);

  // Notebooks (page captions in `items`) and the page shown in each.
  Control micomp, incomp;
  int micompPage = 0, incompPage = 0;
  // Single line / doublet.
  Control frra, frrain, vira, virain, lora, lorain, racalcul, raformule;
  // Doppler profile.
  Control frpr, frprin, vipr, viprin, lepr, leprin, lopr, loprin, lspr, lsprin, prcalcul, prformule;
  // Filters.
  Control lafi, lafiin, vifi, vifiin, nofi, lsfi, lsfiin, ficalcul, fiformule;
  // Wavelength from a diffraction figure.
  Control lolo, loloin, lofe, lofein, lola, lolain, loon, loonin, locpt, loformule;
  // Slit width.
  Control lalo, laloin, lafe, lafein, laon, laonin, lala, lalain, lacpt, laformule;
  // Slit spacing.
  Control inin, ininin, infe, infein, inon, inonin, inif, inifin, incpt, informule;
  Control quitmich;

 private:
  struct PageInfo;
  static const PageInfo kPages[];
  const PageInfo* PageOf(std::string_view name, bool& isInput) const;
  bool Shown(const PageInfo& page) const;
  Control* Find(std::string_view name);
  // Reads the inputs in order; at the first one that is not a number it
  // sets `error` and FocusTo and returns false.
  bool Read(std::initializer_list<std::pair<const Control*, double*>> fields);
};

}  // namespace rovanel::app
