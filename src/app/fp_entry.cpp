// What a user types or chooses in the controls that take a value: the edits
// typed key by key, the bars moved, the sensitivity and the lamp lines. The
// control table names, for each, the setter a script's set: and key: use.
#include <charconv>

#include "app/control_table.h"
#include "app/main_window.h"

namespace rovanel::app {

namespace {

// A whole number, all of the text.
bool WholeNumber(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::string Quote(std::string_view text) {
  return "'" + std::string(text) + "'";
}

}  // namespace

bool TFp::TypeText(std::string_view name, std::string text) {
  const ControlSpec* spec = FindControl(name);
  if (spec == nullptr || spec->place != Place::Edit) return false;
  (tools.*(spec->member)).caption = std::move(text);
  if (name == "InterAcc") InterAccKeyPress(0);  // edited: not normalised any more
  Changed(kChangedControls);
  return true;
}

bool TFp::KeyPress(std::string_view name, int key) {
  const ControlSpec* spec = FindControl(name);
  if (spec == nullptr || spec->key == nullptr) return false;
  (this->*(spec->key))(key);
  Changed(kChangedAll);
  return true;
}

bool TFp::SetValue(std::string_view name, std::string_view value, std::string& why) {
  const ControlSpec* spec = FindControl(name);
  if (spec == nullptr || spec->set == nullptr) {
    why = "nothing to set named " + Quote(name);
    return false;
  }
  if (!(this->*(spec->set))(name, value, why)) return false;
  Changed(kChangedAll);
  return true;
}

bool TFp::Type(std::string_view name, std::string_view value, std::string&) {
  return TypeText(name, std::string(value));
}

bool TFp::TypeThenEnter(std::string_view name, std::string_view value, std::string&) {
  return TypeText(name, std::string(value)) && KeyPress(name, 13);
}

bool TFp::TypeDuration(std::string_view name, std::string_view value, std::string& why) {
  // The edit takes up to five digits: whole seconds.
  if (value.empty() || value.size() > 5 ||
      value.find_first_not_of("0123456789") != std::string_view::npos) {
    why = std::string(name) + " takes a duration in whole seconds (1 to 5 digits), not " +
          Quote(value);
    return false;
  }
  // Typed key by key, then Enter.
  std::string typed;
  TypeText(name, typed);
  for (const char c : value) {
    TypeText(name, typed += c);
    KeyPress(name, static_cast<unsigned char>(c));
  }
  return KeyPress(name, 13);
}

bool TFp::ChooseLevel(std::string_view name, std::string_view value, std::string& why) {
  int level = 0;
  if (!WholeNumber(value, level) || level < 0 || level > 15) {
    why = std::string(name) + " takes a level from 0 to 15, not " + Quote(value);
    return false;
  }
  SetSensitivity(level);
  SensiChanged();
  return true;
}

bool TFp::MoveBar(std::string_view name, std::string_view value, std::string& why) {
  const ScrollBar* b = ScrollBarOf(name);
  int position = 0;
  if (b == nullptr || !WholeNumber(value, position) || position < b->min || position > b->max) {
    why = std::string(name) + " takes a position from " + std::to_string(b ? b->min : 0) + " to " +
          std::to_string(b ? b->max : 0) + ", not " + Quote(value);
    return false;
  }
  return ScrollTo(name, position);
}

bool TFp::ChooseLampLine(std::string_view, std::string_view value, std::string& why) {
  double nm = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), nm);
  if (ec != std::errc() || end != value.data() + value.size() || !LampLineChosen(nm)) {
    why = "spLine takes the wavelength of a line of the library (nm), not " + Quote(value);
    return false;
  }
  return true;
}

}  // namespace rovanel::app
