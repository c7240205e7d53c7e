// Command line shared by rovanel and rovanel-cli: options, then actions.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/box.h"

namespace rovanel::script {

struct CommandLine {
  std::optional<std::string> box;         // --box usb|sim|none
  std::optional<std::string> scene;       // --scene NAME
  std::optional<std::string> screenshot;  // --screenshot FILE (window only)
  std::optional<std::string> usbIds;      // --usb-ids VVVV:PPPP (hexadecimal)
  std::optional<std::string> usbSerial;   // --usb-serial S
  std::optional<std::string> usbDesc;     // --usb-desc TEXT
  std::optional<std::string> simFaults;   // --sim-faults LIST
  std::optional<std::string> parport;     // --parport ppdev|sim|none
  bool portBox = false;                   // --port-box
  std::optional<int> language;            // --lang 1|2|3: this run only
  std::optional<int> plotScale;           // --plot-scale fit|1|2|3 (window only): 0 = fit
  bool firstStart = false;                // --first-start (the command line)
  bool keepGoing = false;                 // --keep-going: run on after a failure
  bool help = false;
  bool version = false;                   // --version
  std::optional<std::string> openFile;    // FILE: a curve file opened at start
  std::vector<std::string> actions;
};

// Parses the arguments after the program name. On error returns nullopt
// and sets `error` to one line.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

// Whether a word of the command line is a curve file to open rather than an
// action: it does not start with an action's "verb:", and it names a file
// or ends in .CCD or .CCT (any case).
bool IsFileArgument(const std::string& word);

// The box options the command line and ROVANEL_BOX ask for.
std::optional<app::BoxOptions> MakeBoxOptions(const CommandLine& line, const char* environment,
                                              std::string& error);

// The folder of the running program, with a trailing slash.
std::string ProgramDir();

std::string Usage(const std::string& program, bool window);

struct Invocation {
  CommandLine line;
  app::BoxOptions box;
};

// Reads the arguments of `program` (the window's when `window`), with
// ROVANEL_BOX from the environment. Prints the usage or one error line
// and returns nullopt with the exit status when the program must stop.
std::optional<Invocation> Prepare(const std::string& program, const std::vector<std::string>& args,
                                  bool window, int& exitStatus);

}  // namespace rovanel::script
