// A layout that places its widgets left to right and wraps them onto the
// next line when the width runs out: the side panels' buttons stay whole
// whatever the window's width.
#pragma once

#include <QLayout>
#include <QList>

namespace rovanel::gui {

class FlowLayout : public QLayout {
 public:
  explicit FlowLayout(QWidget* parent = nullptr, int spacing = 3);
  ~FlowLayout() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return Arrange(QRect(0, 0, width, 0), false); }
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Lays the items out in rect (or only measures); returns the height used.
  int Arrange(const QRect& rect, bool place) const;

  QList<QLayoutItem*> items_;
  int spacing_;
};

}  // namespace rovanel::gui
