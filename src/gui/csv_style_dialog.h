// The CSV export's style dialog, drawn from the TCsvStyle model.
#pragma once

#include "gui/dialog_views.h"

class QRadioButton;

namespace rovanel::app {
class TCsvStyle;
}

namespace rovanel::gui {

class CsvStyleDialog : public DialogView {
 public:
  CsvStyleDialog(app::TCsvStyle& model, QWidget* parent);
  void Sync() override;

 protected:
  void PullEdits() override {}

 private:
  app::TCsvStyle& csv_;
  QRadioButton *pointComma_, *commaSemicolon_;
};

}  // namespace rovanel::gui
