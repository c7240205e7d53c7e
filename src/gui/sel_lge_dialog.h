// The first start's language dialog, drawn from the TSelLge model.
#pragma once

#include "gui/dialog_views.h"

class QRadioButton;
class QPushButton;

namespace rovanel::app {
class TSelLge;
}

namespace rovanel::gui {

class SelLgeDialog : public DialogView {
 public:
  SelLgeDialog(app::TSelLge& model, QWidget* parent);
  void Sync() override;

 protected:
  void PullEdits() override {}

 private:
  app::TSelLge& selLge_;
  QRadioButton *francais_, *anglais_, *allemand_;
  QPushButton* BitBtn1_;
};

}  // namespace rovanel::gui
