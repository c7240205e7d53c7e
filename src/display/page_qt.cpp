#include "display/page_qt.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QStaticText>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "base/vector_state.h"
#include "display/pixel_strokes.h"
#include "display/smooth_scale.h"

namespace rovanel::display {
namespace {

QString FromUtf8(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// On and off lengths in points for pens up to 1 pt; thicker pens stretch
// them in proportion, so a dot stays longer than it is wide.
QList<qreal> DashPoints(LinePattern pattern) {
  switch (pattern) {
    case LinePattern::Dash:
      return {4.0, 2.5};
    case LinePattern::Dot:
      return {1.0, 1.5};
    case LinePattern::DashDot:
      return {4.0, 1.5, 1.0, 1.5};
    case LinePattern::Solid:
      break;
  }
  return {};
}

// Pixels written into the painter's image are what it would put there
// itself: onto 32-bit RGB, no clip of the caller's, plain painting, the
// image not shared (writing would copy it away from the painter).
bool WritesStraight(const QPainter& painter, const QImage& image) {
  return image.format() == QImage::Format_RGB32 && image.isDetached() && !painter.hasClipping() &&
         painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
         painter.opacity() == 1.0;
}

// The pixels of `touched` a painter may paint: those of its image within
// the system clip a window sets on the engine for the region repainted.
QRegion StraightParts(QPainter& painter, const QImage& image, const PixelRect& touched) {
  const QRect covered =
      QRect(touched.left, touched.top, touched.width, touched.height) & image.rect();
  const QRegion system = painter.paintEngine()->systemClip();
  return system.isEmpty() ? QRegion(covered) : system & covered;
}

}  // namespace

QtPagePainter::QtPagePainter(QPainter& painter, double dpi) : painter_(painter), dpi_(dpi) {
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBrush(Qt::NoBrush);
}

double QtPagePainter::Width() const {
  return painter_.device() != nullptr ? painter_.device()->width() : 0.0;
}

double QtPagePainter::Height() const {
  return painter_.device() != nullptr ? painter_.device()->height() : 0.0;
}

void QtPagePainter::SetPen(const PagePen& pen) {
  QPen q(QColor(pen.colour.r, pen.colour.g, pen.colour.b));
  const double widthPt = std::max(pen.widthPt, 0.01);
  q.setWidthF(widthPt * dpi_ / 72.0);
  q.setCosmetic(false);
  q.setCapStyle(Qt::FlatCap);
  // Round joins where a pen is wide enough to show them; thin screen pens
  // join bevelled, the same ink without the stroker's arcs at every vertex.
  q.setJoinStyle(q.widthF() >= 3 ? Qt::RoundJoin : Qt::BevelJoin);
  QList<qreal> dashes = DashPoints(pen.pattern);
  if (!dashes.isEmpty()) {
    // Qt counts dash lengths in pen widths.
    const double stretch = std::max(1.0, widthPt) / widthPt;
    for (qreal& d : dashes) d *= stretch;
    q.setDashPattern(dashes);
  }
  painter_.setPen(q);
}

void QtPagePainter::Line(PagePoint a, PagePoint b) {
  const double w = painter_.pen().widthF();
  const bool across = a.y == b.y && a.x != b.x, down = a.x == b.x && a.y != b.y;
  if (across || down) {
    const QRectF ink = across ? QRectF(std::min(a.x, b.x), a.y - w / 2, std::abs(b.x - a.x), w)
                              : QRectF(a.x - w / 2, std::min(a.y, b.y), w, std::abs(b.y - a.y));
    if (StrokedStraight(ink, {})) return;
  }
  painter_.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
}

void QtPagePainter::Polyline(std::span<const PagePoint> points) {
  std::vector<QPointF> q;
  q.reserve(points.size());
  for (const PagePoint& p : points) q.emplace_back(p.x, p.y);
  // In pieces that share their end points: one long stroked path has
  // thousands of edges on each scan line, and the rasteriser's time grows
  // far faster than the vertex count.
  constexpr std::size_t kPiece = 32;
  for (std::size_t first = 0; first + 1 < q.size(); first += kPiece) {
    const std::size_t n = std::min(kPiece + 1, q.size() - first);
    painter_.drawPolyline(q.data() + first, static_cast<int>(n));
  }
  if (q.size() == 1) painter_.drawPoint(q.front());
  ClearUpperVectorHalves();  // a thick pen's spans are Qt's solid fills
}

void QtPagePainter::Rect(double x, double y, double w, double h) {
  const double pen = painter_.pen().widthF();
  if (w > 0 && h > 0) {
    const QRectF outer(x - pen / 2, y - pen / 2, w + pen, h + pen);
    const QRectF inner =
        w > pen && h > pen ? QRectF(x + pen / 2, y + pen / 2, w - pen, h - pen) : QRectF();
    if (StrokedStraight(outer, inner)) return;
  }
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(QRectF(x, y, w, h));
}

void QtPagePainter::FillRect(double x, double y, double w, double h, Rgb colour) {
  const QColor c(colour.r, colour.g, colour.b);
  // A rectangle on whole device units fills as plain spans.
  const auto whole = [](double v) { return v == std::floor(v) && std::abs(v) < 1e9; };
  if (whole(x) && whole(y) && whole(w) && whole(h)) {
    painter_.fillRect(QRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                            static_cast<int>(h)),
                      c);
  } else {
    painter_.fillRect(QRectF(x, y, w, h), c);
  }
  ClearUpperVectorHalves();
}

void QtPagePainter::FillRects(std::span<const PageRect> rects, Rgb colour) {
  // One call for rectangles on whole device units: a fillRect each cost
  // some microseconds, 7 ms for the bars of a long series across the screen.
  const auto whole = [](double v) { return v == std::floor(v) && std::abs(v) < 1e9; };
  std::vector<QRect> spans;
  spans.reserve(rects.size());
  for (const PageRect& r : rects) {
    if (!(whole(r.x) && whole(r.y) && whole(r.w) && whole(r.h))) {
      PagePainter::FillRects(rects, colour);
      return;
    }
    if (r.w > 0 && r.h > 0)
      spans.emplace_back(static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.w),
                         static_cast<int>(r.h));
  }
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(QColor(colour.r, colour.g, colour.b));
  painter_.drawRects(spans.data(), static_cast<int>(spans.size()));
  painter_.restore();
  ClearUpperVectorHalves();
}

