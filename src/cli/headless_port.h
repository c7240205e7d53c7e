// The front-end's port: no window; messages and the status bar go to a
// stream.
#pragma once

#include <ostream>

#include "app/ui_port.h"

namespace rovanel::cli {

class HeadlessPort : public app::UiPort {
 public:
  explicit HeadlessPort(std::ostream& err) : err_(err) {}
  void ProcessMessages() override {}
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
