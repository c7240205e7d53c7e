#include "app/script/action_runner.h"

#include <utility>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <sstream>
#include <memory>
#include <vector>

#include "app/box_status.h"
#include "app/control_table.h"
#include "app/record_fields.h"
#include "app/script/image_export.h"
#include "base/cp1252.h"
#include "base/printable.h"
#include "base/read_file.h"
#include "display/image_io.h"

namespace rovanel::script {

namespace {

bool ParseInt(std::string_view text, long long& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last && first != last;
}

void PrintLevels(std::ostream& out, const std::uint8_t* levels, std::size_t n) {
  std::string text;
  text.reserve(n * 4);
  for (std::size_t i = 0; i < n; ++i) {
    text += std::to_string(levels[i]);
    text += '\n';
  }
  out << text;
}

}  // namespace

ActionRunner::ActionRunner(app::TFp& fp, std::ostream& out, std::ostream& err)
    : fp_(fp), out_(out), err_(err) {}

bool ActionRunner::Fail(const std::string& message) {
  err_ << "rovanel: " << message << '\n';
  return false;
}

std::string_view ActionRunner::ControlOf(std::string_view action) {
  if (action.starts_with("click:")) return action.substr(6);
  if (action.starts_with("print:")) return "imprimer";
  return FileCommandControl(action);
}

bool ActionRunner::QueueLeadingDialogs(std::vector<std::string>& actions) {
  std::size_t n = 0;
  while (n < actions.size() && actions[n].rfind("dialog:", 0) == 0) {
    if (!Run(actions[n])) return false;
    ++n;
  }
  actions.erase(actions.begin(), actions.begin() + static_cast<std::ptrdiff_t>(n));
  return true;
}

namespace {

// The model talks to the scripted port for as long as this lasts (a single
// action run on its own included).
class PortScope {
 public:
  PortScope(app::TFp& fp, ActionRunner& runner)
      : fp_(fp), installed_(dynamic_cast<ScriptedPort*>(&fp.Ui()) == nullptr) {
    if (!installed_) return;
    port_ = std::make_unique<ScriptedPort>(fp.Ui(), runner);
    previous_ = &fp.UsePort(*port_);
  }
  ~PortScope() {
    if (installed_) fp_.UsePort(*previous_);
  }
  PortScope(const PortScope&) = delete;
  PortScope& operator=(const PortScope&) = delete;

