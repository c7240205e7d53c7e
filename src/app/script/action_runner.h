// Runs scripted actions on the window model: the same grammar for
// rovanel-cli and for the window after start-up. Each action starts when the
// one before it has finished, its loop included; only an endless loop (the
// live view, a zoom held down) runs the next actions while it runs.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "app/ui_port.h"

namespace rovanel::script {

class ActionRunner;

// The port the model talks to while a script runs: it wraps the window's
// (or the front-end's) port, lets the script act at the pumps of an endless
// loop, and turns the model's failures into the failure of the action.
class ScriptedPort final : public app::UiPort {
 public:
  ScriptedPort(app::UiPort& inner, ActionRunner& runner) : inner_(inner), runner_(runner) {}
  void ProcessMessages() override;
  void SetHourglass(bool on) override { inner_.SetHourglass(on); }
  void MessageBox(const std::string& text, app::MessageKind kind) override {
    inner_.MessageBox(text, kind);
  }
  void Failed(const std::string& text) override;
  // Asked in the window; the front-end, with no one to ask, says yes.
  bool Confirm(const std::string& text) override { return inner_.Confirm(text); }
  void PictureChanged() override { inner_.PictureChanged(); }
  void Changed(unsigned what) override { inner_.Changed(what); }
  void GaugeChanged() override { inner_.GaugeChanged(); }
  void StatusText(const std::string& text) override { inner_.StatusText(text); }
  void CloseMainWindow() override;
  bool RunModal(app::DialogModel& dialog) override { return inner_.RunModal(dialog); }
  void Note(const std::string& text) override { inner_.Note(text); }
  void ShowHelp(const std::string& path, const std::string& note) override {
    inner_.ShowHelp(path, note);
  }
  bool PrintPage(const app::PrintJob& job, const std::function<void()>& confirmed) override {
    return inner_.PrintPage(job, confirmed);
  }
  void PreviewPage(const app::PrintJob& job) override { inner_.PreviewPage(job); }
  void CopyText(const std::string& text) override { inner_.CopyText(text); }
  bool CopyPlot() override { return inner_.CopyPlot(); }

 private:
  app::UiPort& inner_;
  ActionRunner& runner_;
};

class ActionRunner {
 public:
  ActionRunner(app::TFp& fp, std::ostream& out, std::ostream& err);
  // Runs one action to its end. On error writes one line to `err` and
  // returns false.
  bool Run(std::string_view action);
  // Runs actions in order; stops at the first failure (unless KeepGoing)
  // or once the window has been asked to close. False when any failed.
  bool RunAll(const std::vector<std::string>& actions);
  // Queues the dialog: answers that come before any other action, so that
  // they answer the dialogs of start-up, and removes them from actions.
  // False (with one error line) for an answer that cannot be read.
  bool QueueLeadingDialogs(std::vector<std::string>& actions);
  // Headless runs: a loop still running when the actions are over stops.
  bool StopLoopsWhenDone = false;
  // After a failure the remaining actions still run (the result stays false).
  bool KeepGoing = false;
  // Called once, inside the loop, when its actions are over and before it
  // is stopped (a screenshot of the live view is taken then).
  std::function<void()> BeforeLoopStops;
  // True once the script was told to end by Quitter1 or the window closing.
  bool Closing() const { return closing_ || fp_.Closed(); }

 private:
  friend class ScriptedPort;
  // At each message pump of a loop: the next action when the loop is
  // endless, a queued gauge:cancel when it is finite.
  void Pump();
  void Failed(const std::string& text);
  void CloseRequested();
  // Runs the next action of the script.
  void RunNext();
  bool Click(std::string_view name);
  bool Set(std::string_view what);
  bool Dump(std::string_view what);
  // The interference and spectrometry dumps (optics_actions.cpp): bars,
  // the fit, dialog fields. `handled` false: not theirs.
  bool DumpOptics(std::string_view what, bool& handled);
  bool BoxCommand(std::string_view what);
  bool Scene(std::string_view name);
  bool Wait(std::string_view ms);
  // Lets the window live until waitUntilUs_.
  void FinishWait();
  bool Dialog(std::string_view answer);
  // gauge:cancel[=N]: Cancel pressed on the next gauge once it reaches N.
  bool Gauge(std::string_view what);
  void PlayGaugeCancel();
  // print:pdf=FILE, print:png=FILE: the print dialog (answered by a queued
  // dialog:Timp), then the page written to the file.
  bool Print(std::string_view what);
  // open:FILE, save:FILE, export:KIND=FILE, cancel:COMMAND (file_actions.cpp).
  bool FileCommand(std::string_view verb, std::string_view rest);
  // The options after an export's file name: csv's style= (answers the
  // style dialog), jcamp's resample=1nm (the resampled command).
  bool ExportOptions(std::string_view& command, std::string_view& file);
  // The control an action clicks, or "" for one that clicks none.
  static std::string_view ControlOf(std::string_view action);
  static std::string_view FileCommandControl(std::string_view action);
  bool Fill(std::string_view what);
  bool Mouse(std::string_view what);
  bool PlotKey(std::string_view key);
  bool Key(std::string_view what);
  bool RunOne(std::string_view action);
  bool Fail(const std::string& message);
  // Says what was queued for the model and never used; true if anything was.
  bool UnusedAnswers();

  app::TFp& fp_;
  std::vector<std::string> actions_;
  std::size_t next_ = 0;
  bool failed_ = false;
  bool waiting_ = false;
  bool closing_ = false;
  // The end of a wait: action on the box's clock (0: none).
  std::int64_t waitUntilUs_ = 0;
  // The model's failure said during the action being run.
  std::string failure_;
  // gauge:cancel queued: the position at which Cancel is pressed.
  std::vector<std::int64_t> gaugeCancels_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace rovanel::script
