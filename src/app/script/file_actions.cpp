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

constexpr std::array<FileCommandSpec, 6> kFileCommands = {{
    {"open", "open", "ouvrir"},
    {"save", "Save", "Sauver"},
    {"text", "Save", "Texte1"},
    {"regressi", "Save", "IDMITBASRegressi1"},
    {"synchronie", "Save", "IDMITBASSynchronie1"},
    {"bitmap", "Save", "Bitmap1"},
}};

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
      return Fail("export takes text=FILE, regressi=FILE, synchronie=FILE or bitmap=FILE");
    command = rest.substr(0, eq);
    file = rest.substr(eq + 1);
    if (command == "open" || command == "save") command = {};
  } else if (verb == "cancel") {
    command = rest;
    file = {};
  }
  const FileCommandSpec* spec = FindCommand(command);
  if (spec == nullptr)
    return Fail("unknown file command '" + std::string(verb) + ":" + std::string(rest) + "'");
  if (verb != "cancel" && file.empty())
    return Fail(std::string(verb) + " needs a file name");
  app::DialogAnswer answer;
  answer.dialog = spec->dialog;
  answer.ok = verb != "cancel";
  if (answer.ok) answer.steps.emplace_back("FileName", std::string(file));
  fp_.Answers().Queue(std::move(answer));
  return Click(spec->click);
}

}  // namespace rovanel::script
