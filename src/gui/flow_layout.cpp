#include "gui/flow_layout.h"

#include <QWidget>
#include <algorithm>

namespace rovanel::gui {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent), spacing_(spacing) {
  setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
  items_.append(item);
}

QLayoutItem* FlowLayout::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

QSize FlowLayout::minimumSize() const {
  // The widest item: narrower, it could not be shown whole.
  QSize size;
  for (const QLayoutItem* item : items_)
    if (!item->isEmpty()) size = size.expandedTo(item->minimumSize());
  const QMargins m = contentsMargins();
  return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const {
  // Everything on one line.
  int width = 0, height = 0;
  for (const QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    width += (width > 0 ? spacing_ : 0) + item->sizeHint().width();
    height = std::max(height, item->sizeHint().height());
  }
  const QMargins m = contentsMargins();
  return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  Arrange(rect, true);
}

int FlowLayout::Arrange(const QRect& rect, bool place) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  int x = area.x(), y = area.y(), lineHeight = 0;
  for (QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;  // hidden widgets take no room
    const QSize size = item->sizeHint();
    if (x > area.x() && x + size.width() > area.right() + 1) {
      x = area.x();
      y += lineHeight + spacing_;
      lineHeight = 0;
    }
    if (place) item->setGeometry(QRect(QPoint(x, y), size));
    x += size.width() + spacing_;
    lineHeight = std::max(lineHeight, size.height());
  }
  const QMargins m = contentsMargins();
  return y + lineHeight - rect.y() + m.bottom();
}

}  // namespace rovanel::gui
