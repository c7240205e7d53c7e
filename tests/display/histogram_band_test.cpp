// The histogram band, checked pixel by pixel against bars computed by hand.
#include "display/histogram_band.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "signal/histogram.h"

namespace rovanel::display {
namespace {

Rgb Grey(int v) {
  const auto g = static_cast<std::uint8_t>(v);
  return Rgb{g, g, g};
}

signal::Histogram Flat(int classExp, int height) {
  signal::Histogram h;
  h.classWidth = 8 << classExp;
  h.classCount = 256 / h.classWidth;
  for (int c = 0; c < h.classCount; ++c) h.height[c] = h.label[c] = height;
  return h;
}

// Outside the label cells every pixel is the bars' picture: class c's bar
// covers columns 2cw .. 2w(c+1) - 1, rows 127 - h .. 126 in grey c*w, its top
// row black. A label cell, "<label>%" at (2cw, 117 - h), is written last, in
// black on white, exactly as TextOut writes it alone.
void ExpectBand(const Canvas& band, const signal::Histogram& h) {
  ASSERT_EQ(band.Width(), 512);
  ASSERT_EQ(band.Height(), 127);
  Canvas bars(512, 127, kWhite);
  std::vector<std::array<int, 4>> cells;
  for (int c = 0; c < h.classCount; ++c) {
    const int w = h.classWidth, top = 127 - h.height[c];
    for (int x = 2 * c * w; x < 2 * w * (c + 1); ++x)
      for (int y = std::max(top, 0); y < 127; ++y)
        bars.SetPixel(x, y, y == top ? kBlack : Grey(c * w));
    const std::string text = std::to_string(h.label[c]) + "%";
    const TextSize s = Canvas::TextExtent(text, Font{});
    cells.push_back({2 * c * w, top - 10, 2 * c * w + s.width, top - 10 + s.height});
    // Within the class's own columns nothing later paints over its label.
    Canvas label(512, 127, kWhite);
    label.TextOut(2 * c * w, top - 10, text, kBlack, Font{}, kWhite);
    for (int y = std::max(top - 10, 0); y < std::min(top - 10 + s.height, 127); ++y)
      for (int x = 2 * c * w; x < std::min(2 * w * (c + 1), 2 * c * w + s.width); ++x)
        ASSERT_EQ(band.Pixel(x, y), label.Pixel(x, y)) << "label of class " << c;
  }
  for (int y = 0; y < 127; ++y) {
    for (int x = 0; x < 512; ++x) {
      bool inCell = false;
      for (const auto& [l, t, r, b] : cells)
        inCell = inCell || (x >= l && y >= t && x < r && y < b);
      const Rgb got = band.Pixel(x, y);
      if (inCell)
        ASSERT_TRUE(got == kWhite || got == kBlack) << x << "," << y;
      else
        ASSERT_EQ(got, bars.Pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(HistogramBand, BarsHaveTheirHeightsGreysTopLinesAndLabels) {
  signal::Histogram h = Flat(1, 0);
  // Classes apart, so that no label reaches a neighbour's bar; a label that
  // differs from the height, a bar of one row, one of the full band.
  for (auto [c, height] : {std::pair{0, 30}, {2, 1}, {5, 127}, {8, 64}, {11, 100}, {14, 2}})
    h.height[c] = h.label[c] = height;
  h.label[8] = 37;
  ExpectBand(HistogramBandPicture(h, Font{}), h);
  for (int exp = 0; exp <= 3; ++exp) {
    SCOPED_TRACE(exp);
    ExpectBand(HistogramBandPicture(Flat(exp, 50), Font{}), Flat(exp, 50));
  }

  // A few by hand: class 8 spans columns 256..287, its top on row 63, grey 128.
  const Canvas band = HistogramBandPicture(h, Font{});
  EXPECT_EQ(band.Pixel(287, 62), kWhite);
  EXPECT_EQ(band.Pixel(287, 63), kBlack);
  EXPECT_EQ(band.Pixel(287, 126), Grey(128));
  EXPECT_EQ(band.Pixel(288, 126), kWhite);
  EXPECT_EQ(band.Pixel(95, 125), kWhite);  // class 2, one row: only its black top
  EXPECT_EQ(band.Pixel(95, 126), kBlack);
}

TEST(HistogramBand, OneLevelGivesOneFullBarCopiedAtRow129) {
  // Every visible sample at level 100: class 6 (levels 96..111) holds 100 %.
  const std::vector<std::uint8_t> curve(2048, 100);
  const signal::Histogram h = signal::ComputeHistogram(curve, 0, 4, 1, false);
  ASSERT_EQ(h.height[6], 100);
  ASSERT_EQ(h.label[6], 100);

  Canvas plot(512, 256, kRed);
  plot.penColour = kNavy;
  plot.brushColour = kYellow;
  DrawHistogramBand(plot, h, Font{});
  EXPECT_EQ(plot.penColour, kNavy);
  EXPECT_EQ(plot.brushColour, kYellow);
  const Canvas band = HistogramBandPicture(h, Font{});
  ExpectBand(band, h);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 512; ++x)
      ASSERT_EQ(plot.Pixel(x, y), y < 129 ? kRed : band.Pixel(x, y - 129)) << x << "," << y;

  // Right of the "100%" label: the top line on plot row 129 + 27, grey under it.
  ASSERT_LE(Canvas::TextExtent("100%", Font{}).width, 31);
  EXPECT_EQ(plot.Pixel(223, 129 + 26), kWhite);
  EXPECT_EQ(plot.Pixel(223, 129 + 27), kBlack);
  EXPECT_EQ(plot.Pixel(223, 129 + 28), Grey(96));
  EXPECT_EQ(plot.Pixel(224, 129 + 28), kWhite);
}

}  // namespace
}  // namespace rovanel::display
