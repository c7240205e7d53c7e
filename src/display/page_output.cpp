#include "display/page_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
#include <cstdint>
#include <span>

#include "base/replace_file.h"
#include "display/page_qt.h"

namespace rovanel::display {
namespace {

constexpr int kPdfDpi = 1200;
// A4 at 600 dpi is already some 140 MB of pixels.
constexpr int kMaxPngDpi = 600;

QPageLayout Layout(const PageSetup& setup) {
  const QPageSize size(setup.paper == PaperSize::Letter ? QPageSize::Letter : QPageSize::A4);
  return QPageLayout(size, setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool WriteBytes(const std::string& path, const QByteArray& bytes, std::string& error) {
  const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size()));
  return WriteFileReplacing(path, data, error);
}

}  // namespace

bool WritePagePdf(const std::string& path, const PrintPage& page, const PageStyle& style,
                  const PageSetup& setup, std::string& error) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDpi);
    writer.setTitle(QString::fromStdString(page.title));
    writer.setCreator(QStringLiteral("Rovanel"));
    if (!writer.setPageLayout(Layout(setup))) {
      error = "cannot set the page layout";
      return false;
    }
    QPainter painter;
    if (!painter.begin(&writer)) {
      error = "cannot start the PDF";
      return false;
    }
    QtPagePainter pagePainter(painter, kPdfDpi);
    DrawPage(pagePainter, page, style);
    painter.end();
  }
  if (bytes.isEmpty()) {
    error = "the PDF came out empty";
    return false;
  }
  return WriteBytes(path, bytes, error);
}

bool WritePagePng(const std::string& path, const PrintPage& page, const PageStyle& style,
                  const PageSetup& setup, int dpi, std::string& error) {
  if (dpi < 1 || dpi > kMaxPngDpi) {
    error = "resolution out of range (1 to " + std::to_string(kMaxPngDpi) + " dpi)";
    return false;
  }
  PaperMm paper = PaperDimensions(setup.paper);
  if (setup.landscape) std::swap(paper.width, paper.height);
  const int width = static_cast<int>(std::lround(paper.width / 25.4 * dpi));
  const int height = static_cast<int>(std::lround(paper.height / 25.4 * dpi));
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) {
    error = "not enough memory for the image";
    return false;
  }
  image.fill(Qt::white);
  const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  {
    QPainter painter(&image);
    QtPagePainter pagePainter(painter, dpi);
    DrawPage(pagePainter, page, style);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    error = "cannot encode the PNG";
    return false;
  }
  buffer.close();
  return WriteBytes(path, bytes, error);
}

}  // namespace rovanel::display
