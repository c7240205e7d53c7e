// What every modal dialog's model offers to the view and to scripts: a
// name, fields set as a user would set them, buttons pressed by name, and
// the result once it closes.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "app/controls.h"

namespace rovanel::app {

// Keys the edit rules tell apart (on key release).
enum class Key { Digit, KeypadDigit, Shift, Enter, Other };

// The text an edit holds after `key` was released with the keys' rule of
// the digit edits: a digit stays; any other key but Shift and the keypad
// digits empties the field; a two-character value at or above `clampAt`
// becomes `clampTo`.
std::string DigitEditRule(std::string text, Key key, int clampAt, int clampTo);

class DialogModel {
 public:
  virtual ~DialogModel() = default;
  // The class name, as scripts name it ("Tfeature").
  virtual std::string_view Name() const = 0;
  // The dialog is about to show: its fields go into its controls.
  virtual void Activate() {}
  // Sets a field as a user would (an edit's text typed key by key, a combo's
  // index, a radio button, a page). False, with a reason, for a field the
  // dialog does not have or a value it cannot take.
  virtual bool SetField(std::string_view field, std::string_view value, std::string& error) = 0;
  // Presses a button inside the dialog. False for a button it does not have.
  virtual bool Press(std::string_view button, std::string& error) = 0;
  // The default button (OK) and the cancel button.
  virtual void Accept() = 0;
  virtual void Reject() = 0;
  // The controls whose texts the language sets.
  virtual FormControls Texts() { return {}; }

  // The dialog has closed, and how.
  bool closed = false;
  bool accepted = false;
  // Title bar text.
  std::string Caption;
  // Set when an action stopped on a field it could not read: the sentence
  // to show, and the component that gets the focus (FocusTo also follows
  // Enter in the edits). The view clears `error` once shown.
  std::string error;
  std::string FocusTo;
  // Translates a language key, filling its %s / %d slots in order; the
  // window sets it. Unset: the key with its values after it.
  std::function<std::string(std::string_view, std::initializer_list<std::string>)> Translate;
  std::string Say(std::string_view key, std::initializer_list<std::string> args) const;
  // Opens the help (a dialog's help button); the window sets it.
  std::function<void()> Help;

 protected:
  // A script checks a radio button with field=1; anything else is refused.
  static bool RadioValue(std::string_view value, std::string& error) {
    if (value == "1") return true;
    error = "a radio button takes 1 (checked), not '" + std::string(value) + "'";
    return false;
  }
  void Close(bool ok) {
    closed = true;
    accepted = ok;
  }
};

// Types `text` into a two-character edit key by key with DigitEditRule.
std::string TypeDigits(std::string_view text, int clampAt, int clampTo);

}  // namespace rovanel::app
