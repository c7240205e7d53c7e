// rovanel-cli: the window model driven headlessly by a list of actions.
#include <QGuiApplication>
#include <iostream>

#include "app/main_window.h"
#include "app/script/action_runner.h"
#include "app/script/command_line.h"
#include "base/vector_state.h"
#include "cli/headless_port.h"

int main(int argc, char** argv) {
  using namespace rovanel;
  int status = 0;
  const auto run = script::Prepare("rovanel-cli", {argv + 1, argv + argc}, false, status);
  if (!run) return status;
  // Fonts for the texts drawn into the plot; no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication qt(argc, argv);
  ClearUpperVectorHalves();  // Qt's start-up fills leave them in use

  app::Box box(run->box, device::RealClock());
  cli::HeadlessPort port(std::cerr);
  app::TFp fp(box, port);
  fp.SetForcedLanguage(run->line.language);
  fp.AllowFirstStart(run->line.firstStart);
  script::ActionRunner runner(fp, std::cout, std::cerr);
  runner.KeepGoing = run->line.keepGoing;
  std::vector<std::string> actions = run->line.actions;
  if (!runner.QueueLeadingDialogs(actions)) return 1;
  fp.FormCreate();
  fp.FormShow();
  // A file named on the command line, as open:FILE; one that cannot be read
  // is said and fails the run as a failed action would.
  if (run->line.openFile && !fp.OpenFile(*run->line.openFile)) {
    fp.FormClose();
    return 1;
  }
  runner.StopLoopsWhenDone = true;
  const bool ok = runner.RunAll(actions);
  fp.FormClose();
  return ok ? 0 : 1;
}
