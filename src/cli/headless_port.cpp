#include "cli/headless_port.h"

#include "app/dialogs/dialog.h"

namespace rovanel::cli {

void HeadlessPort::MessageBox(const std::string& text, app::MessageKind kind) {
  err_ << (kind == app::MessageKind::Error ? "error: " : "message: ") << text << '\n';
}

bool HeadlessPort::RunModal(app::DialogModel& dialog) {
  err_ << "message: dialog " << dialog.Name() << " cancelled (no dialog:" << dialog.Name()
       << " answer queued)\n";
  dialog.Reject();
  return false;
}

void HeadlessPort::ShowHelp(const std::string& path, const std::string& note) {
  if (!path.empty()) err_ << "help: " << path << '\n';
  if (!note.empty()) err_ << "message: " << note << '\n';
}

bool HeadlessPort::PrintPage(const app::PrintJob&, const std::function<void()>&) {
  err_ << "message: no printer here; print:pdf=FILE or print:png=FILE writes the page\n";
  return false;
}

void HeadlessPort::PreviewPage(const app::PrintJob& job) {
  err_ << "preview: " << (job.paper == display::PaperSize::A4 ? "A4" : "Letter") << ' '
       << (job.landscape ? "landscape" : "portrait") << '\n';
}

void HeadlessPort::StatusText(const std::string& text) {
  if (!text.empty()) err_ << "status: " << text << '\n';
}

}  // namespace rovanel::cli
