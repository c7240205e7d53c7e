// The main window's answers to the model's requests that open a window of
// their own: message boxes, modal dialogs and the small note window.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>

#include "gui/dialog_views.h"
#include "gui/main_view.h"

namespace rovanel::gui {

namespace {

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

}  // namespace

void MainView::MessageBox(const std::string& text, app::MessageKind kind) {
  // With ROVANEL_DIALOG_SHOTS=DIR the box is grabbed into DIR/message.png,
  // then closed, as the dialogs are.
  if (const char* dir = std::getenv("ROVANEL_DIALOG_SHOTS"); dir != nullptr && *dir != '\0') {
    const QString file = QString::fromUtf8(dir) + "/message.png";
    QTimer::singleShot(300, this, [file] {
      if (QWidget* shown = QApplication::activeModalWidget()) {
        shown->grab().save(file);
        shown->close();
      }
    });
  }
  if (kind == app::MessageKind::Error)
    QMessageBox::critical(this, Q(app::kApplicationTitle), Q(text));
  else
    QMessageBox::information(this, Q(app::kApplicationTitle), Q(text));
}

bool MainView::RunModal(app::DialogModel& dialog) {
  // For looking at the dialogs without a person at the screen: with
  // ROVANEL_DIALOG_SHOTS=DIR each dialog is grabbed into DIR/NAME.png once
  // shown, then cancelled.
  if (const char* dir = std::getenv("ROVANEL_DIALOG_SHOTS"); dir != nullptr && *dir != '\0') {
    const QString file = QString::fromUtf8(dir) + "/" + Q(dialog.Name()) + ".png";
    QTimer::singleShot(300, this, [file] {
      if (QWidget* shown = QApplication::activeModalWidget()) {
        shown->grab().save(file);
        shown->close();
      }
    });
  }
  const bool ok = RunDialogView(this, dialog);
  Sync();
  return ok;
}

void MainView::Note(const std::string& text) {
  if (text.empty()) {
    if (note_ != nullptr) note_->hide();
    return;
  }
  if (note_ == nullptr) {
    note_ = new QLabel(this, Qt::Tool | Qt::WindowStaysOnTopHint);
    note_->setObjectName("note");
    note_->setMargin(16);
    note_->setWindowTitle(Q(app::kApplicationTitle));
  }
  note_->setText(Q(text));
  note_->adjustSize();
  note_->move(geometry().center() - note_->rect().center());
  note_->show();
  QApplication::processEvents();
}

}  // namespace rovanel::gui
