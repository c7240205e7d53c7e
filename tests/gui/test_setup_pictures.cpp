// The set-up sketches: each page draws something of its own, in the light's
// colour and in ink, and nothing outside the area it is given.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "gui/driving.h"
#include "gui/setup_pictures.h"

namespace rovanel::gui {
namespace {

// A white sheet with the page drawn in a 240 x 120 area away from its edges.
QImage Picture(int page) {
  QImage image(300, 180, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  DrawSetup(p, QRect(30, 40, 240, 120), page);
  return image;
}

TEST(SetupPictures, EachPageDrawsItsOwnPictureInsideItsArea) {
  EnsureApp();
  const QRect area(30, 40, 240, 120);
  QImage pages[4];
  for (int page = 0; page < 4; ++page) {
    pages[page] = Picture(page);
    int outside = 0, ink = 0, light = 0;
    for (int y = 0; y < 180; ++y)
      for (int x = 0; x < 300; ++x) {
        const QColor c = pages[page].pixelColor(x, y);
        if (c == Qt::white) continue;
        if (!area.contains(x, y)) ++outside;
        if (c.red() < 60 && c.green() < 60 && c.blue() < 60) ++ink;
        if (c.red() > 150 && c.green() < 80 && c.blue() < 80) ++light;
      }
    EXPECT_EQ(outside, 0) << "page " << page;
    // Lines and symbols in ink, the beam and the pattern in the light's colour.
    EXPECT_GT(ink, 150) << "page " << page;
    EXPECT_GT(light, 100) << "page " << page;
    for (int other = 0; other < page; ++other)
      EXPECT_NE(pages[page], pages[other]) << "pages " << other << " and " << page;
  }
  EXPECT_EQ(Picture(4), Picture(-1)) << "no picture for a page that does not exist";
  QImage blank(300, 180, QImage::Format_RGB32);
  blank.fill(Qt::white);
  EXPECT_EQ(Picture(4), blank);
}

}  // namespace
}  // namespace rovanel::gui
