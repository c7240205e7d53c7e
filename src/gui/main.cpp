// rovanel: the optics workbench's window.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <iostream>
#include <optional>
#include <string_view>

#include "app/script/action_runner.h"
#include "app/script/command_line.h"
#include "app/version.h"
#include "base/vector_state.h"
#include "gui/main_view.h"
#include "gui/window_settings.h"

int main(int argc, char** argv) {
  using namespace rovanel;
  // Answered before Qt starts, which needs a display.
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]) == "--version") {
      std::cout << "rovanel " << app::kVersion << '\n';
      return 0;
    }
  QApplication application(argc, argv);
  ClearUpperVectorHalves();  // Qt's start-up fills leave them in use
  QApplication::setApplicationName(app::kApplicationTitle);
  gui::DrawOnOneThread();
  // No display name: X11 window managers would append it to a title that
  // already starts with the program's name.

  std::vector<std::string> args;
  for (const QString& a : QApplication::arguments().mid(1)) args.push_back(a.toStdString());
  int status = 0;
  const auto run = script::Prepare("rovanel", args, true, status);
  if (!run) return status;
  const script::CommandLine& line = run->line;

  app::Box box(run->box, device::RealClock());
  gui::MainView view(box);
  app::TFp& fp = view.Model();
  fp.SetForcedLanguage(line.language);
  fp.AllowFirstStart(true);
  script::ActionRunner runner(fp, std::cout, std::cerr);
  runner.KeepGoing = line.keepGoing;
  std::vector<std::string> actions = line.actions;
  if (!runner.QueueLeadingDialogs(actions)) return 1;
  fp.FormCreate();
  // The window shows once its texts are loaded: a first start's language
  // dialog and delay-loop note come alone.
  fp.FormShow();
  view.Sync();
  gui::RestoreWindow(view, line.plotScale);
  view.show();
  // A file named on the command line (the desktop entry's %f); one that
  // cannot be read is said, and the window starts empty.
  if (line.openFile) {
    fp.OpenFile(*line.openFile);
    view.Sync();
  }

  // The window as it stands, once settled.
  std::optional<bool> shot;
  auto grab = [&] {
    view.Sync();
    QApplication::processEvents();
    shot = view.grab().save(QString::fromStdString(*line.screenshot));
  };
  if (line.screenshot) {
    // A loop still running (the live view) is pictured, then stopped.
    runner.StopLoopsWhenDone = true;
    runner.BeforeLoopStops = grab;
  }
  if (!runner.RunAll(actions)) return 1;
  view.Sync();
  if (view.CloseRequested()) return 0;

  if (line.screenshot) {
    if (!shot) grab();
    // A scripted run ends without asking about the measurement.
    fp.FormClose();
    view.close();
    if (!*shot) {
      std::cerr << "rovanel: cannot write the screenshot to '" << *line.screenshot << "'\n";
      return 1;
    }
    std::cout << "screenshot written to " << *line.screenshot << '\n';
    return 0;
  }
  // From here a person uses the window: what it keeps between runs is kept.
  view.KeepSettingsOnClose();
  const int exitCode = application.exec();
  gui::SaveWindow(view, line.plotScale);
  return exitCode;
}
