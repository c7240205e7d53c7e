#include "gui/gauge_window.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "app/progress_gauge.h"
#include "display/gauge_picture.h"

namespace rovanel::gui {

namespace {
QRect ToQRect(const app::TPBar::Rect& r) {
  return QRect(r.left, r.top, r.width, r.height);
}
}  // namespace

GaugeWindow::GaugeWindow(const app::TPBar& model, std::function<void()> cancel, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      model_(model),
      onCancel_(std::move(cancel)) {
  setObjectName("gjauge");
  setWindowTitle(QString());
  setFixedSize(model.WinWidth, model.WinHeight);
  setModal(false);

  ligne1_ = new QLabel(this);
  ligne1_->setObjectName("Ligne1");
  ligne1_->setFont(QFont("Arial", 10));
  ligne1_->setGeometry(ToQRect(model.Ligne1Rect()));
  ligne2_ = new QLabel(this);
  ligne2_->setObjectName("Ligne2");
  ligne2_->setFont(QFont("Arial", 8));
  ligne2_->setGeometry(ToQRect(model.Ligne2Rect()));

  bevel_ = new QFrame(this);
  bevel_->setGeometry(ToQRect(model.Bevel()));
  bevel_->setLineWidth(1);
  bar_ = new QLabel(bevel_);
  bar_->setGeometry(1, 1, model.BarWidth(), model.BarHeight());

  cancel_ = new QPushButton(QStringLiteral("Annuler"), this);
  cancel_->setObjectName("Annuler");
  cancel_->setFont(QFont("Arial", 8));
  cancel_->setGeometry(ToQRect(model.CancelRect()));
  cancel_->hide();
  connect(cancel_, &QPushButton::clicked, this, [this] { onCancel_(); });
}

void GaugeWindow::SetCancelText(const QString& text) {
  cancel_->setText(text);
}

void GaugeWindow::Render() {
  if (!model_.Visible()) {
    hide();
    return;
  }
  ligne1_->setText(QString::fromStdString(model_.Ligne1()));
  ligne2_->setText(QString::fromStdString(model_.Ligne2()));
  cancel_->setVisible(model_.CancelVisible);
  if (model_.ProgDisp) {
    bevel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar_->setPixmap(QPixmap::fromImage(
        display::RenderGaugeBar(model_.BarWidth(), model_.BarHeight(), model_.Percent())));
    bar_->show();
  } else {
    bevel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar_->hide();
  }
  if (!isVisible()) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      move(screen->geometry().center() - rect().center());
    show();
    raise();
    activateWindow();
  }
  repaint();
}

}  // namespace rovanel::gui
