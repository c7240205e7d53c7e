// Every control of the main window, listed once: its component name, its
// state in Tools, where the view shows it, how a click treats it, its
// handler and its language keys. The click dispatch, the command-line
// names, dump:tools and the view's widgets all derive from this table.
#pragma once

#include <span>
#include <string>
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
  Control Tools::*member = nullptr;
  Place place = Place::None;
  // The menu's key, the group box's name, or for a tool button the tool
  // bar it sits on (empty: the main one).
  std::string_view parent = {};
  bool toggle = false;  // a click changes its down state first
  int group = 0;        // toggles of one group (> 0): at most one is down
  // Allowed while a loop that lets messages run (averaging, spectrum)
  // owns the data: only what touches none of it.
  bool whileBusy = false;
  void (TFp::*handler)() = nullptr;  // null: not clickable
  std::string_view caption = {}, hint = {};
  bool down = false;  // start state
  bool visible = true;
  std::string_view shortcut = {};  // a key, as "F8"
  // set:NAME=value in a script: the value typed or chosen as the user
  // would; false with the reason when the control cannot take it.
  bool (TFp::*set)(std::string_view name, std::string_view value, std::string& why) = nullptr;
  // key:NAME=CODE in a script: a key pressed in this edit.
  void (TFp::*key)(int code) = nullptr;

  // The steps that build an entry of the table, each saying what it is.
  constexpr ControlSpec On(std::string_view where) const {
    ControlSpec c = *this;
    c.parent = where;
    return c;
  }
  constexpr ControlSpec Toggle(int inGroup = 0) const {
    ControlSpec c = *this;
    c.toggle = true;
    c.group = inGroup;
    return c;
  }
  constexpr ControlSpec WhileBusy() const {
    ControlSpec c = *this;
    c.whileBusy = true;
    return c;
  }
  constexpr ControlSpec Down() const {
    ControlSpec c = *this;
    c.down = true;
    return c;
  }
  constexpr ControlSpec Hidden() const {
    ControlSpec c = *this;
    c.visible = false;
    return c;
  }
  constexpr ControlSpec Key(std::string_view keys) const {
    ControlSpec c = *this;
    c.shortcut = keys;
    return c;
  }
  constexpr ControlSpec Sets(bool (TFp::*setter)(std::string_view, std::string_view,
                                                 std::string&)) const {
    ControlSpec c = *this;
    c.set = setter;
    return c;
  }
  constexpr ControlSpec ReadsKeys(void (TFp::*reader)(int)) const {
    ControlSpec c = *this;
    c.key = reader;
    return c;
  }
};

// An entry: where the control sits, its name and state, what a click runs
// (null: not clickable) and its language keys.
constexpr ControlSpec Spec(Place place, std::string_view name, Control Tools::*member,
                           void (TFp::*handler)(), std::string_view caption,
                           std::string_view hint) {
  ControlSpec c;
  c.place = place;
  c.name = name;
  c.member = member;
  c.handler = handler;
  c.caption = caption;
  c.hint = hint;
  return c;
}

std::span<const ControlSpec> ControlTable();
const ControlSpec* FindControl(std::string_view name);

}  // namespace rovanel::app
