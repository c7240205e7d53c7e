// Canvas text: glyphs come from QPainter, rendered apart without
// antialiasing and copied in as a mask, so the canvas stays exact.
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>

#include "display/canvas.h"

namespace rovanel::display {

namespace {

bool HaveFonts() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QFont ToQFont(const Font& font) {
  QFont f(QString::fromStdString(font.family));
  // Points at 96 dpi whatever the screen, rounded half away from zero.
  const int points = std::max(font.pointSize, 1);
  f.setPixelSize(font.pixelSize > 0 ? font.pixelSize : (points * 96 + 36) / 72);
  f.setBold(font.bold);
  f.setStyleStrategy(QFont::NoAntialias);
  f.setKerning(false);
  return f;
}

}  // namespace

TextSize Canvas::TextExtent(const std::string& utf8, const Font& font) {
  if (!HaveFonts()) return {};
  const QFontMetrics m(ToQFont(font));
  return {m.horizontalAdvance(QString::fromStdString(utf8)), m.ascent() + m.descent()};
}

void Canvas::TextOut(int x, int y, const std::string& utf8, Rgb colour, const Font& font,
                     std::optional<Rgb> background) {
  if (!HaveFonts()) return;
  const QFont qfont = ToQFont(font);
  const QString text = QString::fromStdString(utf8);
  const QFontMetrics m(qfont);
  const int cellWidth = m.horizontalAdvance(text);
  const int cellHeight = m.ascent() + m.descent();

  if (background) {
    const Rgb keep = brushColour;
    brushColour = *background;
    FillRect(x, y, x + cellWidth, y + cellHeight);
    brushColour = keep;
  }
  if (text.isEmpty()) return;

  // Glyphs may reach past their cell (overhangs): render with a margin.
  const int pad = cellHeight;
  QImage mask(cellWidth + 2 * pad, cellHeight + 2 * pad, QImage::Format_RGB32);
  if (mask.isNull()) return;
  mask.fill(Qt::black);
  {
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(qfont);
    p.setPen(Qt::white);
    p.drawText(QPoint(pad, pad + m.ascent()), text);
  }
  for (int row = 0; row < mask.height(); ++row) {
    const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(row));
    for (int col = 0; col < mask.width(); ++col) {
      if (qGreen(line[col]) >= 128) SetPixel(x - pad + col, y - pad + row, colour);
    }
  }
}

}  // namespace rovanel::display