 private:
  app::TFp& fp_;
  bool installed_;
  std::unique_ptr<ScriptedPort> port_;
  app::UiPort* previous_ = nullptr;
};

}  // namespace

void ScriptedPort::ProcessMessages() {
  inner_.ProcessMessages();
  runner_.Pump();
}

void ScriptedPort::Failed(const std::string& text) {
  runner_.Failed(text);
}

void ScriptedPort::CloseMainWindow() {
  runner_.CloseRequested();
  inner_.CloseMainWindow();
}

void ActionRunner::Failed(const std::string& text) {
  if (failure_.empty()) failure_ = text;
}

void ActionRunner::CloseRequested() {
  closing_ = true;
  // Every loop ends after its pass; the script ends with the action.
  fp_.StopLoops();
}

bool ActionRunner::RunAll(const std::vector<std::string>& actions) {
  const PortScope scope(fp_, *this);
  actions_ = actions;
  next_ = 0;
  failed_ = false;
  while (next_ < actions_.size() && (!failed_ || KeepGoing) && !Closing()) RunNext();
  actions_.clear();
  next_ = 0;
  // What was queued and never used fails the script, unless it ended early.
  if (!Closing() && (!failed_ || KeepGoing) && UnusedAnswers()) failed_ = true;
  return !failed_;
}

void ActionRunner::RunNext() {
  // A wait begun in a loop that has ended since is finished first.
  if (waitUntilUs_ != 0) FinishWait();
  if (!Run(actions_[next_++])) failed_ = true;
}

void ActionRunner::Pump() {
  if (Closing()) {
    fp_.StopLoops();
    return;
  }
  // A wait lets the window live; the next action waits for its end.
  if (waiting_) return;
  // A loop that ends by itself runs to its end before the next action;
  // only a queued gauge:cancel acts during it.
  if (fp_.FiniteLoopRunning()) {
    PlayGaugeCancel();
    return;
  }
  if (!fp_.EndlessLoopRunning()) return;
  if (failed_ && !KeepGoing) {
    fp_.StopLoops();
    return;
  }
  // A wait: the loop runs on until its time is over.
  if (waitUntilUs_ != 0 && fp_.GetBox().GetClock().NowUs() < waitUntilUs_) return;
  waitUntilUs_ = 0;
  if (next_ < actions_.size()) {
    RunNext();
    return;
  }
  // Headless, nobody is left to end the loop: it stops after its pass.
  if (!StopLoopsWhenDone) return;
  if (BeforeLoopStops) std::exchange(BeforeLoopStops, nullptr)();
  fp_.StopEndlessLoops();
}

bool ActionRunner::Gauge(std::string_view what) {
  long long at = 0;
  if (what == "cancel") {
    at = 0;
  } else if (!what.starts_with("cancel=") || !ParseInt(what.substr(7), at) || at < 0) {
    return Fail("gauge takes cancel or cancel=N (the gauge's position, N >= 0), not '" +
                std::string(what) + "'");
  }
  gaugeCancels_.push_back(at);
  return true;
}

void ActionRunner::PlayGaugeCancel() {
  if (gaugeCancels_.empty() || !fp_.Gauge().Visible() || !fp_.Gauge().CancelVisible) return;
  if (fp_.Gauge().Position() < gaugeCancels_.front()) return;
  gaugeCancels_.erase(gaugeCancels_.begin());
  fp_.CancelGauge();
}

bool ActionRunner::UnusedAnswers() {
  for (const std::string& name : fp_.Answers().Unused()) {
    Fail("the answer to dialog " + name + " was never used");
    return true;
  }
  if (!gaugeCancels_.empty()) {
    gaugeCancels_.clear();
    Fail("gauge:cancel was never used: no gauge with a Cancel button was shown");
    return true;
  }
  return false;
}

bool ActionRunner::Run(std::string_view action) {
  const PortScope scope(fp_, *this);
  failure_.clear();
  bool ok = RunOne(action);
  // A queued dialog answer that could not be played fails the action that
  // showed the dialog; so does a command of the model that failed.
  if (const std::string error = fp_.TakeScriptError(); !error.empty()) {
    if (ok) ok = Fail(error);
  }
  if (!failure_.empty()) {
    const std::string error = std::exchange(failure_, {});
    if (ok) ok = Fail(error);
  }
  return ok;
}

bool ActionRunner::RunOne(std::string_view action) {
  const auto colon = action.find(':');
  if (colon == std::string_view::npos) return Fail("unknown action '" + std::string(action) + "'");
  const std::string_view verb = action.substr(0, colon);
  const std::string_view rest = action.substr(colon + 1);
  if (verb == "click") return Click(rest);
  if (verb == "set") return Set(rest);
  if (verb == "dump") return Dump(rest);
  if (verb == "box") return BoxCommand(rest);
  if (verb == "scene") return Scene(rest);
  if (verb == "wait") return Wait(rest);
  if (verb == "dialog") return Dialog(rest);
  if (verb == "print") return Print(rest);
  if (verb == "fill") return Fill(rest);
  if (verb == "mouse") return Mouse(rest);
  if (verb == "key") return Key(rest);
  if (verb == "gauge") return Gauge(rest);
  if (verb == "export" && IsPlotImageExport(rest)) {
    std::string error;
    return ExportPlotImage(fp_, rest, error) || Fail(error);
  }
  if (verb == "open" || verb == "save" || verb == "export" || verb == "cancel")
    return FileCommand(verb, rest);
  return Fail("unknown action '" + std::string(action) + "'");
}

bool ActionRunner::Key(std::string_view what) {
  const auto eq = what.find('=');
  if (what.substr(0, eq) == "ecran") return PlotKey(eq == std::string_view::npos ? "" : what.substr(eq + 1));
  long long code = 0;
  if (eq == std::string_view::npos || !ParseInt(what.substr(eq + 1), code) || code < 0 ||
      code > 255)
    return Fail("key takes NAME=CODE with a character code 0..255, not '" + std::string(what) +
                "'");
  if (!fp_.KeyPress(what.substr(0, eq), static_cast<int>(code)))
    return Fail("no edit that reads keys named " + Quoted(what.substr(0, eq)));
  return true;
}

bool ActionRunner::PlotKey(std::string_view key) {
  // An arrow key on the plot; with shift it moves ten times as far.
  const bool shift = key.starts_with("shift+");
  if (shift) key.remove_prefix(6);
  const int sign = key == "left" || key == "up" ? -1 : 1;
  if (key != "left" && key != "right" && key != "up" && key != "down")
    return Fail("key:ecran takes left|right|up|down, shift+ before for ten, not " + Quoted(key));
  if (!fp_.ecranArrow(sign * (shift ? 10 : 1), key == "left" || key == "right"))
    return Fail("key:ecran=" + std::string(key) + " moves a cursor: switch its pair on first");
  return true;
}

bool ActionRunner::Mouse(std::string_view what) {
  const auto colon = what.find(':');
  const std::string_view kind = what.substr(0, colon);
  int x = 0, y = 0;
  char rest = 0;
  const std::string at(colon == std::string_view::npos ? "" : what.substr(colon + 1));
  if (kind == "wheel") {
    int notches = 0;
    if (std::sscanf(at.c_str(), "%d,%d%c", &x, &notches, &rest) != 2)
      return Fail("mouse:wheel takes X,N: the column and the notches (up > 0), not " + Quoted(at));
    fp_.ecranWheel(x, notches);
    return true;
  }
  if ((kind != "down" && kind != "move" && kind != "up") ||
      std::sscanf(at.c_str(), "%d,%d%c", &x, &y, &rest) != 2)
    return Fail("mouse takes down|move|up:X,Y in plot pixels, not '" + std::string(what) + "'");
  if (kind == "down")
    fp_.ecranMouseDown(app::TFp::MouseButton::Left, x, y);
  else if (kind == "move")
    fp_.ecranMouseMove(x, y);
  else
    fp_.ecranMouseUp();
  return true;
}

bool ActionRunner::Print(std::string_view what) {
  const auto eq = what.find('=');
  const std::string_view kind = what.substr(0, eq);
  if (eq == std::string_view::npos || eq + 1 == what.size() || (kind != "pdf" && kind != "png"))
    return Fail("print takes pdf=FILE or png=FILE, not '" + std::string(what) + "'");
  std::string error;
  if (!fp_.PrintToFile(std::string(what.substr(eq + 1)),
                       kind == "pdf" ? app::TFp::PageFile::Pdf : app::TFp::PageFile::Png, error))
    return Fail(error);
  return true;
}

bool ActionRunner::Dialog(std::string_view answer) {
  std::string error;
  auto parsed = app::ParseDialogAnswer(answer, error);
  if (!parsed) return Fail(error);
  fp_.Answers().Queue(std::move(*parsed));
  return true;
}

bool ActionRunner::Fill(std::string_view what) {
  const auto eq = what.find('=');
  const std::string_view store = what.substr(0, eq);
  if (eq == std::string_view::npos || (store != "RawBuf" && store != "MiSerieRaw"))
    return Fail("fill takes RawBuf=FILE or MiSerieRaw=FILE");
  const std::string file(what.substr(eq + 1));
  // At most a series' worth of lines of "255\r\n"; only a regular file.
  std::vector<std::uint8_t> bytes;
  const ReadOutcome got = ReadRegularFile(file, 5u * 262145, bytes);
  if (!got)
    return Fail("cannot read " + Quoted(file) + ": " +
                (got.fault == ReadFault::TooLarge ? std::string("too large for levels") : got.why));
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  // Every line is checked before anything changes.
  std::vector<std::uint8_t> levels;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    long long v = 0;
    if (!ParseInt(line, v) || v < 0 || v > 255)
      return Fail(Printable(file) + ":" + std::to_string(number) + ": not a level from 0 to 255: " +
                  Quoted(line));
    levels.push_back(static_cast<std::uint8_t>(v));
  }
  if (store == "RawBuf") {
    if (levels.size() != static_cast<std::size_t>(kPixels))
      return Fail(Printable(file) + ": a profile has " + std::to_string(kPixels) +
                  " levels, not " + std::to_string(levels.size()));
    signal::Curve curve;
    std::copy(levels.begin(), levels.end(), curve.begin());
    fp_.FillLastCurve(curve);
  } else {
    const std::uint32_t capacity = fp_.Stores().MiSerieRaw.Capacity();
    if (levels.empty() || levels.size() > capacity)
      return Fail(Printable(file) + ": a series has 1 to " + std::to_string(capacity) +
                  " levels, not " + std::to_string(levels.size()));
    fp_.FillSeries(levels);
  }
  return true;
}

