// rovanel: the optics workbench's window.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "cli/actions.h"
#include "cli/command_line.h"
#include "gui/main_view.h"

int main(int argc, char** argv) {
  using namespace rovanel;
  QApplication application(argc, argv);
  QApplication::setApplicationName(app::kApplicationTitle);
  QApplication::setApplicationDisplayName(app::kApplicationTitle);

  std::vector<std::string> args;
  for (const QString& a : QApplication::arguments().mid(1)) args.push_back(a.toStdString());
  std::string error;
  const auto line = cli::ParseCommandLine(args, error);
  if (!line) {
    std::cerr << "rovanel: " << error << '\n' << cli::Usage("rovanel", true);
    return 2;
  }
  if (line->help) {
    std::cout << cli::Usage("rovanel", true);
    return 0;
  }
  const auto options = cli::MakeBoxOptions(*line, std::getenv("ROVANEL_BOX"), error);
  if (!options) {
    std::cerr << "rovanel: " << error << '\n';
    return 2;
  }

  app::Box box(*options, device::RealClock());
  gui::MainView view(box);
  app::TFp& fp = view.Model();
  fp.AppDir = cli::ProgramDir();
  fp.FormCreate();
  view.Sync();
  view.show();
  fp.FormShow();
  view.Sync();

  cli::ActionRunner runner(fp, std::cout, std::cerr);
  if (!runner.RunAll(line->actions, [&view] { return view.CloseRequested(); })) return 1;
  view.Sync();
  if (view.CloseRequested()) return 0;

  if (line->screenshot) {
    // Let the window settle, grab it once, then quit.
    QApplication::processEvents();
    const QString file = QString::fromStdString(*line->screenshot);
    if (!view.grab().save(file)) {
      std::cerr << "rovanel: cannot write the screenshot to '" << *line->screenshot << "'\n";
      view.close();
      return 1;
    }
    std::cout << "screenshot written to " << *line->screenshot << '\n';
    view.close();
    return 0;
  }
  return application.exec();
}
