// rovanel-cli: the window model driven headlessly by a list of actions.
#include <cstdlib>
#include <iostream>

#include "app/main_window.h"
#include "cli/actions.h"
#include "cli/command_line.h"

int main(int argc, char** argv) {
  using namespace rovanel;
  std::string error;
  const auto line = cli::ParseCommandLine({argv + 1, argv + argc}, error);
  if (!line) {
    std::cerr << "rovanel-cli: " << error << '\n' << cli::Usage("rovanel-cli", false);
    return 2;
  }
  if (line->help) {
    std::cout << cli::Usage("rovanel-cli", false);
    return 0;
  }
  if (line->screenshot) {
    std::cerr << "rovanel-cli: --screenshot belongs to the window; use dump:ecran=FILE\n";
    return 2;
  }
  const auto options = cli::MakeBoxOptions(*line, std::getenv("ROVANEL_BOX"), error);
  if (!options) {
    std::cerr << "rovanel-cli: " << error << '\n';
    return 2;
  }

  app::Box box(*options, device::RealClock());
  cli::HeadlessPort port(std::cerr);
  app::TFp fp(box, port);
  fp.AppDir = cli::ProgramDir();
  fp.FormCreate();
  fp.FormShow();
  cli::ActionRunner runner(fp, std::cout, std::cerr);
  const bool ok = runner.RunAll(line->actions, [&port] { return port.closeRequested; });
  fp.FormClose();
  return ok ? 0 : 1;
}
