#include "gui/setup_pictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace rovanel::gui {

namespace {

const QColor kInk(Qt::black);
const QColor kLight(210, 30, 30);  // the laser's light

QColor Faint(int alpha) {
  QColor c = kLight;
  c.setAlpha(alpha);
  return c;
}

// Where things go, as fractions of the area.
struct Frame {
  QRectF r;
  double X(double f) const { return r.left() + f * r.width(); }
  double Y(double f) const { return r.top() + f * r.height(); }
  double H(double f) const { return f * r.height(); }
};

constexpr double kAxis = 0.44;                 // optical axis (fraction of height)
constexpr double kTop = 0.06, kBottom = 0.82;  // aperture and screen ends
constexpr double kAperture = 0.40, kScreen = 0.76;

// A symbol in italics centred on `at`, shifted so that it sits on the side
// `align` names (left of, right of, above, below the point).
void Symbol(QPainter& p, QPointF at, const QString& text, Qt::Alignment align) {
  const QRectF box = QRectF(p.fontMetrics().boundingRect(text)).adjusted(-1, 0, 1, 0);
  QPointF centre = at;
  if (align & Qt::AlignLeft) centre.rx() -= box.width() / 2 + 1;
  if (align & Qt::AlignRight) centre.rx() += box.width() / 2 + 1;
  if (align & Qt::AlignTop) centre.ry() -= box.height() / 2;
  if (align & Qt::AlignBottom) centre.ry() += box.height() / 2;
  QRectF place(0, 0, box.width(), box.height());
  place.moveCenter(centre);
  p.setPen(kInk);
  p.drawText(place, Qt::AlignCenter, text);
}

// A bracket from y1 to y2 whose arms reach back to x0 and whose back is at
// x (left of x0 or right of it), labelled on its outer side.
void Bracket(QPainter& p, double x0, double x, double y1, double y2, const QString& label) {
  p.setPen(QPen(kInk, 1));
  p.drawPolyline(QPolygonF({{x0, y1}, {x, y1}, {x, y2}, {x0, y2}}));
  Symbol(p, {x, (y1 + y2) / 2}, label, x < x0 ? Qt::AlignLeft : Qt::AlignRight);
}

void Arrowhead(QPainter& p, QPointF tip, QPointF from, double size) {
  const QPointF d = tip - from;
  const double len = std::hypot(d.x(), d.y());
  if (len == 0) return;
  const QPointF u = d / len, n(-u.y(), u.x());
  const QPointF base = tip - u * size;
  p.drawPolygon(QPolygonF({tip, base + n * (size / 2.5), base - n * (size / 2.5)}));
}

// The laser on the left, its parallel beam of half-height `half` up to x,
// and λ above the beam.
void Laser(QPainter& p, const Frame& f, double x, double half) {
  const double cy = f.Y(kAxis);
  // The body is as tall as the beam it sends.
  const double bodyHalf = std::max(f.H(0.09), half);
  const QRectF body(f.X(0.02), cy - bodyHalf, f.X(0.12) - f.X(0.02), 2 * bodyHalf);
  p.fillRect(QRectF(body.right(), cy - half, x - body.right(), 2 * half), Faint(45));
  p.setPen(QPen(kLight, 1.5));
  p.setBrush(kLight);
  p.drawLine(QPointF(body.right(), cy), QPointF(x - 1, cy));
  Arrowhead(p, {(body.right() + x) / 2 + 4, cy}, {body.right(), cy}, 6);
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(90, 90, 90));
  p.drawRoundedRect(body, 2, 2);
  Symbol(p, {(body.right() + x) / 2, cy - half - 1}, QString(QChar(0x03BB)), Qt::AlignTop);
}

// An opaque screen across the axis with openings (top, bottom) in pixels.
void Aperture(QPainter& p, const Frame& f, const std::vector<std::pair<double, double>>& gaps) {
  const double x = f.X(kAperture);
  double from = f.Y(kTop);
  p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::FlatCap));
  for (const auto& [top, bottom] : gaps) {
    p.drawLine(QPointF(x, from), QPointF(x, top));
    from = bottom;
  }
  p.drawLine(QPointF(x, from), QPointF(x, f.Y(kBottom)));
}

