// The main window's answers to the model's requests that open a window of
// their own: message boxes, modal dialogs and the small note window; Qt's
// own dialogs in the window's language.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QLibraryInfo>
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
  GrabNextModal("message", 300);
  if (kind == app::MessageKind::Error)
    QMessageBox::critical(this, Q(app::kApplicationTitle), Q(text));
  else
    QMessageBox::information(this, Q(app::kApplicationTitle), Q(text));
}

bool MainView::Confirm(const std::string& text) {
  GrabNextModal("confirm", 300);
  return QMessageBox::question(this, Q(app::kApplicationTitle), Q(text)) == QMessageBox::Yes;
}

void MainView::FollowLanguage() {
  if (qtLanguage_ == fp_.Lang()) return;
  qtLanguage_ = fp_.Lang();
  QCoreApplication::removeTranslator(&qtTranslator_);
  // English needs none; a missing file leaves Qt's texts in English.
  const char* code = qtLanguage_ == 1 ? "fr" : qtLanguage_ == 3 ? "de" : nullptr;
  if (code != nullptr &&
      qtTranslator_.load(QStringLiteral("qtbase_") + QString::fromLatin1(code),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTranslator_);
}

void MainView::GrabNextModal(const QString& name, int delayMs) {
  // For looking at the dialogs without a person at the screen: with
  // ROVANEL_DIALOG_SHOTS=DIR the modal window about to show is grabbed into
  // DIR/NAME.png once shown, then closed (cancelled).
  const char* dir = std::getenv("ROVANEL_DIALOG_SHOTS");
  if (dir == nullptr || *dir == '\0') return;
  const QString file = QString::fromUtf8(dir) + "/" + name + ".png";
  QTimer::singleShot(delayMs, this, [file] {
    if (QWidget* shown = QApplication::activeModalWidget()) {
      shown->grab().save(file);
      shown->close();
    }
  });
}

bool MainView::RunModal(app::DialogModel& dialog) {
  GrabNextModal(Q(dialog.Name()), 300);
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
  // Over the window, or the screen's middle while the window is not shown.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QPoint centre = isVisible() || screen == nullptr ? geometry().center()
                                                         : screen->geometry().center();
  note_->move(centre - note_->rect().center());
  note_->show();
  QApplication::processEvents();
}

}  // namespace rovanel::gui
