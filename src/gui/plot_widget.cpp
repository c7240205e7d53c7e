#include "gui/plot_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "base/vector_state.h"
#include "display/image_io.h"
#include "display/page_qt.h"
#include "display/plot_drawing.h"
#include "display/pooled_paint.h"

namespace rovanel::gui {

namespace {
// Points become pixels at the logical 96 dpi; Qt maps them to the screen's
// device pixels, so the plot stays sharp when scaled.
constexpr double kLogicalDpi = 96;
// One notch of a mouse wheel, in eighths of a degree.
constexpr int kNotch = 120;
}  // namespace

PlotWidget::PlotWidget(app::TFp& fp, QWidget* parent) : QWidget(parent), fp_(fp) {
  setObjectName("ecran");
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAttribute(Qt::WA_OpaquePaintEvent);
  pending_.setSingleShot(true);
  // Painted in the timer's own turn: an update() from there would wait
  // for the next turn of the loop, a frame later in the live view.
  connect(&pending_, &QTimer::timeout, this, [this] { repaint(); });
}

void PlotWidget::SetScale(int scale) {
  scale_ = std::clamp(scale, 0, 3);
  updateGeometry();
  update();
}

int PlotWidget::DevicePixels() const {
  return std::max(1, scale_) * std::max(1, static_cast<int>(devicePixelRatioF()));
}

display::PageFrame PlotWidget::Frame() const {
  if (scale_ == 0) return display::ScreenFrame(width(), height(), kLogicalDpi);
  const double k = DevicePixels() / devicePixelRatioF();
  return {0, 0, app::kScreenWidth * k, app::kScreenHeight * k};
}

display::PlotPixel PlotWidget::ToPlot(QPointF at) const {
  if (scale_ == 0) return display::DeviceToPlot(Frame(), at.x(), at.y());
  return display::ScaledPixelToPlot(Frame(), DevicePixels() / devicePixelRatioF(), at.x(), at.y());
}

QSize PlotWidget::sizeHint() const {
  if (scale_ == 0) return {900, 480};
  const display::PageFrame f = Frame();
  return {static_cast<int>(std::ceil(f.width)), static_cast<int>(std::ceil(f.height))};
}

QSize PlotWidget::minimumSizeHint() const {
  return scale_ == 0 ? QSize(320, 200) : sizeHint();
}

void PlotWidget::Refresh() {
  if (pending_.isActive()) return;
  const QScreen* shown = screen();
  const double hz = shown != nullptr && shown->refreshRate() > 0 ? shown->refreshRate() : 60.0;
  const auto periodMs = static_cast<qint64>(1000.0 / std::clamp(hz, 30.0, 240.0));
  const qint64 since = sincePaint_.isValid() ? sincePaint_.elapsed() : periodMs;
  if (since >= periodMs) {
    update();
  } else {
    pending_.start(static_cast<int>(periodMs - since));
  }
}

void PlotWidget::paintEvent(QPaintEvent*) {
  sincePaint_.start();
  if (scale_ == 0) {
    PaintFitted();
    return;
  }
  QPainter painter(this);
  painter.fillRect(rect(), palette().window().color());
  QImage image = display::ToQImage(fp_.Picture());
  // The peak marker lies over the plot, as a shape over an image would.
  const app::Shape& circle = fp_.Plot().PeakCircle();
  if (circle.visible) {
    QPainter marker(&image);
    marker.setPen(QPen(Qt::red, 1));
    marker.drawEllipse(circle.left, circle.top, circle.width - 1, circle.height - 1);
  }
  // Pixel-exact: each plot pixel becomes a whole number of device pixels.
  const int k = DevicePixels();
  if (k > 1) image = image.scaled(image.size() * k, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  image.setDevicePixelRatio(devicePixelRatioF());
  painter.drawImage(QPointF(0, 0), image);
}

void PlotWidget::PaintFitted() {
  const display::PageFrame frame = Frame();
  const app::TFp::ScreenPlot plot = fp_.MakeScreenPlot(frame, kLogicalDpi);
  // White under everything but the band, which covers its area whole; its
  // edges, smoothed or rounded to device pixels, are filled all the same.
  QRegion white(rect());
  if (const auto band = display::BandArea(frame, plot.options)) {
    const QRectF inside = QRectF(band->x, band->y, band->w, band->h).adjusted(1, 1, -1, -1);
    if (inside.isValid())
      white -= QRect(QPoint(static_cast<int>(std::ceil(inside.left())),
                            static_cast<int>(std::ceil(inside.top()))),
                     QPoint(static_cast<int>(std::floor(inside.right())) - 1,
                            static_cast<int>(std::floor(inside.bottom())) - 1));
  }
  const auto draw = [&](QPainter& onImage) {
    for (const QRect& part : white) onImage.fillRect(part, Qt::white);
    rovanel::ClearUpperVectorHalves();
    display::QtPagePainter page(onImage, kLogicalDpi);
    display::DrawPlot(page, plot.page, plot.style, frame, plot.options);
  };
  // Painted straight into the window's backing store when it is an image:
  // its painter keeps the region being repainted as its clip, and the
  // widget's place is where the redirection puts it.
  QPoint offset;
  QPaintDevice* store = redirected(&offset);
  if (store != nullptr && store->devType() == QInternal::Image) {
    canvas_ = QImage();
    display::PaintInPool(*static_cast<QImage*>(store), [&](QPainter& onStore) {
      onStore.translate(-offset);
      draw(onStore);
    });
    return;
  }
  // Otherwise (a grab, a render onto another device) drawn into an image
  // of the widget's device pixels, then copied whole.
  const double ratio = devicePixelRatioF();
  const QSize pixels(static_cast<int>(std::ceil(width() * ratio)),
                     static_cast<int>(std::ceil(height() * ratio)));
  if (canvas_.size() != pixels) canvas_ = QImage(pixels, QImage::Format_RGB32);
  canvas_.setDevicePixelRatio(ratio);
  display::PaintInPool(canvas_, draw);
  QPainter(this).drawImage(QPointF(0, 0), canvas_);
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // dump:axes gives the ticks at the size the plot is drawn at.
  if (scale_ == 0) fp_.SetPlotSize(width(), height(), kLogicalDpi);
}

void PlotWidget::mousePressEvent(QMouseEvent* event) {
  const display::PlotPixel p = ToPlot(event->position());
  fp_.ecranMouseDown(event->button() == Qt::RightButton ? app::TFp::MouseButton::Right
                                                        : app::TFp::MouseButton::Left,
                     p.column, p.row);
  FollowPointer();
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
  const display::PlotPixel p = ToPlot(event->position());
  fp_.ecranMouseMove(p.column, p.row);
  FollowPointer();
}

void PlotWidget::mouseReleaseEvent(QMouseEvent*) {
  fp_.ecranMouseUp();
  FollowPointer();
}

void PlotWidget::wheelEvent(QWheelEvent* event) {
  // Touchpads send parts of a notch: they add up to whole steps.
  wheelRest_ += event->angleDelta().y();
  const int notches = wheelRest_ / kNotch;
  wheelRest_ -= notches * kNotch;
  if (notches != 0) fp_.ecranWheel(ToPlot(event->position()).column, notches);
  event->accept();
}

void PlotWidget::keyPressEvent(QKeyEvent* event) {
  const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
  bool moved = false;
  switch (event->key()) {
    case Qt::Key_Left:
      moved = fp_.ecranArrow(-step, true);
      break;
    case Qt::Key_Right:
      moved = fp_.ecranArrow(step, true);
      break;
    case Qt::Key_Up:
      moved = fp_.ecranArrow(-step, false);
      break;
    case Qt::Key_Down:
      moved = fp_.ecranArrow(step, false);
      break;
    default:
      break;
  }
  if (!moved) QWidget::keyPressEvent(event);
}

void PlotWidget::FollowPointer() {
  switch (fp_.EcranPointer()) {
    case app::TFp::Pointer::SizeWE:
      setCursor(Qt::SizeHorCursor);
      break;
    case app::TFp::Pointer::SizeNS:
      setCursor(Qt::SizeVerCursor);
      break;
    case app::TFp::Pointer::Default:
      unsetCursor();
      break;
  }
}

}  // namespace rovanel::gui