bool ActionRunner::Click(std::string_view name) {
  if (!fp_.Click(name)) return Fail("no button or menu item named '" + std::string(name) + "'");
  return true;
}

bool ActionRunner::Set(std::string_view what) {
  const auto eq = what.find('=');
  if (eq == std::string_view::npos)
    return Fail("set needs NAME=value: '" + std::string(what) + "'");
  const std::string_view name = what.substr(0, eq);
  const std::string_view text = what.substr(eq + 1);
  if (!IsUtf8(text)) return Fail(std::string(name) + " takes UTF-8 text, not " + Quoted(text));
  long long value = 0;
  // Not controls of the table: the plot's scroll bar and a setting.
  if (name == "deplacement") {
    if (!ParseInt(text, value) || value < 0 || value > fp_.PlotScroll().max)
      return Fail("deplacement takes a position from 0 to " + std::to_string(fp_.PlotScroll().max) +
                  ", not " + Quoted(text));
    fp_.deplacementScroll(static_cast<int>(value));
    return true;
  }
  if (name == "AvgCount") {
    if (!ParseInt(text, value) || value < 1 || value > 49)
      return Fail("AvgCount takes a count from 1 to 49, not " + Quoted(text));
    fp_.SetAvgCount(static_cast<int>(value));
    return true;
  }
  if (name == "PeakProminence") {
    if (!ParseInt(text, value) || value < 0 || value > 99)
      return Fail("PeakProminence takes a percent of full scale from 0 to 99, not " + Quoted(text));
    fp_.SetPeakProminence(static_cast<int>(value));
    return true;
  }
  // Every control that takes a value, by the setter its table entry names
  // (set:spLine chooses a line of the lamp-line button).
  std::string why;
  if (!fp_.SetValue(name == "spLine" ? "spLines" : name, text, why)) return Fail(why);
  return true;
}

