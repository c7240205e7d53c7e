// The one port through which the window model reaches the outside: the Qt
// view implements it, and so do the command-line front-end and the tests.
#pragma once

#include <functional>
#include <string>

#include "app/dialogs/dialog.h"
#include "display/print_page.h"

namespace rovanel::app {

enum class MessageKind { Information, Error };

// What the model tells the view has changed, so that it updates that only.
inline constexpr unsigned kChangedControls = 1;    // buttons, menu items, groups, edits
inline constexpr unsigned kChangedCaptions = 2;    // the texts under and beside the plot
inline constexpr unsigned kChangedTitle = 4;       // the window title, the menus' titles
inline constexpr unsigned kChangedScrollBars = 8;  // the plot's and the simulation's bars
inline constexpr unsigned kChangedAll = 15;

// A page to print or preview, with the style and paper chosen.
struct PrintJob {
  display::PrintPage page;
  display::PageStyle style;
  display::PaperSize paper = display::PaperSize::A4;
  bool landscape = false;
};

// What to do with a measurement never saved, asked before quitting.
enum class QuitChoice { Save, Discard, Cancel };

class UiPort {
 public:
  virtual ~UiPort() = default;
  // Let pending window messages run (clicks may be handled in here).
  virtual void ProcessMessages() = 0;
  virtual void SetHourglass(bool on) = 0;
  // A modal message box with one OK button.
  virtual void MessageBox(const std::string& text, MessageKind kind) = 0;
  // A question to answer yes or no (true: yes). A port with no one to ask
  // answers yes: a script takes what the program proposes.
  virtual bool Confirm(const std::string& text) {
    (void)text;
    return true;
  }
  // A command failed (a file that could not be read or written): said in
  // an error box; a script stops there instead.
  virtual void Failed(const std::string& text) { MessageBox(text, MessageKind::Error); }
  // `ecran` holds a new picture.
  virtual void PictureChanged() = 0;
  // The state of some controls changed (kChanged... bits).
  virtual void Changed(unsigned what) { (void)what; }
  // The progress gauge was shown, hidden, moved or relabelled.
  virtual void GaugeChanged() = 0;
  // The text of the status bar.
  virtual void StatusText(const std::string& text) = 0;
  // The model asks the window to close (the view then runs FormClose).
  virtual void CloseMainWindow() = 0;
  // Save, quit without saving, or stay. A port with no one to ask quits:
  // a script decides with its own save: before Quitter1.
  virtual QuitChoice AskBeforeQuit(const std::string& text) {
    (void)text;
    return QuitChoice::Discard;
  }
  // Shows a modal dialog for the model until it closes; true when with OK.
  // A port with no window cancels it.
  virtual bool RunModal(DialogModel& dialog) {
    dialog.Reject();
    return false;
  }

  // A small window with one line of text while a long step runs (empty
  // text: hidden).
  virtual void Note(const std::string& text) { (void)text; }

  // Opens the help window on a page (empty path: the page is missing) with
  // a note to show beside it (empty: none).
  virtual void ShowHelp(const std::string& path, const std::string& note) {
    (void)path;
    (void)note;
  }

  // The platform's print dialog, preset with the job's paper; once the
  // user confirms it, `confirmed` runs, then the page prints. False when
  // cancelled or when there is no printer.
  virtual bool PrintPage(const PrintJob& job, const std::function<void()>& confirmed) {
    (void)job;
    (void)confirmed;
    return false;
  }
  // Plain text onto the clipboard (Copy data).
  virtual void CopyText(const std::string& text) { (void)text; }
  // The plot as the window shows it, as a picture onto the clipboard (Copy
  // plot); false where there is no window to picture.
  virtual bool CopyPlot() { return false; }

  // The print preview of the job, modal.
  virtual void PreviewPage(const PrintJob& job) { (void)job; }
};

// A port that does nothing: for tests and batch work that need none.
class NullUiPort : public UiPort {
 public:
  void ProcessMessages() override {}
  void SetHourglass(bool) override {}
  void MessageBox(const std::string&, MessageKind) override {}
  void PictureChanged() override {}
  void GaugeChanged() override {}
  void StatusText(const std::string&) override {}
  void CloseMainWindow() override {}
};

}  // namespace rovanel::app
