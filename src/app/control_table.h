// Every control of the main window, listed once: its component name, its
// state in Tools, how a click treats it, its handler and its language keys.
// The click dispatch, the command-line names, dump:tools and the view's
// widgets all derive from this table.
#pragma once

#include <span>
#include <string_view>

#include "app/controls.h"

namespace rovanel::app {

class TFp;

// Where the view shows a control.
enum class Place {
  Tool,   // a speed button of the tool bar
  Menu,   // an item of the menu named by `menu`
  Check,  // a checked or unchecked item of the menu named by `menu`
  Label,  // a text panel under the plot
  None,   // state only: its widget comes with a later panel
};

struct ControlSpec {
  std::string_view name;
  Control Tools::*member;
  Place place;
  std::string_view menu;  // the menu's key, for Place::Menu
  bool toggle;            // a click changes its down state first
  // Changes the curve set: refused while an acquisition runs its loop.
  bool changesCurves;
  void (TFp::*handler)();  // null: not clickable
  std::string_view caption, hint;
  bool visible = true;
  std::string_view shortcut = {};  // a key, as "F8"
};

std::span<const ControlSpec> ControlTable();
const ControlSpec* FindControl(std::string_view name);

}  // namespace rovanel::app
