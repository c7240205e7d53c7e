// The main window's two file dialogs, `Save` and `open`: what they propose
// (folder, name, filter, default extension) and the name chosen. The Qt
// view shows the platform's file dialog; scripts answer with a file name.
#pragma once

#include <string>

#include "app/dialogs/dialog.h"

namespace rovanel::app {

class TFileDialog : public DialogModel {
 public:
  TFileDialog(std::string name, bool saving, std::string filter, std::string proposed);

  std::string_view Name() const override { return name_; }
  // Field FileName: the name typed (a path).
  bool SetField(std::string_view field, std::string_view value, std::string& error) override;
  bool Press(std::string_view button, std::string& error) override;
  void Accept() override { Close(true); }
  void Reject() override { Close(false); }
  void Activate() override { closed = accepted = false; }

  // A name without an extension gets DefaultExt (when set), as the
  // platform dialogs do.
  std::string ChosenName() const;
  // The folder of InitialDir (a folder, or the path of a file in it).
  std::string Folder() const;
  bool Saving() const { return saving_; }

  std::string InitialDir;
  std::string FileName;    // proposed, then chosen
  std::string Filter;      // "Description|*.EXT|Description|*.EXT"
  std::string DefaultExt;  // without the dot; empty: none

 private:
  std::string name_;
  bool saving_;
};

// The upper-cased extension of a file name, dot included (".CCD"), or "".
std::string UpperExtension(const std::string& path);

}  // namespace rovanel::app
