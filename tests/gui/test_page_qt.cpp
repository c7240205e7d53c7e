// The Qt page painter on an image: batched bars ink exactly the pixels of
// one fill per bar, with and without antialiasing, at a device ratio; texts
// laid out once ink what Qt's own text drawing inks, again and again; a
// picture's rows come out as they are; pictures and straight strokes
// written into the image come out as Qt draws them; the fills and strokes
// Qt draws leave the processor's vector state clean.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/vector_state.h"
#include "display/page_qt.h"
#include "gui/driving.h"

namespace rovanel::display {
namespace {

// The largest difference of a colour channel between two images' pixels.
int WorstChannelDifference(const QImage& a, const QImage& b) {
  int worst = 0;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

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

TEST(QtPagePainter, KeptTextsInkAsQtDrawsThem) {
  gui::EnsureApp();
  struct Case {
    std::string text;
    Align align;
    double sizePt;
    bool bold;
  };
  const Case cases[] = {{"25000", Align::Centre, 8, false},
                        {"100", Align::Right, 8, false},
                        {"X ( µm )", Align::Centre, 9, false},
                        {"1  a.CCD", Align::Left, 8, true}};
  for (double ratio : {1.0, 2.0}) {
    for (const Case& c : cases) {
      const auto draw = [&](bool own) {
        QImage image(static_cast<int>(160 * ratio), static_cast<int>(40 * ratio), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter painter(&image);
        QtPagePainter page(painter, 96);
        const PagePoint baseline{80.5, 25};
        if (own) {
          page.Text(baseline, c.text, {c.sizePt, c.bold}, c.align);
          return image;
        }
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(static_cast<int>(std::lround(c.sizePt * 96 / 72)));
        f.setBold(c.bold);
        const QString s = QString::fromStdString(c.text);
        const double w = QFontMetricsF(f, &image).horizontalAdvance(s);
        const double x = c.align == Align::Left     ? baseline.x
                         : c.align == Align::Centre ? baseline.x - w / 2
                                                    : baseline.x - w;
        painter.setPen(Qt::black);
        painter.setFont(f);
        painter.drawText(QPointF(x, baseline.y), s);
        return image;
      };
      const QImage qt = draw(false);
      QImage blank(qt.size(), qt.format());
      blank.setDevicePixelRatio(ratio);
      blank.fill(Qt::white);
      ASSERT_NE(qt, blank) << c.text;
      EXPECT_EQ(draw(true), qt) << c.text << " at ratio " << ratio;
      EXPECT_EQ(draw(true), qt) << c.text << " drawn again, at ratio " << ratio;
    }
  }
}

TEST(QtPagePainter, PictureRowsScaledIntoTheirRectangle) {
  gui::EnsureApp();
  Canvas band(8, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) band.MutableBits()[y * 8 + x] = y < 4 ? 0xFFFF0000u : 0xFF0000FFu;
  QImage image(16, 4, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QtPagePainter page(painter, 96);
  page.Picture(0, 0, 16, 4, band, 4, 2);  // rows 4 and 5 only: blue
  page.Picture(0, 0, 16, 4, band, 5, 9);  // rows past the picture's end: left out
  painter.end();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(image.pixel(x, y), 0xFF0000FFu) << x << "," << y;
}

// Rows scaled here land where Qt's smooth drawing puts them, within two
// levels a channel, and nowhere else: a band of a few distinct rows and a
// picture of all distinct ones, at fractional places, at two device
// ratios, translated, running off the image, within a window's system clip
// or the caller's clip, on an image of another format.
TEST(QtPagePainter, PicturesEnlargedAsQtSmoothsThem) {
  gui::EnsureApp();
  Canvas band(512, 256), ramp(40, 30);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 512; ++x)
      band.MutableBits()[y * 512 + x] =
          y < 140 || y > 230 ? 0xFFFFFFFFu : 0xFF000000u | ((x * 7 % 256) * 0x010101u);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      ramp.MutableBits()[y * 40 + x] = 0xFF000000u | (x * 6 << 16) | (y * 8 << 8) | ((x * y) & 255);
  const QRegion twoParts = QRegion(100, 150, 300, 40) + QRegion(500, 200, 200, 100);
  struct Case {
    const Canvas* picture;
    int top, rows;
    double x, y, w, h, ratio, shift;
    QRegion systemClip = {}, clip = {};
    QImage::Format format = QImage::Format_RGB32;
  };
  const Case cases[] = {
      {&band, 128, 128, 48.7, 120.3, 870.4, 222.6, 1, 0},
      {&band, 128, 128, 48.7, 120.3, 870.4, 222.6, 2, 0},
      {&band, 128, 128, 10, 5, 300, 90, 1, 7},  // shrunk, on a translated painter
      {&ramp, 0, 30, 3.25, 2.5, 151.5, 97, 1, 0},
      {&ramp, 4, 20, 3.25, 2.5, 151.5, 97, 1.5, 0},
      {&band, 128, 128, -40.5, 300.2, 1100, 120, 1, 0},  // off the image's edges
      {&band, 128, 128, 48.7, 120.3, 870.4, 222.6, 1, 0, twoParts},
      {&band, 128, 128, 48.7, 120.3, 870.4, 222.6, 2, 0, twoParts},
      {&band, 128, 128, 48.7, 120.3, 870.4, 222.6, 1, 0, {}, twoParts},
      {&ramp, 0, 30, 3.25, 2.5, 151.5, 97, 1, 0, {}, {}, QImage::Format_ARGB32_Premultiplied},
  };
  for (const Case& c : cases) {
    auto draw = [&](bool qt) {
      QImage image(960, 360, c.format);
      image.setDevicePixelRatio(c.ratio);
      image.fill(QColor(200, 0, 120));
      image.paintEngine()->setSystemClip(c.systemClip);
      QPainter painter(&image);
      if (!c.clip.isEmpty()) painter.setClipRegion(c.clip);
      painter.translate(c.shift, 0);
      if (qt) {
        const Canvas& p = *c.picture;
        const QImage rows(reinterpret_cast<const uchar*>(p.Bits() + c.top * p.Width()), p.Width(),
                          c.rows, p.Width() * 4, QImage::Format_RGB32);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(c.x, c.y, c.w, c.h), rows);
      } else {
        QtPagePainter(painter, 96).Picture(c.x, c.y, c.w, c.h, *c.picture, c.top, c.rows);
      }
      return image;
    };
    EXPECT_LE(WorstChannelDifference(draw(false), draw(true)), 2)
        << c.w << " x " << c.h << " at ratio " << c.ratio;
  }
}

// Grid lines and frames, which the painter may write into the image itself,
// ink each pixel by the area of it under the stroke (square corners), as
// Qt's rasteriser fills the stroke's outline, within two levels a channel:
// thin and wide pens, at fractional places, at two device ratios, off the
// image's edges, within a system clip; a dashed or slanted pen, the
// caller's clip, are left to Qt.
TEST(QtPagePainter, StraightStrokesInkAsQtStrokesThem) {
  gui::EnsureApp();
  const QRegion twoParts = QRegion(10, 20, 100, 30) + QRegion(150, 60, 90, 70);
  struct Case {
    bool frame;
    double x0, y0, x1, y1, widthPx, ratio;
    LinePattern pattern = LinePattern::Solid;
    QRegion systemClip = {}, clip = {};
  };
  const Case cases[] = {
      {false, 40.37, 5.2, 40.37, 150.8, 2.0 / 3, 1},  // a grid line down
      {false, 3.5, 77.61, 230.2, 77.61, 2.0 / 3, 1},  // and across
      {false, 40.37, 5.2, 40.37, 150.8, 1, 2},
      {false, 230.2, 33.3, 3.5, 33.3, 2.5, 1.5},  // drawn right to left
      {false, 12.5, -20, 12.5, 400, 1, 1},        // off the image
      {true, 30.47, 12.73, 220.31, 140.06, 1, 1},
      {true, 30.47, 12.73, 220.31, 140.06, 1, 2},
      {true, 30.47, 12.73, 220.31, 140.06, 3.4, 1},
      {true, 30.47, 12.73, 31.2, 140.06, 1.5, 1},  // narrower than its pen
      {true, -10.2, 12.73, 300.5, 140.06, 1, 1, LinePattern::Solid, twoParts},
      {false, 40.37, 5.2, 40.37, 150.8, 1, 1, LinePattern::Solid, twoParts},
      {false, 40.37, 5.2, 40.37, 150.8, 1, 1, LinePattern::Solid, {}, twoParts},
      {false, 40.37, 5.2, 41.37, 150.8, 1, 1},  // slanted
      {true, 30.47, 12.73, 220.31, 140.06, 1, 1, LinePattern::Dash},
  };
  for (const Case& c : cases) {
    auto draw = [&](bool qt) {
      QImage image(260, 160, QImage::Format_RGB32);
      image.setDevicePixelRatio(c.ratio);
      image.fill(QColor(230, 240, 200));
      image.paintEngine()->setSystemClip(c.systemClip);
      QPainter painter(&image);
      if (!c.clip.isEmpty()) painter.setClipRegion(c.clip);
      QtPagePainter page(painter, 72);  // a point a logical pixel
      page.SetPen({{20, 90, 160}, c.widthPx, c.pattern});
      const bool leftToQt = c.pattern != LinePattern::Solid || !c.clip.isEmpty() ||
                            (!c.frame && c.x0 != c.x1 && c.y0 != c.y1);
      if (qt && !leftToQt) {
        // The stroke's outline filled by Qt's antialiasing rasteriser: the
        // area of each pixel under the ink (Qt's own stroking of pens up to
        // a pixel wide approximates it with a pixel-wide line made fainter).
        const double h = c.widthPx / 2;
        const QRectF box = QRectF(QPointF(c.x0, c.y0), QPointF(c.x1, c.y1)).normalized();
        QPainterPath ink;
        ink.setFillRule(Qt::OddEvenFill);
        if (c.frame) {
          ink.addRect(box.adjusted(-h, -h, h, h));
          if (box.width() > c.widthPx) ink.addRect(box.adjusted(h, h, -h, -h));
        } else {
          ink.addRect(c.x0 == c.x1 ? box.adjusted(-h, 0, h, 0) : box.adjusted(0, -h, 0, h));
        }
        painter.fillPath(ink, painter.pen().color());
      } else if (qt) {
        if (c.frame)
          painter.drawRect(QRectF(c.x0, c.y0, c.x1 - c.x0, c.y1 - c.y0));
        else
          painter.drawLine(QPointF(c.x0, c.y0), QPointF(c.x1, c.y1));
      } else if (c.frame) {
        page.Rect(c.x0, c.y0, c.x1 - c.x0, c.y1 - c.y0);
      } else {
        page.Line({c.x0, c.y0}, {c.x1, c.y1});
      }
      return image;
    };
    EXPECT_LE(WorstChannelDifference(draw(false), draw(true)), 2)
        << (c.frame ? "frame " : "line ") << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1
        << ", pen " << c.widthPx << " at ratio " << c.ratio;
  }
}

// Qt's solid fills leave the upper vector halves in use, which makes the
// plain SSE code after them two to three times slower on Intel processors;
// the painter's calls that Qt fills clear them. Skipped where Qt's fill does
// not leave them in use (no AVX) or the processor cannot tell.
TEST(QtPagePainter, QtFillsLeaveTheVectorStateClean) {
  gui::EnsureApp();
  QImage image(640, 480, QImage::Format_RGB32);
  const std::vector<PagePoint> curve = {{10, 10}, {300, 200}, {600, 20}, {620, 400}};
  const std::vector<PageRect> bars = {{10, 10, 200, 100}, {300, 50, 100, 300}};
  struct Case {
    const char* name;
    void (*draw)(QtPagePainter&, const std::vector<PagePoint>&, const std::vector<PageRect>&);
  };
  const Case cases[] = {
      {"whole fill",
       [](QtPagePainter& p, auto&, auto&) {
         p.FillRect(0, 0, 640, 480, {255, 255, 255});
       }},
      {"fractional fill",
       [](QtPagePainter& p, auto&, auto&) {
         p.FillRect(0.5, 0.5, 600, 400, {9, 9, 9});
       }},
      {"bars",
       [](QtPagePainter& p, auto&, auto& r) {
         p.FillRects(r, {200, 30, 40});
       }},
      {"thick curve",
       [](QtPagePainter& p, auto& c, auto&) {
         p.SetPen({{0, 0, 255}, 40.0, LinePattern::Solid});
         p.Polyline(c);
       }},
  };
  for (const Case& c : cases) {
    image.fill(Qt::white);
    if (!UpperVectorHalvesInUse()) GTEST_SKIP() << "Qt's fill leaves no vector state here";
    QPainter painter(&image);
    QtPagePainter page(painter, 96);
    c.draw(page, curve, bars);
    EXPECT_FALSE(UpperVectorHalvesInUse()) << c.name;
  }
}

}  // namespace
}  // namespace rovanel::display
