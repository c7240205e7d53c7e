// The plot in the window: the measurement drawn as vectors at the widget's
// size (numbered axes, bands, cursors, legend), or the model's 512 x 256
// picture `ecran` at a whole number of pixels per plot pixel. The mouse,
// the wheel and the arrow keys go to the model in its plot coordinates.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "app/main_window.h"

namespace rovanel::gui {

class PlotWidget : public QWidget {
 public:
  PlotWidget(app::TFp& fp, QWidget* parent);

  // 0: the plot fits the widget; 1, 2, 3: `ecran` with each plot pixel that
  // many pixels wide (whole device pixels on a dense screen).
  void SetScale(int scale);
  int Scale() const { return scale_; }
  // The model's picture changed. Repainted at most once a screen period:
  // the live view's 100 frames a second would draw 40 a second that a
  // 60 Hz screen never shows. A picture that comes too soon is drawn at
  // the end of the period, never dropped.
  void Refresh();
  // Where the plot is drawn in the widget (logical pixels).
  display::PageFrame Frame() const;
  // The plot pixel under a point of the widget.
  display::PlotPixel ToPlot(QPointF at) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Device pixels per plot pixel in the pixel modes.
  int DevicePixels() const;
  void FollowPointer();
  // The plot fitted to the widget, numbered axes and all.
  void PaintFitted();

  app::TFp& fp_;
  int scale_ = 0;
  int wheelRest_ = 0;  // eighths of a degree not yet a whole notch
  QElapsedTimer sincePaint_;
  QTimer pending_;  // a repaint held to the end of the screen period
  QImage canvas_;   // the fitted plot when not painted into the backing store
};

}  // namespace rovanel::gui