bool ActionRunner::Dump(std::string_view what) {
  const auto eq = what.find('=');
  const std::string_view name = what.substr(0, eq);
  if (name == "RawBuf" || name == "CurveBuf") {
    long long k = fp_.Curves().Count();
    if (eq != std::string_view::npos && (!ParseInt(what.substr(eq + 1), k) || k < 1 || k > 4))
      return Fail("dump:" + std::string(name) + "=N takes a curve from 1 to 4");
    const signal::CurveSet& set = name == "RawBuf" ? fp_.Curves().AllRaw() : fp_.Curves().AllShown();
    PrintLevels(out_, set[static_cast<int>(k)].data(), signal::kPixels);
  } else if (what == "MiSerieRaw" || what == "MiSerie" || what == "MiFftLevels" ||
             what == "PeakMarks") {
    const signal::TLargeTab& tab = what == "MiSerieRaw"    ? fp_.Stores().MiSerieRaw
                                   : what == "MiSerie"     ? fp_.Stores().MiSerie
                                   : what == "MiFftLevels" ? fp_.Stores().MiFftLevels
                                                           : fp_.Stores().PeakMarks;
    std::int64_t n = fp_.Mi().NbPoints;
    if (what == "MiFftLevels") n = fp_.Mi().FftSize / 2;
    if (what == "PeakMarks" && fp_.Mode() != app::Experiment::Michelson) n = kPixels;
    n = std::clamp<std::int64_t>(n, 0, tab.Capacity());
    std::vector<std::uint8_t> values(static_cast<std::size_t>(n));
    for (std::int64_t i = 0; i < n; ++i)
      values[static_cast<std::size_t>(i)] = tab.GetValue(static_cast<std::uint32_t>(i));
    PrintLevels(out_, values.data(), values.size());
  } else if (const auto fields = app::RecordFields(fp_, what)) {
    for (const auto& [field, value] : *fields) out_ << field << '=' << value << '\n';
  } else if (what == "config") {
    for (const auto& [field, value] : app::ConfigFields(fp_.Configuration()))
      out_ << field << '=' << value << '\n';
  } else if (what == "clipboard") {
    out_ << fp_.CopiedText();
  } else if (what == "LambdaTab") {
    std::string text;
    char v[32];
    for (float l : fp_.Stores().LambdaTab) {
      std::snprintf(v, sizeof v, "%.4f\n", static_cast<double>(l));
      text += v;
    }
    out_ << text;
  } else if (what == "axes") {
    for (const std::string& line : fp_.AxisLines()) out_ << line << '\n';
  } else if (what == "NbPoints") {
    out_ << fp_.PointCount() << '\n';
  } else if (what == "PeakProminence") {
    out_ << fp_.PeakProminence() << '\n';
  } else if (what == "FftLevels") {
    PrintLevels(out_, fp_.Stores().FftLevels.data(), fp_.Stores().FftLevels.size());
  } else if (what == "NbCurves") {
    out_ << fp_.Curves().Count() << '\n';
  } else if (what == "CurveColours") {
    for (const display::Rgb& c : fp_.Curves().Pens())
      out_ << int(c.r) << ' ' << int(c.g) << ' ' << int(c.b) << '\n';
  } else if (const app::ControlSpec* spec = app::FindControl(what);
             spec != nullptr && eq == std::string_view::npos) {
    // A control as the table places it: a bar's position, else its caption.
    const bool bar = spec->place == app::Place::HScroll || spec->place == app::Place::VScroll;
    if (bar)
      out_ << fp_.ScrollBarOf(what)->position << '\n';
    else
      out_ << fp_.Controls().Find(what)->caption << '\n';
  } else if (what == "tools") {
    for (const auto& [name, c] : fp_.Controls().All())
      out_ << name << " down=" << c->down << " enabled=" << c->enabled << " visible=" << c->visible
           << " caption=\"" << c->caption << "\"\n";
  } else if (what.rfind("ecran=", 0) == 0) {
    const std::string file(what.substr(6));
    if (file.empty()) return Fail("dump:ecran needs a file name");
    std::string why;
    if (!display::SaveCanvas(fp_.Picture(), file, &why))
      return Fail("cannot write the picture to " + Quoted(file) + " (PNG or BMP): " + why);
  } else {
    bool handled = false;
    const bool ok = DumpOptics(what, handled);
    if (!handled) return Fail("nothing to dump named '" + std::string(what) + "'");
    if (!ok) return false;
  }
  out_.flush();
  return true;
}

