// The Qt page painter's batched bars ink exactly the pixels of one fill per
// bar, with and without antialiasing, on an image and at a device ratio.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "display/page_qt.h"
#include "gui/driving.h"

namespace rovanel::display {
namespace {

QImage Draw(const std::vector<PageRect>& bars, bool batched, bool antialiased, double ratio) {
  QImage image(64, 48, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, antialiased);
  QtPagePainter page(painter, 96);
  if (batched) {
    page.FillRects(bars, {200, 30, 40});
  } else {
    for (const PageRect& r : bars) page.FillRect(r.x, r.y, r.w, r.h, {200, 30, 40});
  }
  return image;
}

TEST(QtPagePainter, BatchedBarsInkThePixelsOfOneFillEach) {
  gui::EnsureApp();
  const std::vector<std::vector<PageRect>> cases = {
      {{3, 4, 1, 20}, {4, 2, 1, 1}, {5, 0, 1, 30}, {6, 10, 1, 0}},  // whole dots, an empty bar
      {{10, 5, 1, 7}, {11, 5.5, 1, 3}},                             // a fractional one
      {{-2, -3, 1, 9}, {30, 40, 1, 20}},                            // beyond the edges
  };
  for (const auto& bars : cases)
    for (bool antialiased : {false, true})
      for (double ratio : {1.0, 2.0})
        EXPECT_EQ(Draw(bars, true, antialiased, ratio), Draw(bars, false, antialiased, ratio))
            << bars.size() << " bars, antialiased " << antialiased << ", ratio " << ratio;
}

}  // namespace
}  // namespace rovanel::display
