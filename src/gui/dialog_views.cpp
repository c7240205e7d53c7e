#include "gui/dialog_views.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <utility>

#include "app/dialogs/affichage.h"
#include "app/dialogs/csv_style.h"
#include "app/dialogs/feature.h"
#include "app/dialogs/file_dialog.h"
#include "app/dialogs/imp.h"
#include "app/dialogs/mi_calc.h"
#include "app/dialogs/paraint.h"
#include "app/dialogs/sel_lge.h"
#include "gui/affichage_dialog.h"
#include "gui/csv_style_dialog.h"
#include "gui/feature_dialog.h"
#include "gui/imp_dialog.h"
#include "gui/mi_calc_dialog.h"
#include "gui/paraint_dialog.h"
#include "gui/sel_lge_dialog.h"

namespace rovanel::gui {

app::Key KeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) return app::Key::Enter;
  if (qtKey == Qt::Key_Shift) return app::Key::Shift;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return modifiers.testFlag(Qt::KeypadModifier) ? app::Key::KeypadDigit : app::Key::Digit;
  return app::Key::Other;
}

DialogView::DialogView(app::DialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
  setModal(true);
}

void DialogView::Forward(const std::function<void()>& call) {
  PullEdits();
  const std::string focusBefore = model_.FocusTo;
  call();
  Sync();
  if (!ShowError() && model_.FocusTo != focusBefore) FocusOn(model_.FocusTo, false);
  if (model_.closed) done(model_.accepted ? Accepted : Rejected);
}

bool DialogView::ShowError() {
  if (model_.error.empty()) return false;
  const QString text = QString::fromStdString(std::exchange(model_.error, {}));
  QMessageBox::warning(this, windowTitle(), text);
  FocusOn(model_.FocusTo, true);
  return true;
}

void DialogView::FocusOn(const std::string& name, bool always) {
  if (name.empty()) return;
  QWidget* target = findChild<QWidget*>(QString::fromStdString(name));
  if (target == nullptr || (!always && target->hasFocus())) return;
  target->setFocus(Qt::OtherFocusReason);
  // An edit taken to is selected whole, so the next key replaces its text.
  if (auto* edit = qobject_cast<QLineEdit*>(target)) edit->selectAll();
}

void DialogView::PressOnClick(QAbstractButton* button) {
  connect(button, &QAbstractButton::clicked, this, [this, button] {
    const std::string name = button->objectName().toStdString();
    Forward([&] {
      std::string error;
      model_.Press(name, error);
    });
  });
}

void DialogView::WatchEdit(QLineEdit* edit, std::function<void(app::Key)> keyUp) {
  keyUps_[edit] = std::move(keyUp);
  edit->installEventFilter(this);
}

bool DialogView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease && !model_.closed) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto it = keyUps_.find(watched);
    // A held key repeats releases too: only its last one counts.
    if (it != keyUps_.end() && !key->isAutoRepeat()) {
      const app::Key k = KeyOf(key->key(), key->modifiers());
      Forward([&] { it->second(k); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void DialogView::done(int result) {
  if (!model_.closed) {
    PullEdits();
    if (result == Accepted)
      model_.Accept();
    else
      model_.Reject();
    Sync();
    ShowError();
    // A field OK could not read keeps the dialog open on it.
    if (result == Accepted && !model_.closed) return;
  }
  QDialog::done(model_.accepted ? Accepted : Rejected);
}

std::unique_ptr<DialogView> MakeDialogView(QWidget* parent, app::DialogModel& model) {
  // The model's own type picks its view.
  if (auto* m = dynamic_cast<app::Tfeature*>(&model)) return std::make_unique<FeatureDialog>(*m, parent);
  if (auto* m = dynamic_cast<app::Tparaint*>(&model)) return std::make_unique<ParaintDialog>(*m, parent);
  if (auto* m = dynamic_cast<app::TAffichage*>(&model))
    return std::make_unique<AffichageDialog>(*m, parent);
  if (auto* m = dynamic_cast<app::TSelLge*>(&model)) return std::make_unique<SelLgeDialog>(*m, parent);
  if (auto* m = dynamic_cast<app::TMiCalc*>(&model)) return std::make_unique<MiCalcDialog>(*m, parent);
  if (auto* m = dynamic_cast<app::Timp*>(&model)) return std::make_unique<ImpDialog>(*m, parent);
  if (auto* m = dynamic_cast<app::TCsvStyle*>(&model))
    return std::make_unique<CsvStyleDialog>(*m, parent);
  return nullptr;
}

namespace {

// "Text|*.TXT|Picture|*.BMP" as Qt's filters, each pattern in both cases.
QStringList QtFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString& pattern = parts[i + 1];
    filters << parts[i] + " (" + pattern.toUpper() + " " + pattern.toLower() + ")";
  }
  return filters;
}

// The platform's file dialog for a file dialog's model.
bool RunFileDialog(QWidget* parent, app::TFileDialog& model) {
  QFileDialog dialog(parent, QString::fromStdString(model.Caption),
                     QString::fromStdString(model.Folder()));
  dialog.setObjectName(QString::fromUtf8(model.Name().data(), int(model.Name().size())));
  dialog.setAcceptMode(model.Saving() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(model.Saving() ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters = QtFilters(model.Filter);
  // The proposed pattern ("*.CCT" in the Michelson mode) is offered first
  // when no filter shows such files.
  const QString proposed = QString::fromStdString(model.FileName);
  if (proposed.startsWith("*.") && !filters.join(' ').contains(proposed, Qt::CaseInsensitive))
    filters.prepend("Rovanel (" + proposed.toUpper() + " " + proposed.toLower() + ")");
  dialog.setNameFilters(filters);
  if (!model.DefaultExt.empty()) dialog.setDefaultSuffix(QString::fromStdString(model.DefaultExt));
  // A pattern such as "*.CCD" is what the filter shows, not a name.
  if (model.FileName.find('*') == std::string::npos)
    dialog.selectFile(QString::fromStdString(model.FileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    model.Reject();
    return false;
  }
  model.FileName = dialog.selectedFiles().front().toStdString();
  model.Accept();
  return true;
}

}  // namespace

bool RunDialogView(QWidget* parent, app::DialogModel& model) {
  if (auto* file = dynamic_cast<app::TFileDialog*>(&model)) return RunFileDialog(parent, *file);
  std::unique_ptr<DialogView> view = MakeDialogView(parent, model);
  if (!view) {
    model.Reject();
    return false;
  }
  // A text whose key the dictionary lacks shows in red.
  for (const auto& [name, control] : model.Texts())
    if (control->marked)
      if (auto* widget = view->findChild<QWidget*>(QString::fromUtf8(name.data(), int(name.size()))))
        widget->setStyleSheet(QStringLiteral("color: red"));
  view->exec();
  return model.accepted;
}

}  // namespace rovanel::gui
