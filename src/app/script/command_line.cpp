#include "app/script/command_line.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/main_window.h"
#include "app/paths.h"
#include "app/version.h"

namespace rovanel::script {

bool IsFileArgument(const std::string& word) {
  // Actions are "verb:rest" with a verb of lower-case letters.
  const auto colon = word.find(':');
  if (colon != std::string::npos && colon > 0 &&
      std::all_of(word.begin(), word.begin() + static_cast<std::ptrdiff_t>(colon),
                  [](char c) { return c >= 'a' && c <= 'z'; }))
    return false;
  std::string ext = std::filesystem::path(word).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (ext == ".CCD" || ext == ".CCT") return true;
  std::error_code ec;
  return std::filesystem::is_regular_file(word, ec);
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::optional<std::string>& into) {
      const std::string prefix = a.substr(0, a.find('=')) + "=";
      if (a.find('=') != std::string::npos) {
        into = a.substr(prefix.size());
        return true;
      }
      if (i + 1 >= args.size()) {
        error = "option " + a + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    auto is = [&](const char* name) {
      return a == name || a.rfind(std::string(name) + "=", 0) == 0;
    };
    if (a == "-h" || a == "--help") {
      line.help = true;
    } else if (a == "--version") {
      line.version = true;
    } else if (is("--box")) {
      if (!value(line.box)) return std::nullopt;
    } else if (is("--scene")) {
      if (!value(line.scene)) return std::nullopt;
    } else if (is("--screenshot")) {
      if (!value(line.screenshot)) return std::nullopt;
    } else if (is("--usb-ids")) {
      if (!value(line.usbIds)) return std::nullopt;
    } else if (is("--usb-serial")) {
      if (!value(line.usbSerial)) return std::nullopt;
    } else if (is("--usb-desc")) {
      if (!value(line.usbDesc)) return std::nullopt;
    } else if (is("--sim-faults")) {
      if (!value(line.simFaults)) return std::nullopt;
    } else if (is("--parport")) {
      if (!value(line.parport)) return std::nullopt;
    } else if (a == "--port-box") {
      line.portBox = true;
    } else if (is("--lang")) {
      std::optional<std::string> text;
      if (!value(text)) return std::nullopt;
      if (*text != "1" && *text != "2" && *text != "3") {
        error = "--lang takes 1 (French), 2 (English) or 3 (German), not '" + *text + "'";
        return std::nullopt;
      }
      line.language = std::stoi(*text);
    } else if (is("--plot-scale")) {
      std::optional<std::string> text;
      if (!value(text)) return std::nullopt;
      if (*text != "fit" && *text != "1" && *text != "2" && *text != "3") {
        error = "--plot-scale takes fit, 1, 2 or 3, not '" + *text + "'";
        return std::nullopt;
      }
      line.plotScale = *text == "fit" ? 0 : std::stoi(*text);
    } else if (a == "--first-start") {
      line.firstStart = true;
    } else if (a == "--keep-going") {
      line.keepGoing = true;
    } else if (a.rfind("--", 0) == 0) {
      error = "unknown option " + a;
      return std::nullopt;
    } else if (IsFileArgument(a)) {
      if (line.openFile) {
        error = "one curve file at a time: '" + *line.openFile + "', then '" + a + "'";
        return std::nullopt;
      }
      line.openFile = a;
    } else {
      line.actions.push_back(a);
    }
  }
  return line;
}

std::optional<app::BoxOptions> MakeBoxOptions(const CommandLine& line, const char* environment,
                                              std::string& error) {
  app::BoxOptions options;
  std::optional<std::string_view> named;
  if (line.box) named = *line.box;
  const auto kind = app::ResolveBoxKind(named, environment);
  if (!kind) {
    error = "unknown box '" + (line.box ? *line.box : std::string(environment)) +
            "' (expected auto, usb, sim or none)";
    return std::nullopt;
  }
  options.kind = *kind;
  if (line.usbIds) {
    unsigned vendor = 0, product = 0;
    char rest = 0;
    // Hexadecimal digits only: sscanf would take a sign ("-1" as ffffffff).
    const bool hexOnly = std::all_of(line.usbIds->begin(), line.usbIds->end(), [](char c) {
      return std::isxdigit(static_cast<unsigned char>(c)) || c == ':';
    });
    if (!hexOnly ||
        std::sscanf(line.usbIds->c_str(), "%4x:%4x%c", &vendor, &product, &rest) != 2) {
      error = "--usb-ids takes VVVV:PPPP in hexadecimal, not '" + *line.usbIds + "'";
      return std::nullopt;
    }
    options.ids.vendor = static_cast<int>(vendor);
    options.ids.product = static_cast<int>(product);
  }
  if (line.usbSerial) options.ids.serial = *line.usbSerial;
  if (line.usbDesc) options.ids.description = *line.usbDesc;
  if (line.simFaults) {
    const auto faults = device::sim::ParseSimFaults(*line.simFaults, error);
    if (!faults) {
      error = "--sim-faults: " + error;
      return std::nullopt;
    }
    options.faults = *faults;
  }
  // The simulated box comes with its simulated parallel-port box.
  options.parport =
      options.kind == app::BoxKind::Sim ? device::PortKind::kSim : device::PortKind::kPpdev;
  if (line.parport) {
    const auto kind = device::PortKindFromName(*line.parport);
    if (!kind) {
      error = "unknown parallel port '" + *line.parport + "' (expected ppdev, sim or none)";
      return std::nullopt;
    }
    options.parport = *kind;
  }
  options.portBox = line.portBox;
  if (line.scene) {
    const auto scene = device::sim::SceneFromName(*line.scene);
    if (!scene) {
      error = "unknown scene '" + *line.scene + "'";
      return std::nullopt;
    }
    options.scene = *scene;
  }
  return options;
}

std::string ProgramDir() {
  return app::ProgramDir();
}

std::string Usage(const std::string& program, bool window) {
  std::string scenes;
  for (auto name : device::sim::SceneNames()) {
    if (!scenes.empty()) scenes += "|";
    scenes += name;
  }
  std::string clicks;
  for (std::string_view name : app::TFp::ClickableNames()) {
    if (!clicks.empty()) clicks += ", ";
    clicks += name;
  }
  std::string text = "usage: " + program + " [--version] [--box auto|usb|sim|none] [--scene " + scenes +
                     "]\n    [--usb-ids VVVV:PPPP] [--usb-serial S] [--usb-desc TEXT]"
                     " [--sim-faults LIST]\n    [--parport ppdev|sim|none] [--port-box] [--lang 1|2|3]"
                     " [--keep-going]";
  text += window ? " [--screenshot FILE] [--plot-scale fit|1|2|3]" : " [--first-start]";
  text +=
      " [FILE] [ACTION...]\n"
      "FILE, a curve file (.CCD, .CCT), is opened at start as Open would.\n"
      "actions, run in order; each starts when the one before it has finished, its\n"
      "loop included (averaging, a series, the spectrum), except after click:rt, whose\n"
      "live view runs on while the next actions run:\n"
      "  click:NAME          press a button or menu item: " +
      clicks +
      "\n"
      "  set:NivPotar=S      sensitivity level 0..15\n"
      "  set:AvgCount=N      frames averaged when moyenne is down (1..49)\n"
      "  set:PeakProminence=N   peaks standing out by less than N % of full scale are\n"
      "                      dropped (0..99; 0 keeps every peak found)\n"
      "  dump:PeakProminence the minimum prominence in force\n"
      "  set:InterAcc=D      types a duration (seconds) and presses Enter\n"
      "  set:deplacement=P   the scroll bar's position\n"
      "  set:bar=P | set:intensbar=P | set:BarWaist=P | set:ebxWaist=MM   the simulation\n"
      "  set:spLbd=TEXT | set:spLine=NM   the reference's wavelength, a lamp line\n"
      "  key:NAME=CODE       a key (its character code; 13 is Enter) in an edit\n"
      "  mouse:down|move|up:X,Y   the mouse on the plot, in plot pixels\n"
      "  mouse:wheel:X,N     N notches of the wheel over column X (up > 0: zoom in)\n"
      "  key:ecran=[shift+]left|right|up|down   an arrow key on the plot\n"
      "  dialog:NAME field=value ... click=BUTTON ... ok|cancel   answers the next\n"
      "                      showing of dialog NAME; give it before the click\n"
      "  gauge:cancel[=N]    presses Cancel on the next gauge shown, once its position\n"
      "                      reaches N (a frame, samples of a series): acts during a loop\n"
      "  open:FILE | save:FILE   the open / save dialog answered with FILE (.CCD, .CCT)\n"
      "  export:text|regressi|synchronie|bitmap=FILE   an export, answered with FILE\n"
      "  export:csv=FILE [style=point|semicolon]   the table on screen with its header line\n"
      "  export:jcamp=FILE [resample=1nm]   the spectrum as JCAMP-DX (spectrometry)\n"
      "  cancel:open|save|text|regressi|synchronie|bitmap|csv|jcamp   the command, its\n"
      "                      file dialog cancelled\n"
      "  print:pdf=FILE | print:png=FILE   the print dialog (answered by dialog:Timp),\n"
      "                      then the page written to FILE\n"
      "  fill:RawBuf=FILE | fill:MiSerieRaw=FILE   levels 0..255, one per line, then processed\n"
      "  dump:RawBuf[=N] | dump:CurveBuf[=N]   curve N (default the last), one level per line\n"
      "  dump:MiSerieRaw | MiSerie | FftLevels | MiFftLevels | PeakMarks | LambdaTab   a store\n"
      "  dump:NbPoints | NbCurves | CurveColours | tools   counts, pen colours, controls\n"
      "  dump:ProfParams | OptoParams | SpectroParams | MiParams | PrintNotes | config\n"
      "                      a record, name=value per line\n"
      "  dump:Fit | dump:Simulation   the last fit, the simulation's parameters\n"
      "                      (model=PAGE; other=PAGE,RMS for each other model fitted\n"
      "                      to the same curve)\n"
      "  dump:Calibration    kind=, then ref=PIXEL,NM,TABLE_NM,DIFF_NM per used reference\n"
      "                      (the table built without it, at its pixel), then rms=NM\n"
      "  dump:Identified     line=PIXEL,NM per line the last click:spIdentify found\n"
      "  dump:NAME           the caption of a label or a dialog's field (picx, nbfr, lora)\n"
      "  dump:ecran=FILE     the plot as PNG or BMP\n"
      "  dump:clipboard      the text the last click:CopierDonnees1 copied\n"
      "  export:png=FILE | export:svg=FILE [size=WxH]   the window's plot as a picture\n"
      "                      (default 1600x900), drawn as on screen\n"
      "  dump:axes           the ticks of the window's axes, x=VALUE LABEL, y=VALUE LABEL\n"
      "  box:id | box:frame | box:series=N   talk to the box directly\n"
      "  scene:NAME          what the simulated box sees\n"
      "  wait:MS             let MS milliseconds pass with the window running\n"
      "A failed action (a file that cannot be read or written, a refused value, an\n"
      "answer never used) prints one line on stderr and ends the script with exit\n"
      "status 1; with --keep-going the remaining actions still run (the status stays 1).\n"
      "click:Quitter1 ends the script and the program at once.\n"
      "The box comes from --box, else ROVANEL_BOX, else auto: the USB box when one\n"
      "answers, else the simulated box. A real box\n"
      "is the first FTDI device with the ids of --usb-ids (default 0403:6001), and\n"
      "the serial number or description given. --sim-faults takes late=N, silent=N,\n"
      "unplug=N (the N-th frame request) and replug=MS, separated by commas.\n";
  return text;
}

std::optional<Invocation> Prepare(const std::string& program, const std::vector<std::string>& args,
                                  bool window, int& exitStatus) {
  std::string error;
  const auto line = ParseCommandLine(args, error);
  exitStatus = 2;
  if (!line) {
    std::cerr << program << ": " << error << " (see " << program << " --help)\n";
    return std::nullopt;
  }
  if (line->help) {
    std::cout << Usage(program, window);
    exitStatus = 0;
    return std::nullopt;
  }
  if (line->version) {
    std::cout << program << ' ' << app::kVersion << '\n';
    exitStatus = 0;
    return std::nullopt;
  }
  if (line->screenshot && !window) {
    std::cerr << program << ": --screenshot belongs to the window; use dump:ecran=FILE\n";
    return std::nullopt;
  }
  if (line->plotScale && !window) {
    std::cerr << program << ": --plot-scale belongs to the window\n";
    return std::nullopt;
  }
  const auto options = MakeBoxOptions(*line, std::getenv("ROVANEL_BOX"), error);
  if (!options) {
    // A value the program refuses, as a refused action: status 1.
    std::cerr << program << ": " << error << '\n';
    exitStatus = 1;
    return std::nullopt;
  }
  return Invocation{*line, *options};
}

}  // namespace rovanel::script
