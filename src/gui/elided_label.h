// A label for a text that may be longer than its room (the curve folder):
// the middle gives way to "…", so the start and the file name stay in view,
// and the whole text is the tool tip. text() keeps the whole text.
#pragma once

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>

namespace rovanel::gui {

class ElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override {
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width());
    if (shown == text()) {
      setToolTip(QString());
      QLabel::paintEvent(event);
      return;
    }
    setToolTip(text());
    QPainter painter(this);
    painter.drawText(room, static_cast<int>(alignment()), shown);
  }
};

}  // namespace rovanel::gui
