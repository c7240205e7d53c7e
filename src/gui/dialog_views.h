// Qt views of the modal dialogs' models: they render the model's controls
// and forward clicks, bar moves and key releases to it. The models decide
// everything, closing included.
#pragma once

#include <QDialog>
#include <QRegularExpression>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/dialogs/dialog.h"

class QAbstractButton;
class QLineEdit;

namespace rovanel::gui {

// What a wavelength edit lets be typed: up to four digits, a decimal point
// or comma and up to three decimals.
inline const QRegularExpression kWavelengthText{"[0-9]{0,4}([.,][0-9]{0,3})?"};

// The key a release reports to the models' edit rules: '0'..'9' are digits
// (keypad digits with the keypad modifier), Return and keypad Enter are
// Enter, Shift is Shift, anything else Other.
app::Key KeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// What the dialog views share.
class DialogView : public QDialog {
 public:
  DialogView(app::DialogModel& model, QWidget* parent);
  // Renders the model's state into the widgets.
  virtual void Sync() = 0;

 protected:
  // Copies what the user typed into the edits' model controls.
  virtual void PullEdits() = 0;
  // Runs a model call with the edits' texts in the model, renders the
  // result, shows the model's error if it set one, moves the focus where
  // the model sent it, and closes when the model closed.
  void Forward(const std::function<void()>& call);
  // Key releases in `edit` go to `keyUp` (text in, rule, text back out).
  void WatchEdit(QLineEdit* edit, std::function<void(app::Key)> keyUp);
  // A click on `button` presses the model's button of the same object name.
  void PressOnClick(QAbstractButton* button);

  bool eventFilter(QObject* watched, QEvent* event) override;
  // Closing by the title bar or Escape cancels the model; OK that the model
  // refused (a field it could not read) leaves the dialog open.
  void done(int result) override;
  // Shows the model's error once in a warning box, clears it, and focuses
  // the widget named by FocusTo. False when there was none.
  bool ShowError();
  // Focuses the child widget named `name` (unless it has the focus already
  // and `always` is false); an edit is selected whole.
  void FocusOn(const std::string& name, bool always);

  app::DialogModel& model_;

 private:
  std::map<QObject*, std::function<void(app::Key)>> keyUps_;
};

// The view for the model's Name(), or null for a dialog with no view.
std::unique_ptr<DialogView> MakeDialogView(QWidget* parent, app::DialogModel& model);

// Runs the model's dialog modally (the caller has activated the model) and
// returns whether it closed with OK. A dialog with no view shows nothing
// and is cancelled.
bool RunDialogView(QWidget* parent, app::DialogModel& model);

}  // namespace rovanel::gui
