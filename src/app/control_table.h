// Every control of the main window, listed once: its component name, its
// state in Tools, where the view shows it, how a click treats it, its
// handler and its language keys. The click dispatch, the command-line
// names, dump:tools and the view's widgets all derive from this table.
#pragma once

#include <span>
#include <string_view>

#include "app/controls.h"

namespace rovanel::app {

class TFp;

// Where the view shows a control.
enum class Place {
  Tool,    // a speed button of the tool bar
  Menu,    // an item of the menu named by `parent`
  Check,   // a checked or unchecked item of the menu named by `parent`
  Submenu, // a menu inside the menu `parent`; its caption key names it for its items
  Group,   // a group box of the side panel, or under the plot when `parent` is "below"
  Button,  // a speed button inside the group box named by `parent`
  Text,    // a text inside the group box named by `parent`
  Hold,    // a panel inside the group box `parent` that acts while held down
  Edit,    // an edit inside the group box `parent`; its caption is its text
  Label,   // a text panel under the plot
  HScroll, // a scroll bar inside the group box `parent` (TFp::ScrollBarOf)
  VScroll,
  None,    // state only: its widget comes with a later panel
};

struct ControlSpec {
  std::string_view name;
  Control Tools::*member;
  Place place;
  // The menu's key, the group box's name, or for a tool button the tool
  // bar it sits on (empty: the main one).
  std::string_view parent;
  bool toggle;  // a click changes its down state first
  int group;    // toggles of one group (> 0): at most one is down
  // Allowed while a loop that lets messages run (averaging, spectrum)
  // owns the data: only what touches none of it.
  bool whileBusy;
  void (TFp::*handler)();  // null: not clickable
  std::string_view caption, hint;
  bool down = false;  // start state
  bool visible = true;
  std::string_view shortcut = {};  // a key, as "F8"
};

std::span<const ControlSpec> ControlTable();
const ControlSpec* FindControl(std::string_view name);

}  // namespace rovanel::app
