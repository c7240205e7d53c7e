#include "app/dialogs/dialog.h"

#include <cctype>
#include <cstdlib>

namespace rovanel::app {

std::string DigitEditRule(std::string text, Key key, int clampAt, int clampTo) {
  if (key == Key::Other || key == Key::Enter) return key == Key::Enter ? text : std::string();
  if (text.size() == 2 && std::isdigit(static_cast<unsigned char>(text[0])) &&
      std::isdigit(static_cast<unsigned char>(text[1])) && std::atoi(text.c_str()) >= clampAt)
    return std::to_string(clampTo);
  return text;
}

std::string TypeDigits(std::string_view text, int clampAt, int clampTo) {
  std::string field;
  for (char c : text) {
    if (field.size() < 2) field += c;  // the edits hold two characters at most
    const bool digit = std::isdigit(static_cast<unsigned char>(c)) != 0;
    field = DigitEditRule(field, digit ? Key::Digit : Key::Other, clampAt, clampTo);
  }
  return field;
}

std::string DialogModel::Say(std::string_view key,
                             std::initializer_list<std::string> args) const {
  if (Translate) return Translate(key, args);
  std::string text(key);
  for (const std::string& a : args) text += " " + a;
  return text;
}

}  // namespace rovanel::app
