// The optics calculator's widgets, drawn from the TMiCalc model: the
// notebook of the mode, each page a grid of value ± uncertainty edits, its
// compute button, its read-only results and the relation it computes.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/dialogs/mi_calc.h"
#include "gui/dialog_views.h"

class QGroupBox;
class QPushButton;
class QTabWidget;

namespace rovanel::gui {

// The key a release in a calculator edit reports: main-keyboard digits
// (their digit in `digit`) and point, keypad digits and point, Return and
// Enter, Shift, the left and right arrows; anything else is Other.
app::CalcKey CalcKeyOf(int qtKey, Qt::KeyboardModifiers modifiers, char& digit);

class MiCalcDialog : public DialogView {
 public:
  MiCalcDialog(app::TMiCalc& model, QWidget* parent);
  void Sync() override;

 protected:
  void PullEdits() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Field {
    QLineEdit* edit;
    app::Control* control;
  };
  QTabWidget* Notebook(bool michelson);
  QWidget* Page(int index);
  QLineEdit* Edit(QWidget* parent, const char* name, bool input);
  app::Control* ControlNamed(const std::string& name);

  app::TMiCalc& calc_;
  QTabWidget *micomp_, *incomp_;
  QPushButton* quitmich_;
  std::vector<Field> inputs_, outputs_;
  std::vector<std::pair<QPushButton*, app::Control*>> buttons_;
  std::vector<std::pair<QGroupBox*, app::Control*>> formulas_;
  // The input edit that got the last key press and still has the focus:
  // only a release there counts (Tab moves the focus before its release
  // arrives, and that release must not reach the next edit's rule).
  QObject* pressedIn_ = nullptr;
};

}  // namespace rovanel::gui
