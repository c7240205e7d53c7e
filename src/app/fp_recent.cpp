// The measurement's file: its name in the title, the question before
// quitting with a measurement never saved, and the recent files.
#include <algorithm>
#include <filesystem>

#include "app/main_window.h"
#include "base/printable.h"

namespace rovanel::app {

void TFp::MeasurementChanged() {
  unsaved_ = true;
  Changed(kChangedTitle);
}

void TFp::FileTaken(const std::string& name, bool whole) {
  if (whole) {
    fileName_ = name;
    unsaved_ = false;
  }
  recent_.erase(std::remove(recent_.begin(), recent_.end(), name), recent_.end());
  recent_.insert(recent_.begin(), name);
  if (recent_.size() > kMaxRecentFiles) recent_.resize(kMaxRecentFiles);
  Changed(kChangedTitle);
}

void TFp::SetRecentFiles(std::vector<std::string> files) {
  recent_.clear();
  for (std::string& f : files)
    if (!f.empty() && std::find(recent_.begin(), recent_.end(), f) == recent_.end() &&
        recent_.size() < kMaxRecentFiles)
      recent_.push_back(std::move(f));
}

void TFp::OpenRecent(std::size_t index) {
  if (index >= recent_.size()) return;
  const std::string name = recent_[index];
  std::error_code ec;
  if (!std::filesystem::is_regular_file(name, ec)) {
    // Gone since: said, and no longer offered.
    recent_.erase(recent_.begin() + static_cast<std::ptrdiff_t>(index));
    ui_->Failed(Text("ID_MES_ERR_recent absent", {Printable(name)}));
    Changed(kChangedAll);
    return;
  }
  OpenFile(name);
  Changed(kChangedAll);
}

bool TFp::CanClose() {
  if (closed_ || !unsaved_) return true;
  switch (ui_->AskBeforeQuit(Text("ID_MES_CNF_non sauve"))) {
    case QuitChoice::Save:
      Sauver1Click();
      Changed(kChangedAll);
      return !unsaved_;  // a cancelled or failed save keeps the window open
    case QuitChoice::Discard:
      return true;
    case QuitChoice::Cancel:
      break;
  }
  return false;
}

std::string TFp::FileTitle() const {
  if (fileName_.empty() && !unsaved_) return {};
  const std::string shown =
      fileName_.empty() ? Text("ID_TIT_BAS_non sauve")
                        : Printable(std::filesystem::path(fileName_).filename().string());
  return (unsaved_ ? "*" : "") + shown;
}

}  // namespace rovanel::app