void QtPagePainter::Ellipse(PagePoint centre, double rx, double ry) {
  painter_.setBrush(Qt::NoBrush);
  painter_.drawEllipse(QPointF(centre.x, centre.y), rx, ry);
}

QFont QtPagePainter::MakeFont(const PageFont& font) const {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setStyleHint(QFont::SansSerif);  // the fallback when the family is missing
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.sizePt * dpi_ / 72.0))));
  f.setBold(font.bold);
  return f;
}

namespace {

// Texts laid out once and kept: a plot repainted for every live frame draws
// the same tick labels each time, and laying them out was the costliest
// part of its texts. Per thread (QStaticText is not shared between
// threads), for unscaled image devices only (a printer lays out for its own
// resolution); bounded.
struct LaidOut {
  QStaticText text;
  double advance = 0;
  double ascent = 0;
};

LaidOut& LayOut(const QString& s, const QFont& f) {
  thread_local std::unordered_map<QString, LaidOut> cache;
  constexpr std::size_t kMostTexts = 512;
  const QString key = s + QChar(0) + QString::number(f.pixelSize()) + (f.bold() ? u'b' : u'r');
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  if (cache.size() >= kMostTexts) cache.clear();
  LaidOut l;
  const QFontMetricsF metrics(f);
  l.advance = metrics.horizontalAdvance(s);
  l.ascent = metrics.ascent();
  l.text.setText(s);
  l.text.setTextFormat(Qt::PlainText);
  l.text.setPerformanceHint(QStaticText::AggressiveCaching);
  l.text.prepare(QTransform(), f);
  return cache.emplace(key, std::move(l)).first->second;
}

}  // namespace

QImage* QtPagePainter::StraightTarget() const {
  if (!OnImage() || painter_.deviceTransform().type() > QTransform::TxScale) return nullptr;
  auto* image = static_cast<QImage*>(painter_.device());
  return WritesStraight(painter_, *image) ? image : nullptr;
}

bool QtPagePainter::StrokedStraight(const QRectF& outer, const QRectF& inner) {
  const QPen& pen = painter_.pen();
  QImage* target = pen.style() == Qt::SolidLine && pen.brush().style() == Qt::SolidPattern &&
                           !pen.isCosmetic() && pen.widthF() > 0
                       ? StraightTarget()
                       : nullptr;
  if (target == nullptr) return false;
  const QTransform device = painter_.deviceTransform();
  const auto box = [&](const QRectF& r) {
    if (r.isEmpty()) return DeviceBox{};
    const QRectF d = device.mapRect(r);
    return DeviceBox{d.left(), d.top(), d.right(), d.bottom()};
  };
  const DeviceBox out = box(outer), hole = box(inner);
  const auto stride = static_cast<std::size_t>(target->bytesPerLine()) / sizeof(std::uint32_t);
  auto* bits = reinterpret_cast<std::uint32_t*>(target->bits());
  const std::uint32_t rgb = pen.color().rgb() & 0xffffffu;
  for (const QRect& part : StraightParts(painter_, *target, TouchedPixels(out)))
    BlendStroke({bits, stride, {part.x(), part.y(), part.width(), part.height()}}, out, hole, rgb);
  return true;
}

