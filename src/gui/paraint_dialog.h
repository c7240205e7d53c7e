// The simulation and calibration parameters dialog's widgets, drawn from the
// Tparaint model: for now its LUT panel with the live preview.
#pragma once

#include "gui/dialog_views.h"

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace rovanel::app {
class Tparaint;
struct ScrollBar;
}  // namespace rovanel::app

namespace rovanel::gui {

class ParaintDialog : public DialogView {
 public:
  ParaintDialog(app::Tparaint& model, QWidget* parent);
  void Sync() override;

 protected:
  void PullEdits() override;

 private:
  app::Tparaint& paraint_;
  QFrame* pplut_;
  QLabel *lblLn_, *lblExp_, *imlut_;
  QLineEdit *coefln_, *coefexp_;
  QScrollBar *barln_, *barexp_;
  QPushButton *def_, *ok_, *cancel_;
  int previewShown_ = -1;  // the model's PreviewVersion on screen
};

}  // namespace rovanel::gui
