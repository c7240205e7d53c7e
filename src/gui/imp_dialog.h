// The print dialog's widgets, drawn from the Timp model.
#pragma once

#include <vector>

#include "gui/dialog_views.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace rovanel::app {
class Timp;
struct Control;
}  // namespace rovanel::app

namespace rovanel::gui {

class ImpDialog : public DialogView {
 public:
  ImpDialog(app::Timp& model, QWidget* parent);
  void Sync() override;

 protected:
  void PullEdits() override;

 private:
  QPushButton* Button(const char* name);
  QRadioButton* Radio(const char* name);

  app::Timp& imp_;
  QLabel *lblNom_, *lblManip_, *lblRemark_, *epcourbe_, *epgrille_;
  QLineEdit *nom_, *manip_;
  QPlainTextEdit* remark_;
  QGroupBox *boxcoul_, *boxcourbe_, *boxgrille_, *boxpapier_;
  // Every button and radio button with its model control, by name.
  std::vector<std::pair<QWidget*, const app::Control*>> pressed_;
};

}  // namespace rovanel::gui