bool QtPagePainter::OnImage() const {
  return painter_.device() != nullptr && painter_.device()->devType() == QInternal::Image;
}

bool QtPagePainter::KeepsTexts() const {
  // Scaled (a dense screen's pixels), a kept layout places the glyphs a
  // fraction of a pixel away from where Qt's own text drawing puts them.
  return OnImage() && painter_.combinedTransform().type() <= QTransform::TxTranslate;
}

void QtPagePainter::Text(PagePoint baseline, std::string_view text, const PageFont& font,
                         Align align) {
  const QFont f = MakeFont(font);
  const QString s = FromUtf8(text);
  painter_.setFont(f);
  if (KeepsTexts()) {
    const LaidOut& l = LayOut(s, f);
    double x = baseline.x;
    if (align != Align::Left) x -= align == Align::Centre ? l.advance / 2 : l.advance;
    painter_.drawStaticText(QPointF(x, baseline.y - l.ascent), l.text);
    return;
  }
  double x = baseline.x;
  if (align != Align::Left) {
    const double w = QFontMetricsF(f, painter_.device()).horizontalAdvance(s);
    x -= align == Align::Centre ? w / 2 : w;
  }
  painter_.drawText(QPointF(x, baseline.y), s);
}

double QtPagePainter::TextWidth(std::string_view text, const PageFont& font) {
  const QFont f = MakeFont(font);
  const QString s = FromUtf8(text);
  if (KeepsTexts()) return LayOut(s, f).advance;
  return QFontMetricsF(f, painter_.device()).horizontalAdvance(s);
}

}  // namespace rovanel::display

namespace rovanel::display {

void QtPagePainter::Picture(double x, double y, double w, double h, const Canvas& picture, int top,
                            int rows) {
  if (rows <= 0 || w <= 0 || h <= 0) return;
  // Only the rows asked for: Qt's SVG generator ignores a source rectangle
  // and would embed the whole picture. Read in place on an image device;
  // copied for the others, which may keep the picture past this call (a
  // print preview records it).
  rows = std::min(rows, picture.Height() - top);
  if (top < 0 || rows <= 0) return;
  QImage image(reinterpret_cast<const uchar*>(picture.Bits() +
                                              static_cast<std::size_t>(top) * picture.Width()),
               picture.Width(), rows, picture.Width() * static_cast<qsizetype>(sizeof(std::uint32_t)),
               QImage::Format_RGB32);
  // Smoothed when enlarged: a band is made of broad areas of colour. On an
  // image, unrotated, scaled here a few distinct rows at a time (see
  // SmoothScale): straight into the image where the painter would copy
  // pixel for pixel, through a copy otherwise.
  const QTransform device = painter_.deviceTransform();
  if (OnImage() && device.type() <= QTransform::TxScale) {
    const QRectF to = device.mapRect(QRectF(x, y, w, h));
    const PixelRect out = CoveredPixels(to.x(), to.y(), to.width(), to.height());
    const PixelRows source{picture.Bits() + static_cast<std::size_t>(top) * picture.Width(),
                           picture.Width(), rows, static_cast<std::size_t>(picture.Width())};
    const auto scale = [&](const QRect& part, std::uint32_t* dest, std::size_t stride) {
      return SmoothScale(source, to.x(), to.y(), to.width(), to.height(),
                         {part.x(), part.y(), part.width(), part.height()}, dest, stride);
    };
    if (QImage* target = StraightTarget()) {
      const auto stride = static_cast<std::size_t>(target->bytesPerLine()) / sizeof(std::uint32_t);
      for (const QRect& part : StraightParts(painter_, *target, out))
        scale(part, reinterpret_cast<std::uint32_t*>(target->scanLine(part.y())) + part.x(),
              stride);
      return;
    }
    thread_local std::vector<std::uint32_t> pixels;
    pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    const QRect all(out.left, out.top, out.width, out.height);
    if (!scale(all, pixels.data(), static_cast<std::size_t>(out.width))) return;
    const QImage scaled(reinterpret_cast<const uchar*>(pixels.data()), out.width, out.height,
                        out.width * static_cast<qsizetype>(sizeof(std::uint32_t)),
                        QImage::Format_RGB32);
    // A world transform that puts the image's pixels on the device's.
    const QTransform rest = painter_.worldTransform().inverted() * device;
    painter_.save();
    painter_.setWorldTransform(QTransform::fromTranslate(out.left, out.top) * rest.inverted());
    painter_.drawImage(QPointF(0, 0), scaled);
    painter_.restore();
    return;
  }
  if (!OnImage()) image = image.copy();
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter_.drawImage(QRectF(x, y, w, h), image);
}

}  // namespace rovanel::display