// The screen with the intensity `shape(u)` (u from -1 at the top to 1 at the
// bottom, values 0..1) drawn out of its right side.
void Screen(QPainter& p, const Frame& f, const std::function<double(double)>& shape) {
  const double x = f.X(kScreen), top = f.Y(kTop), bottom = f.Y(kBottom);
  const double reach = f.X(0.97) - x - 2, cy = f.Y(kAxis);
  const double half = std::max(cy - top, bottom - cy);
  QPolygonF curve;
  curve << QPointF(x + 1, top);
  for (double y = top; y <= bottom; y += 0.5)
    curve << QPointF(x + 2 + reach * shape((y - cy) / half), y);
  curve << QPointF(x + 1, bottom);
  p.setPen(Qt::NoPen);
  p.setBrush(Faint(60));
  p.drawPolygon(curve);
  p.setPen(QPen(kLight, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(curve.mid(1, curve.size() - 2));
  p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(x, top), QPointF(x, bottom));
}

// Light spreading from the openings (top to bottom at the aperture) over
// the screen.
void Spread(QPainter& p, const Frame& f, double top, double bottom) {
  const double xa = f.X(kAperture) + 1.5, xs = f.X(kScreen);
  p.setPen(Qt::NoPen);
  p.setBrush(Faint(30));
  p.drawPolygon(QPolygonF({{xa, top}, {xs, f.Y(kTop)}, {xs, f.Y(kBottom)}, {xa, bottom}}));
}

// L: the aperture-to-screen distance, along the bottom.
void Distance(QPainter& p, const Frame& f) {
  const double y = f.Y(0.93), x1 = f.X(kAperture), x2 = f.X(kScreen);
  p.setPen(QPen(kInk, 1));
  p.setBrush(kInk);
  p.drawLine(QPointF(x1, f.Y(kBottom) + 2), QPointF(x1, y + 3));
  p.drawLine(QPointF(x2, f.Y(kBottom) + 2), QPointF(x2, y + 3));
  p.drawLine(QPointF(x1, y), QPointF(x2, y));
  Arrowhead(p, {x1, y}, {x2, y}, 5);
  Arrowhead(p, {x2, y}, {x1, y}, 5);
  const QString l = QStringLiteral("L");
  const double w = p.fontMetrics().horizontalAdvance(l) + 6;
  p.fillRect(QRectF((x1 + x2 - w) / 2, y - 2, w, 4), Qt::white);
  Symbol(p, {(x1 + x2) / 2, y}, l, {});
}

double Sinc2(double x) {
  return x == 0 ? 1 : std::pow(std::sin(x) / x, 2);
}

// Side lobes of the diffraction envelope are a few per cent of the centre:
// a sketch lifts them (the fringes and orders under it keep their shape).
double Sketch(double intensity) {
  return std::sqrt(intensity);
}

// Slits of width a (pixels) at spacing d, centred on the axis.
void Slits(QPainter& p, const Frame& f, int n, double a, double d) {
  const double pi = std::numbers::pi, cy = f.Y(kAxis), x = f.X(kAperture);
  std::vector<std::pair<double, double>> gaps;
  for (int k = 0; k < n; ++k) {
    const double c = cy + (k - (n - 1) / 2.0) * d;
    gaps.push_back({c - a / 2, c + a / 2});
  }
  Laser(p, f, x, std::max(f.H(0.1), (gaps.back().second - gaps.front().first) / 2 + f.H(0.04)));
  Spread(p, f, gaps.front().first, gaps.back().second);
  Aperture(p, f, gaps);
  const double arm = f.H(0.06);
  Bracket(p, x - 2, x - arm, gaps.front().first, gaps.front().second, QStringLiteral("a"));
  if (n == 2) {
    const double c1 = (gaps[0].first + gaps[0].second) / 2,
                 c2 = (gaps[1].first + gaps[1].second) / 2;
    Bracket(p, x + 2, x + arm, c1, c2, QStringLiteral("d"));
  }
  if (n > 2) {
    const auto& [a1, b1] = gaps[gaps.size() - 2];
    const auto& [a2, b2] = gaps.back();
    Bracket(p, x - 2, x - arm, (a1 + b1) / 2, (a2 + b2) / 2, QStringLiteral("d"));
    Bracket(p, x + 2, x + arm, gaps.front().first, gaps.back().second, QStringLiteral("N"));
  }
  Distance(p, f);
  // Diffraction envelope, interference fringes, grating orders.
  Screen(p, f, [&](double u) {
    if (n == 1) return Sketch(Sinc2(3 * pi * u));
    const double envelope = Sketch(Sinc2(1.8 * pi * u));
    if (n == 2) return envelope * std::pow(std::cos(6 * pi * u), 2);
    const double phase = 3 * pi * u, s = std::sin(phase);
    const double orders = std::abs(s) < 1e-9 ? 1 : std::pow(std::sin(n * phase) / (n * s), 2);
    return envelope * orders;
  });
}

// A lens focusing the laser's beam to its waist w, the beam spreading again
// to the screen, where its profile is Gaussian.
void GaussianBeam(QPainter& p, const Frame& f) {
  const double cy = f.Y(kAxis), lensX = f.X(0.24), waistX = f.X(0.5), xs = f.X(kScreen);
  const double inLens = f.H(0.12), waist = f.H(0.045);
  const double range = (waistX - lensX) / std::sqrt(std::pow(inLens / waist, 2) - 1);
  const auto radius = [&](double x) { return waist * std::hypot(1.0, (x - waistX) / range); };
  Laser(p, f, lensX, inLens);
  QPolygonF upper, lower;
  for (double x = lensX; x <= xs; x += 1) {
    upper << QPointF(x, cy - radius(x));
    lower.prepend(QPointF(x, cy + radius(x)));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(Faint(45));
  p.drawPolygon(upper + lower);
  p.setPen(QPen(kLight, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(upper);
  p.drawPolyline(lower);
  p.setPen(QPen(kInk, 1, Qt::DashLine));
  p.drawLine(QPointF(lensX, cy), QPointF(xs, cy));
  // The lens: a thin lens outline across the beam.
  p.setPen(QPen(kInk, 1.2));
  QPainterPath lens;
  const double h = inLens + f.H(0.06), bulge = f.H(0.05);
  lens.moveTo(lensX, cy - h);
  lens.quadTo(lensX + bulge, cy, lensX, cy + h);
  lens.quadTo(lensX - bulge, cy, lensX, cy - h);
  p.drawPath(lens);
  // w: from the axis to the edge at the waist, arrows from outside.
  const double top = cy - waist, reach = f.H(0.14);
  p.setPen(QPen(kInk, 1));
  p.setBrush(kInk);
  p.drawLine(QPointF(waistX, top - reach), QPointF(waistX, top));
  p.drawLine(QPointF(waistX, cy + reach), QPointF(waistX, cy));
  Arrowhead(p, {waistX, top}, {waistX, top - 1}, 5);
  Arrowhead(p, {waistX, cy}, {waistX, cy + 1}, 5);
  Symbol(p, {waistX, top - reach}, QStringLiteral("w"), Qt::AlignTop);
  const double spot = radius(xs), half = std::max(cy - f.Y(kTop), f.Y(kBottom) - cy);
  Screen(p, f, [&](double u) { return std::exp(-2 * std::pow(u * half / spot, 2)); });
}

}  // namespace

void DrawSetup(QPainter& p, const QRect& area, int page) {
  if (page < 0 || page > 3 || area.isEmpty()) return;
  p.save();
  p.setClipRect(area);
  p.setRenderHint(QPainter::Antialiasing);
  QFont font(QStringLiteral("Serif"));
  font.setStyleHint(QFont::Serif);
  font.setItalic(true);
  font.setPixelSize(std::clamp(area.height() / 9, 9, 22));
  p.setFont(font);
  const Frame f{QRectF(area)};
  const double h = area.height();
  switch (page) {
    case 0:
      Slits(p, f, 1, 0.09 * h, 0);
      break;
    case 1:
      Slits(p, f, 2, 0.06 * h, 0.24 * h);
      break;
    case 2:
      Slits(p, f, 5, 0.04 * h, 0.115 * h);
      break;
    default:
      GaussianBeam(p, f);
  }
  p.restore();
}

}  // namespace rovanel::gui
