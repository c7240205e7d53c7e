// The page drawn with a QPainter: the printer, the preview, PDF and PNG.
#pragma once

#include <QFont>
#include <QPainter>

#include "display/print_page.h"

namespace rovanel::display {

class QtPagePainter : public PagePainter {
 public:
  // `dpi`: the device's dots per inch, by which points become device units.
  // The painter stays the caller's; its pen, brush, font and render hints
  // are set here.
  QtPagePainter(QPainter& painter, double dpi);

  double Width() const override;
  double Height() const override;
  double Dpi() const override { return dpi_; }
  void SetPen(const PagePen& pen) override;
  void Line(PagePoint a, PagePoint b) override;
  void Polyline(std::span<const PagePoint> points) override;
  void Rect(double x, double y, double w, double h) override;
  void FillRect(double x, double y, double w, double h, Rgb colour) override;
  void FillRects(std::span<const PageRect> rects, Rgb colour) override;
  void Ellipse(PagePoint centre, double rx, double ry) override;
  void Text(PagePoint baseline, std::string_view text, const PageFont& font, Align align) override;
  double TextWidth(std::string_view text, const PageFont& font) override;
  void Picture(double x, double y, double w, double h, const Canvas& picture, int top,
               int rows) override;

 private:
  QFont MakeFont(const PageFont& font) const;
  // Painting on a QImage (the screen's plot, PNG files).
  bool OnImage() const;
  // The image when pixels may be written into it straight (unrotated,
  // painted plainly), otherwise null.
  QImage* StraightTarget() const;
  // The pen's ink over `outer` less `inner` (world rectangles) written
  // straight into the image; false, nothing done, when it cannot be.
  bool StrokedStraight(const QRectF& outer, const QRectF& inner);
  // Texts laid out once and kept (see LayOut).
  bool KeepsTexts() const;

  QPainter& painter_;
  double dpi_;
};

}  // namespace rovanel::display
