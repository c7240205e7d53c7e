// Answers to modal dialogs given in advance (the `dialog:` action): each
// answer waits for the next showing of the dialog it names.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/dialogs/dialog.h"

namespace rovanel::app {

struct DialogAnswer {
  std::string dialog;
  // In order: field=value, or click=BUTTON.
  std::vector<std::pair<std::string, std::string>> steps;
  bool ok = true;
};

// Reads "NAME field=value ... ok|cancel"; values may be "double quoted".
std::optional<DialogAnswer> ParseDialogAnswer(std::string_view text, std::string& error);

class DialogScript {
 public:
  void Queue(DialogAnswer answer) { answers_.push_back(std::move(answer)); }
  bool Has(std::string_view dialog) const;
  // Plays the first answer queued for d on it (fields, buttons, then OK or
  // Cancel unless a button closed it). False, with a reason, when a step
  // names what the dialog does not have, or when OK leaves the dialog open
  // (a field it could not read). What the dialog told the user on the way
  // goes to `said`.
  bool Play(DialogModel& d, std::string& error, std::vector<std::string>* said = nullptr);
  // Names of the dialogs whose answers were never used.
  std::vector<std::string> Unused() const;

 private:
  std::deque<DialogAnswer> answers_;
};

}  // namespace rovanel::app
