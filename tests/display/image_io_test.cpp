#include "display/image_io.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <filesystem>
#include <string>

namespace rovanel::display {
namespace {

namespace fs = std::filesystem;

Canvas Sample() {
  Canvas c(7, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) {
      c.SetPixel(x, y,
                 Rgb{static_cast<std::uint8_t>(x * 37), static_cast<std::uint8_t>(y * 61),
                     static_cast<std::uint8_t>(255 - x * y * 9)});
    }
  }
  c.SetPixel(6, 4, kNavy);
  return c;
}

void ExpectSamePixels(const Canvas& c, const QImage& img) {
  ASSERT_EQ(img.width(), c.Width());
  ASSERT_EQ(img.height(), c.Height());
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      const QRgb p = img.pixel(x, y);
      const Rgb want = c.Pixel(x, y);
      ASSERT_EQ(qRed(p), want.r) << x << "," << y;
      ASSERT_EQ(qGreen(p), want.g) << x << "," << y;
      ASSERT_EQ(qBlue(p), want.b) << x << "," << y;
    }
  }
}

class ImageIo : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() /
        ("rovanel_image_io_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ImageIo, ToQImageIsAnRgb32Copy) {
  const Canvas c = Sample();
  const QImage img = ToQImage(c);
  EXPECT_EQ(img.format(), QImage::Format_RGB32);
  ExpectSamePixels(c, img);
  const Canvas back = FromQImage(img);
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) ASSERT_EQ(back.Pixel(x, y), c.Pixel(x, y));
  }
}

TEST_F(ImageIo, SaveRoundTripsThroughPngAndBmp) {
  const Canvas c = Sample();
  for (const char* name : {"plot.png", "plot.bmp", "PLOT2.PNG", "Plot3.Bmp"}) {
    const fs::path p = dir_ / name;
    ASSERT_TRUE(SaveCanvas(c, p.string())) << name;
    QImage loaded(QString::fromStdString(p.string()));
    ASSERT_FALSE(loaded.isNull()) << name;
    ExpectSamePixels(c, loaded);
  }
  // The extension decides the format, whatever its case.
  QFile bmp(QString::fromStdString((dir_ / "Plot3.Bmp").string()));
  ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
  EXPECT_EQ(bmp.read(2), QByteArray("BM"));
  QFile png(QString::fromStdString((dir_ / "PLOT2.PNG").string()));
  ASSERT_TRUE(png.open(QIODevice::ReadOnly));
  EXPECT_EQ(png.read(4), QByteArray("\x89PNG"));
}

TEST_F(ImageIo, SaveFailsOnUnknownExtensionOrUnwritablePlace) {
  const Canvas c = Sample();
  EXPECT_FALSE(SaveCanvas(c, (dir_ / "plot.jpg").string()));
  EXPECT_FALSE(SaveCanvas(c, (dir_ / "plot").string()));
  EXPECT_FALSE(SaveCanvas(c, (dir_ / "no_such_folder" / "plot.png").string()));
  EXPECT_FALSE(fs::exists(dir_ / "plot.jpg"));
}

}  // namespace
}  // namespace rovanel::display
