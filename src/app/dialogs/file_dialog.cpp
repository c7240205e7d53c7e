#include "app/dialogs/file_dialog.h"

#include <cctype>
#include <filesystem>

namespace rovanel::app {

TFileDialog::TFileDialog(std::string name, bool saving, std::string filter, std::string proposed)
    : FileName(std::move(proposed)),
      Filter(std::move(filter)),
      name_(std::move(name)),
      saving_(saving) {
  Caption = "Rovanel";
}

bool TFileDialog::SetField(std::string_view field, std::string_view value, std::string& error) {
  if (field != "FileName") {
    error = "no field '" + std::string(field) + "' (FileName)";
    return false;
  }
  FileName = value;
  return true;
}

bool TFileDialog::Press(std::string_view button, std::string& error) {
  if (button == "ok") {
    Accept();
  } else if (button == "cancel") {
    Reject();
  } else {
    error = "no button '" + std::string(button) + "' (ok or cancel)";
    return false;
  }
  return true;
}

std::string TFileDialog::ChosenName() const {
  if (!DefaultExt.empty() && std::filesystem::path(FileName).extension().empty())
    return FileName + "." + DefaultExt;
  return FileName;
}

std::string TFileDialog::Folder() const {
  // The nearest folder that exists: InitialDir may name a file, or a folder
  // since removed.
  std::error_code ec;
  for (std::filesystem::path p(InitialDir); !p.empty(); p = p.parent_path()) {
    if (std::filesystem::is_directory(p, ec)) return p.string();
    if (p == p.parent_path()) break;
  }
  return {};
}

std::string UpperExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace rovanel::app
