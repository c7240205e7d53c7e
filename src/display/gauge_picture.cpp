#include "display/gauge_picture.h"

#include <QPainter>
#include <QString>
#include <algorithm>

#include "display/canvas.h"

namespace rovanel::display {

int GaugeFillWidth(int width, int percent) {
  percent = std::clamp(percent, 0, 100);
  width = std::max(width, 0);
  const long long n = static_cast<long long>(percent) * width;
  long long q = n / 100;
  const long long r = n % 100;
  if (r > 50 || (r == 50 && (q & 1) != 0)) ++q;
  return static_cast<int>(q);
}

QFont DefaultGaugeFont() {
  QFont f(QStringLiteral("Arial"), 8);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

QImage RenderGaugeText(int width, int height, int percent, const QFont& font) {
  QImage img(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  img.fill(QColor(0, 0, 0));
  if (img.isNull()) return img;
  QFont f = font;
  f.setStyleStrategy(QFont::NoAntialias);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setFont(f);
  p.setPen(QColor(kYellow.r, kYellow.g, kYellow.b));
  const QString text = QString::asprintf("%2d%%", std::clamp(percent, 0, 100));
  p.drawText(QRect(0, 0, img.width(), img.height()), Qt::AlignCenter, text);
  return img;
}

QImage RenderGaugeBar(int width, int height, int percent, const QFont& font) {
  const QImage text = RenderGaugeText(width, height, percent, font);
  QImage bar(text.size(), QImage::Format_RGB32);
  if (bar.isNull()) return bar;
  const int fill = GaugeFillWidth(bar.width(), percent);
  const QRgb blue = kBlue.ToArgb();
  const QRgb navy = kNavy.ToArgb();
  for (int y = 0; y < bar.height(); ++y) {
    auto* dst = reinterpret_cast<QRgb*>(bar.scanLine(y));
    const auto* src = reinterpret_cast<const QRgb*>(text.constScanLine(y));
    for (int x = 0; x < bar.width(); ++x) {
      // Source invert: XOR of the colour channels, alpha stays opaque.
      dst[x] = ((x < fill ? blue : navy) ^ src[x]) | 0xFF000000u;
    }
  }
  return bar;
}

QImage RenderGaugeBar(int width, int height, int percent) {
  return RenderGaugeBar(width, height, percent, DefaultGaugeFont());
}

}  // namespace rovanel::display
