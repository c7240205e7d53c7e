// Runs the actions of the command line on the window model: the same
// grammar for rovanel-cli and for the window after start-up.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "app/ui_port.h"

namespace rovanel::cli {

class ActionRunner {
 public:
  ActionRunner(app::TFp& fp, std::ostream& out, std::ostream& err);
  // Runs one action. On error writes one line to `err` and returns false.
  bool Run(std::string_view action);
  // Runs actions in order; stops at the first error or once the window
  // has been asked to close. Returns false on error.
  bool RunAll(const std::vector<std::string>& actions, const std::function<bool()>& closing);
  // Queues the dialog: answers that come before any other action, so that
  // they answer the dialogs of start-up, and removes them from actions.
  // False (with one error line) for an answer that cannot be read.
  bool QueueLeadingDialogs(std::vector<std::string>& actions);
  // Headless runs: a loop still running when the actions are over stops.
  bool StopLoopsWhenDone = false;
  // Called once, inside the loop, when its actions are over and before it
  // is stopped (a screenshot of the live view is taken then).
  std::function<void()> BeforeLoopStops;

 private:
  bool Click(std::string_view name);
  bool Set(std::string_view what);
  bool Dump(std::string_view what);
  // The interference and spectrometry controls (optics_actions.cpp): bars,
  // edits, lamp lines, the fit, dialog fields. `handled` false: not theirs.
  bool SetOptics(std::string_view name, std::string_view text, bool& handled);
  bool DumpOptics(std::string_view what, bool& handled);
  bool BoxCommand(std::string_view what);
  bool Scene(std::string_view name);
  bool Wait(std::string_view ms);
  bool Dialog(std::string_view answer);
  // print:pdf=FILE, print:png=FILE: the print dialog (answered by a queued
  // dialog:Timp), then the page written to the file.
  bool Print(std::string_view what);
  // open:FILE, save:FILE, export:KIND=FILE, cancel:COMMAND (file_actions.cpp).
  bool FileCommand(std::string_view verb, std::string_view rest);
  // The control an action clicks, or "" for one that clicks none.
  static std::string_view ControlOf(std::string_view action);
  static std::string_view FileCommandControl(std::string_view action);
  bool Fill(std::string_view what);
  bool Mouse(std::string_view what);
  bool Key(std::string_view what);
  bool RunOne(std::string_view action);
  bool Fail(const std::string& message);

  app::TFp& fp_;
  std::vector<std::string> actions_;
  std::size_t next_ = 0;
  bool failed_ = false;
  bool waiting_ = false;
  std::ostream& out_;
  std::ostream& err_;
};

// The headless port: messages and the status bar go to a stream.
class HeadlessPort : public app::UiPort {
 public:
  explicit HeadlessPort(std::ostream& err) : err_(err) {}
  void ProcessMessages() override {
    if (scriptPump) scriptPump();
  }
  void SetHourglass(bool) override {}
  void MessageBox(const std::string& text, app::MessageKind kind) override;
  void PictureChanged() override {}
  void GaugeChanged() override {}
  void StatusText(const std::string& text) override;
  void CloseMainWindow() override { closeRequested = true; }
  // No window: a dialog with no answer queued is cancelled, and said so.
  bool RunModal(app::DialogModel& dialog) override;
  // No window: the page and its note are written out.
  void ShowHelp(const std::string& path, const std::string& note) override;
  // No printer: said so (print:pdf writes the page); the preview is named.
  bool PrintPage(const app::PrintJob& job, const std::function<void()>& confirmed) override;
  void PreviewPage(const app::PrintJob& job) override;

  bool closeRequested = false;

 private:
  std::ostream& err_;
};

}  // namespace rovanel::cli
