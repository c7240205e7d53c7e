// The simulation and calibration parameters dialog's widgets, drawn from the
// Tparaint model: the LUT panel with its live preview, the simulation
// notebook with a sketch of each set-up, and the wavelength table of the
// calibration with its interpolation choice. The caller shows one panel.
#pragma once

#include <map>
#include <string>

#include "gui/dialog_views.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;

namespace rovanel::app {
class Tparaint;
struct ScrollBar;
}  // namespace rovanel::app

namespace rovanel::gui {

// The Windows virtual-key code the parameter edits' rule reads for a Qt key
// release: main-keyboard digits 48..57 and '.' 190, keypad digits 96..105
// and keypad '.' 110, Enter 13, Shift 16, letters 65..90, anything else 0.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

class ParaintDialog : public DialogView {
 public:
  ParaintDialog(app::Tparaint& model, QWidget* parent);
  void Sync() override;

 protected:
  void PullEdits() override;
  // Key releases in the notebook's edits, and Enter on a focused button.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QFrame* LutPanel();
  QTabWidget* Notebook();
  QFrame* CalibrationPanel();
  void SimKeyUp(QLineEdit* edit, const std::string& name, int vk);

  app::Tparaint& paraint_;
  QFrame *pplut_, *ppdisp_;
  QLabel *lblLn_, *lblExp_, *imlut_, *title_;
  QLineEdit *coefln_, *coefexp_;
  QScrollBar *barln_, *barexp_;
  QTabWidget* choice_;
  QWidget* fond_;
  QGroupBox* interp_;
  QRadioButton *rdbLin_, *rdbSpline_;
  QLabel* residus_ = nullptr;
  QPushButton *def_, *valide_, *bitBtn1_, *bitBtn2_;
  // The notebook's edits and the model components they show.
  std::map<QLineEdit*, std::string> simEdits_;
  int previewShown_ = -1;  // the model's PreviewVersion on screen
  int tableShown_ = -1;    // and its TableVersion
};

}  // namespace rovanel::gui