bool ActionRunner::BoxCommand(std::string_view what) {
  device::Board& board = fp_.GetBox().GetBoard();
  if (what == "id") {
    std::int32_t id = 0;
    // A box lost since the last exchange is opened and identified again first.
    bool opened = true;
    device::Status status = board.Identified() ? 0 : board.Connect(device::Board::kSettleMs, &opened);
    if (status == 0) status = board.GetBoardId(id);
    out_ << "status " << status << '\n' << "id " << id << '\n';
    // A box that cannot be used is a failure, said as the status bar says it.
    if (status != 0) return Fail(app::BoxProblemText(fp_, fp_.GetBox(), status, opened));
    return true;
  }
  if (what == "frame") {
    std::array<std::uint16_t, kFrameBlockSize> words{};
    const device::Status status = board.ReadFrame(words);
    out_ << "status " << status << '\n';
    std::string text;
    for (int i = 0; i < kPixels; ++i) text += std::to_string(words[i]) + '\n';
    out_ << text;
    return true;
  }
  if (what.rfind("series=", 0) == 0) {
    long long n = 0;
    // The series destination holds 262 145 words at most.
    if (!ParseInt(what.substr(7), n) || n < 0 || n > 262144)
      return Fail("box:series takes a count from 0 to 262144");
    std::vector<std::uint16_t> words(static_cast<std::size_t>(n) + 1, 0);
    device::Status status = board.SetNbSamples(static_cast<std::int32_t>(n));
    if (status == 0) status = board.ReadSamples(words, static_cast<std::int32_t>(n));
    out_ << "status " << status << '\n';
    std::string text;
    for (long long i = 0; i < n; ++i) text += std::to_string(words[i]) + '\n';
    out_ << text;
    return true;
  }
  return Fail("unknown box command '" + std::string(what) + "' (id, frame, series=N)");
}

bool ActionRunner::Wait(std::string_view ms) {
  long long value = 0;
  if (!ParseInt(ms, value) || value < 0 || value > 3'600'000)
    return Fail("wait takes milliseconds from 0 to 3600000, not '" + std::string(ms) + "'");
  device::Clock& clock = fp_.GetBox().GetClock();
  waitUntilUs_ = clock.NowUs() + value * 1000;
  // Inside an endless loop the time passes in the loop itself (the live
  // view goes on showing frames); the next action waits for it at the pumps.
  if (fp_.EndlessLoopRunning()) return true;
  FinishWait();
  return true;
}

void ActionRunner::FinishWait() {
  device::Clock& clock = fp_.GetBox().GetClock();
  // The window stays live: its messages run while the time passes, but the
  // next action waits for the time to be over.
  const bool was = std::exchange(waiting_, true);
  for (std::int64_t now = clock.NowUs(); now < waitUntilUs_ && !Closing(); now = clock.NowUs()) {
    fp_.Ui().ProcessMessages();
    clock.SleepUntilUs(std::min(waitUntilUs_, now + 10'000));
  }
  waiting_ = was;
  waitUntilUs_ = 0;
}

bool ActionRunner::Scene(std::string_view name) {
  auto* bench = fp_.GetBox().Bench();
  if (bench == nullptr) return Fail("scenes exist only on the simulated box");
  const auto scene = device::sim::SceneFromName(name);
  if (!scene) return Fail("unknown scene '" + std::string(name) + "'");
  bench->SetScene(*scene);
  return true;
}

}  // namespace rovanel::script
