// The display settings dialog's widgets, drawn from the TAffichage model:
// four pages of which the model shows one, and the OK, Cancel and Help
// buttons under them.
#pragma once

#include <array>

#include "gui/dialog_views.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace rovanel::app {
class TAffichage;
}
namespace rovanel::display {
struct Rgb;
}

namespace rovanel::gui {

class AffichageDialog : public DialogView {
 public:
  AffichageDialog(app::TAffichage& model, QWidget* parent);
  void Sync() override;

 protected:
  void PullEdits() override;
  // Swatch clicks, and the wavelength edit's focus and Enter key.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QFrame* BuildLevelsPage();
  QFrame* BuildAxesPage();
  QFrame* BuildGridPage();
  QFrame* BuildCursorPage();
  QPushButton* Button(QWidget* parent, const char* name);
  QRadioButton* Radio(QWidget* parent, const char* name);
  // Runs the colour chooser from `current`; on confirmation hands the colour
  // to the model's `apply`.
  void ChooseColour(const display::Rgb& current, void (app::TAffichage::*apply)(display::Rgb));

  app::TAffichage& affichage_;
  QFrame *pNivCoul_, *PAxes_, *PGrille_, *PCurs_;
  QRadioButton *unit1_, *unit2_, *unit3_, *unit4_, *unit5_, *pix1_, *pix2_, *pix4_;
  QComboBox *ListPas_, *ListStyle_;
  QLabel *ColorGrid_, *CursColor_, *MaxColor_, *MinColor_, *lblNm_;
  QPushButton *btncolor_, *colorc_, *btnMax_, *btnMin_, *ValG_, *helg_, *anng_;
  std::array<QLabel*, 8> swatches_{};
  QFrame* bvlSelect_;
  QCheckBox* chkSelMin_;
  QLineEdit* MskLBDA_;
};

}  // namespace rovanel::gui
