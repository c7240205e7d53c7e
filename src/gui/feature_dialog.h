// The "Filtrage / Moyennage" dialog's widgets, drawn from the Tfeature model.
#pragma once

#include "gui/dialog_views.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace rovanel::app {
class Tfeature;
}

namespace rovanel::gui {

class FeatureDialog : public DialogView {
 public:
  FeatureDialog(app::Tfeature& model, QWidget* parent);
  void Sync() override;

 protected:
  void PullEdits() override;

 private:
  app::Tfeature& feature_;
  QFrame *pofiltre_, *pmoy_, *ppics_, *pcumul_, *spRef_;
  QLabel *lblOrdre_, *lblNbmoy_, *lblBarres_, *lblNumPix_, *lblLbd1_, *lblPromin_;
  QLineEdit *ordre_, *nbmoy_, *promin_, *spNumPix_, *spLbd1_;
  QComboBox* boxbar_;
  QPushButton *valfeat_, *annfeat_, *hlpfeat_;
};

}  // namespace rovanel::gui
