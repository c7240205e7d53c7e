// The BMP bytes read back by hand and by another reader (QImage).
#include <gtest/gtest.h>

#include <QImage>

#include "display/bmp.h"

namespace rovanel::display {
namespace {

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | b.at(at + k);
  return v;
}

Rgb Colour(int x, int y) {
  return Rgb{static_cast<std::uint8_t>(40 * x + 1), static_cast<std::uint8_t>(90 * y + 2),
             static_cast<std::uint8_t>(200 - 7 * x * y)};
}

TEST(Bmp, HeadersDescribeA24BitBottomUpPicture) {
  // Field widths in bytes: BITMAPFILEHEADER, then BITMAPINFOHEADER.
  const int widths[] = {2, 4, 2, 2, 4, 4, 4, 4, 2, 2, 4, 4, 4, 4, 4, 4};
  const struct {
    std::uint32_t w, h, row;
  } cases[] = {{5, 3, 16}, {4, 2, 12}, {1, 1, 4}, {512, 256, 1536}};
  for (const auto& c : cases) {
    const auto b = EncodeBmp(Canvas(static_cast<int>(c.w), static_cast<int>(c.h)));
    const std::uint32_t image = c.row * c.h;
    ASSERT_EQ(b.size(), 54 + image) << c.w;
    // "BM", file size, reserved, pixel offset; header size, width, height (bottom-up),
    // planes, bits per pixel, BI_RGB, image size, 2835 px/m twice, no palette.
    const std::uint32_t want[] = {0x4D42, 54 + image, 0, 0,     54,   40,   c.w, c.h,
                                  1,      24,         0, image, 2835, 2835, 0,   0};
    std::size_t at = 0;
    for (int k = 0; k < 16; at += widths[k++]) EXPECT_EQ(Le(b, at, widths[k]), want[k]) << k;
  }
}

TEST(Bmp, PixelsAreBgrRowsBottomUpWithZeroPadding) {
  Canvas c(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) c.SetPixel(x, y, Colour(x, y));
  const auto b = EncodeBmp(c);
  const auto at = [](int x, int y) { return std::size_t(54 + (2 - y) * 16 + 3 * x); };
  for (const auto& [x, y] : {std::pair{0, 0}, {4, 0}, {2, 1}, {0, 2}, {4, 2}}) {
    EXPECT_EQ(b[at(x, y)], Colour(x, y).b) << x << "," << y;
    EXPECT_EQ(b[at(x, y) + 1], Colour(x, y).g);
    EXPECT_EQ(b[at(x, y) + 2], Colour(x, y).r);
  }
  for (int row = 0; row < 3; ++row) EXPECT_EQ(b[54 + row * 16 + 15], 0) << row;

  const QImage img = QImage::fromData(b.data(), static_cast<int>(b.size()), "BMP");
  ASSERT_FALSE(img.isNull());
  ASSERT_EQ(img.size(), QSize(5, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const QRgb p = img.pixel(x, y);
      EXPECT_EQ(Rgb(qRed(p), qGreen(p), qBlue(p)), Colour(x, y)) << x << "," << y;
    }
}

}  // namespace
}  // namespace rovanel::display
