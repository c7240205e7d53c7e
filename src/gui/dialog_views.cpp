#include "gui/dialog_views.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/dialogs/affichage.h"
#include "app/dialogs/feature.h"
#include "app/dialogs/paraint.h"
#include "app/dialogs/sel_lge.h"
#include "gui/affichage_dialog.h"
#include "gui/feature_dialog.h"
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
  call();
  Sync();
  if (model_.closed) done(model_.accepted ? Accepted : Rejected);
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
  }
  QDialog::done(model_.accepted ? Accepted : Rejected);
}

std::unique_ptr<DialogView> MakeDialogView(QWidget* parent, app::DialogModel& model) {
  if (model.Name() == "Tfeature")
    if (auto* feature = dynamic_cast<app::Tfeature*>(&model))
      return std::make_unique<FeatureDialog>(*feature, parent);
  if (model.Name() == "Tparaint")
    if (auto* paraint = dynamic_cast<app::Tparaint*>(&model))
      return std::make_unique<ParaintDialog>(*paraint, parent);
  if (model.Name() == "TAffichage")
    if (auto* affichage = dynamic_cast<app::TAffichage*>(&model))
      return std::make_unique<AffichageDialog>(*affichage, parent);
  if (model.Name() == "TSelLge")
    if (auto* selLge = dynamic_cast<app::TSelLge*>(&model))
      return std::make_unique<SelLgeDialog>(*selLge, parent);
  return nullptr;
}

bool RunDialogView(QWidget* parent, app::DialogModel& model) {
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
