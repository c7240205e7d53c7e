// The file commands as actions: each answers its command's file dialog with
// a file name (or cancels it), then runs the command as its menu item would.
#include <array>

#include "app/script/action_runner.h"

namespace rovanel::script {

namespace {

struct FileCommandSpec {
  std::string_view name;    // as the action names it
  std::string_view dialog;  // the dialog it answers
  std::string_view click;   // the control that runs the command
};

constexpr std::array<FileCommandSpec, 9> kFileCommands = {{
    {"open", "open", "ouvrir"},
    {"save", "Save", "Sauver"},
    {"text", "Save", "Texte1"},
    {"regressi", "Save", "IDMITBASRegressi1"},
    {"synchronie", "Save", "IDMITBASSynchronie1"},
    {"bitmap", "Save", "Bitmap1"},
    {"csv", "Save", "Csv1"},
    {"jcamp", "Save", "Jcamp1"},
    {"jcamp-1nm", "Save", "JcampNm1"},
}};

// A trailing " NAME=value" option after the file name, taken off `file`.
std::string_view TakeOption(std::string_view& file, std::string_view name) {
  const std::string key = " " + std::string(name) + "=";
  const auto at = file.rfind(key);
  if (at == std::string_view::npos || file.find(' ', at + key.size()) != std::string_view::npos)
    return {};
  const std::string_view value = file.substr(at + key.size());
  file = file.substr(0, at);
  return value;
}

const FileCommandSpec* FindCommand(std::string_view name) {
  for (const FileCommandSpec& c : kFileCommands)
    if (c.name == name) return &c;
  return nullptr;
}

}  // namespace

std::string_view ActionRunner::FileCommandControl(std::string_view action) {
  const auto colon = action.find(':');
  if (colon == std::string_view::npos) return {};
  const std::string_view verb = action.substr(0, colon);
  std::string_view rest = action.substr(colon + 1);
  if (verb == "export") rest = rest.substr(0, rest.find('='));
  else if (verb != "cancel" && verb != "open" && verb != "save") return {};
  const FileCommandSpec* spec = FindCommand(verb == "open" || verb == "save" ? verb : rest);
  return spec ? spec->click : std::string_view{};
}

bool ActionRunner::FileCommand(std::string_view verb, std::string_view rest) {
  std::string_view command = verb;
  std::string_view file = rest;
  if (verb == "export") {
    const auto eq = rest.find('=');
    if (eq == std::string_view::npos)
      return Fail("export takes text=FILE, regressi=FILE, synchronie=FILE, bitmap=FILE, "
                  "csv=FILE [style=point|semicolon] or jcamp=FILE [resample=1nm]");
    command = rest.substr(0, eq);
    file = rest.substr(eq + 1);
    if (command == "open" || command == "save") command = {};
    if (!ExportOptions(command, file)) return false;
  } else if (verb == "cancel") {
    command = rest;
    file = {};
    // cancel:csv answers the style dialog and cancels the Save dialog.
    if (!ExportOptions(command, file)) return false;
  }
  const FileCommandSpec* spec = FindCommand(command);
  if (spec == nullptr)
    return Fail("unknown file command '" + std::string(verb) + ":" + std::string(rest) + "'");
  if (verb != "cancel" && file.empty())
    return Fail(std::string(verb) + " needs a file name");
  if (const app::Control* c = fp_.Controls().Find(spec->click); c != nullptr && !c->visible)
    return Fail("export:" + std::string(command) + " is not offered here (" +
                (command.substr(0, 5) == "jcamp" ? "spectrometry only" : "hidden") + ")");
  app::DialogAnswer answer;
  answer.dialog = spec->dialog;
  answer.ok = verb != "cancel";
  if (answer.ok) answer.steps.emplace_back("FileName", std::string(file));
  fp_.Answers().Queue(std::move(answer));
  return Click(spec->click);
}

bool ActionRunner::ExportOptions(std::string_view& command, std::string_view& file) {
  if (command == "csv") {
    // The style dialog comes first: answered with the style asked, else
    // with the one it proposes.
    app::DialogAnswer style;
    style.dialog = "TCsvStyle";
    const std::string_view value = TakeOption(file, "style");
    if (!value.empty()) {
      if (value != "point" && value != "semicolon")
        return Fail("csv takes style=point or style=semicolon, not '" + std::string(value) + "'");
      style.steps.emplace_back("style", std::string(value));
    }
    fp_.Answers().Queue(std::move(style));
  } else if (command == "jcamp") {
    const std::string_view value = TakeOption(file, "resample");
    if (!value.empty()) {
      if (value != "1nm") return Fail("jcamp takes resample=1nm, not '" + std::string(value) + "'");
      command = "jcamp-1nm";
    }
  }
  return true;
}

}  // namespace rovanel::script
