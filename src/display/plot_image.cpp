#include "display/plot_image.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <filesystem>

#include "display/page_qt.h"

namespace rovanel::display {
namespace {
constexpr double kScreenDpi = 96;

void Draw(QPainter& painter, int width, int height, const PrintPage& page, const PageStyle& style,
          const PlotOptions& options) {
  painter.fillRect(0, 0, width, height, Qt::white);
  QtPagePainter p(painter, kScreenDpi);
  DrawPlot(p, page, style, ScreenFrame(width, height, kScreenDpi), options);
}
}  // namespace

bool WritePlotImage(const std::string& path, PlotImageKind kind, int width, int height,
                    const PrintPage& page, const PageStyle& style, const PlotOptions& options,
                    std::string& error) {
  const QString file = QString::fromStdString(path);
  if (kind == PlotImageKind::Png) {
    QImage image(width, height, QImage::Format_RGB32);
    {
      QPainter painter(&image);
      Draw(painter, width, height, page, style, options);
    }
    if (image.save(file, "PNG")) return true;
    error = "the PNG cannot be written";
    return false;
  }
  QSvgGenerator svg;
  svg.setFileName(file);
  svg.setSize(QSize(width, height));
  svg.setViewBox(QRect(0, 0, width, height));
  svg.setResolution(static_cast<int>(kScreenDpi));
  QPainter painter;
  // begin() fails when the file cannot be opened.
  if (!painter.begin(&svg)) {
    error = "the SVG cannot be written";
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return false;
  }
  Draw(painter, width, height, page, style, options);
  painter.end();
  return true;
}

}  // namespace rovanel::display
