#include "display/gauge_picture.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace rovanel::display {
namespace {

constexpr QRgb kBlueArgb = 0xFF0000FF;
constexpr QRgb kNavyArgb = 0xFF000080;
constexpr QRgb kYellowArgb = 0xFFFFFF00;
constexpr QRgb kBlackArgb = 0xFF000000;
// Yellow text XOR the two bar colours, by hand:
// (255,255,0) ^ (0,0,255) = (255,255,255); (255,255,0) ^ (0,0,128) = (255,255,128).
constexpr QRgb kTextOnBlue = 0xFFFFFFFF;
constexpr QRgb kTextOnNavy = 0xFFFFFF80;

// The bevel of the gauge is 280 x 27; its inner picture is 278 x 25.
constexpr int kW = 278;
constexpr int kH = 25;

TEST(GaugeFillWidth, NearestWithHalvesToEven) {
  EXPECT_EQ(GaugeFillWidth(kW, 0), 0);
  EXPECT_EQ(GaugeFillWidth(kW, 1), 3);    // 2.78
  EXPECT_EQ(GaugeFillWidth(kW, 25), 70);  // 69.5 -> 70
  EXPECT_EQ(GaugeFillWidth(kW, 50), 139);
  EXPECT_EQ(GaugeFillWidth(kW, 75), 208);  // 208.5 -> 208
  EXPECT_EQ(GaugeFillWidth(kW, 99), 275);  // 275.22
  EXPECT_EQ(GaugeFillWidth(kW, 100), 278);
  EXPECT_EQ(GaugeFillWidth(10, 5), 0);   // 0.5 -> 0
  EXPECT_EQ(GaugeFillWidth(10, 15), 2);  // 1.5 -> 2
  EXPECT_EQ(GaugeFillWidth(kW, -3), 0);
  EXPECT_EQ(GaugeFillWidth(kW, 140), 278);
}

struct TextBox {
  int count = 0, left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

TextBox YellowBox(const QImage& text) {
  TextBox b;
  for (int y = 0; y < text.height(); ++y) {
    for (int x = 0; x < text.width(); ++x) {
      const QRgb p = text.pixel(x, y);
      EXPECT_TRUE(p == kBlackArgb || p == kYellowArgb) << x << "," << y << " " << std::hex << p;
      if (p == kYellowArgb) {
        ++b.count;
        b.left = std::min(b.left, x);
        b.right = std::max(b.right, x);
        b.top = std::min(b.top, y);
        b.bottom = std::max(b.bottom, y);
      }
    }
  }
  return b;
}

TEST(GaugePicture, TextPictureIsYellowOnBlackAndCentred) {
  const QImage text = RenderGaugeText(kW, kH, 100, DefaultGaugeFont());
  ASSERT_EQ(text.size(), QSize(kW, kH));
  const TextBox b = YellowBox(text);
  ASSERT_GT(b.count, 10);
  EXPECT_NEAR((b.left + b.right) / 2.0, (kW - 1) / 2.0, 3.0);
  EXPECT_NEAR((b.top + b.bottom) / 2.0, (kH - 1) / 2.0, 4.0);
}

TEST(GaugePicture, TextIsTwoCharacterNumberAndPercent) {
  // Render the expected strings directly; the picture must match them.
  for (const auto& [p, s] : {std::pair{5, " 5%"}, std::pair{42, "42%"}, std::pair{100, "100%"}}) {
    QImage want(kW, kH, QImage::Format_RGB32);
    want.fill(Qt::black);
    {
      QPainter painter(&want);
      painter.setFont(DefaultGaugeFont());
      painter.setPen(QColor(255, 255, 0));
      painter.drawText(QRect(0, 0, kW, kH), Qt::AlignCenter, QString::fromLatin1(s));
    }
    EXPECT_EQ(RenderGaugeText(kW, kH, p, DefaultGaugeFont()), want) << s;
  }
}

// Every bar pixel is the bar colour of its column XOR the text picture's pixel.
void ExpectBar(int percent, int fill) {
  const QImage text = RenderGaugeText(kW, kH, percent, DefaultGaugeFont());
  const QImage bar = RenderGaugeBar(kW, kH, percent);
  ASSERT_EQ(bar.size(), QSize(kW, kH));
  ASSERT_GT(YellowBox(text).count, 10);
  int textPixels = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool isText = text.pixel(x, y) == kYellowArgb;
      textPixels += isText;
      const QRgb want =
          x < fill ? (isText ? kTextOnBlue : kBlueArgb) : (isText ? kTextOnNavy : kNavyArgb);
      ASSERT_EQ(bar.pixel(x, y), want) << "percent " << percent << " at " << x << "," << y;
    }
  }
  EXPECT_GT(textPixels, 10);
}

TEST(GaugePicture, BarIsBlueUpToThePercentageThenNavyWithTextXored) {
  ExpectBar(0, 0);  // all navy apart from the text
  ExpectBar(25, 70);
  ExpectBar(50, 139);   // text straddles both parts
  ExpectBar(100, 278);  // all blue apart from the text
  ExpectBar(250, 278);  // clamped
}

TEST(GaugePicture, CornersOfTheBar) {
  const QImage bar = RenderGaugeBar(kW, kH, 50);
  EXPECT_EQ(bar.pixel(0, 0), kBlueArgb);
  EXPECT_EQ(bar.pixel(138, kH - 1), kBlueArgb);
  EXPECT_EQ(bar.pixel(139, kH - 1), kNavyArgb);
  EXPECT_EQ(bar.pixel(kW - 1, 0), kNavyArgb);
}

}  // namespace
}  // namespace rovanel::display
