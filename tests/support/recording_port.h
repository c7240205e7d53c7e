// A headless UI port that records what the model asked of the window and
// lets a test act inside the message pump.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/ui_port.h"

namespace rovanel::support {

class RecordingPort : public app::UiPort {
 public:
  void ProcessMessages() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }
  void SetHourglass(bool on) override { hourglass += on ? 1 : -1; }
  void MessageBox(const std::string& text, app::MessageKind) override { messages.push_back(text); }
  void PictureChanged() override { ++pictures; }
  void GaugeChanged() override {
    ++gaugeChanges;
    if (onGauge) onGauge();
  }
  void StatusText(const std::string& text) override { status.push_back(text); }
  void CloseMainWindow() override { ++closeRequests; }
  app::QuitChoice AskBeforeQuit(const std::string& text) override {
    quitQuestions.push_back(text);
    return quitAnswer;
  }
  void ShowHelp(const std::string& path, const std::string& note) override {
    helpPages.push_back(path);
    helpNotes.push_back(note);
  }
  // The printer: confirmed when confirmPrint, then the job is kept.
  bool PrintPage(const app::PrintJob& job, const std::function<void()>& confirmed) override {
    if (!confirmPrint) return false;
    confirmed();
    printed.push_back(job);
    return true;
  }
  void PreviewPage(const app::PrintJob& job) override { previews.push_back(job); }

  int pumps = 0;
  int hourglass = 0;
  int pictures = 0;
  int gaugeChanges = 0;
  int closeRequests = 0;
  app::QuitChoice quitAnswer = app::QuitChoice::Discard;
  std::vector<std::string> quitQuestions;
  std::vector<std::string> messages;
  std::vector<std::string> status;
  // Each help page asked for (empty: missing) and its note.
  std::vector<std::string> helpPages, helpNotes;
  bool confirmPrint = true;
  std::vector<app::PrintJob> printed, previews;
  // Runs inside ProcessMessages with the pump's number (1-based).
  std::function<void(int)> onPump;
  std::function<void()> onGauge;
};

}  // namespace rovanel::support
