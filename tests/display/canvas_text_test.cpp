// Canvas::TextOut: where the glyphs and the cell land, what they change.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <utility>

#include "display/canvas.h"

namespace rovanel::display {
namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr Rgb kGreen{0, 160, 0};

// The glyph pixels of `text` written at (dx, dy) on a canvas of w x h.
Pixels Glyphs(const std::string& text, const Font& font, int dx = 0, int dy = 0, int w = 200,
              int h = 60) {
  Canvas c(w, h, kWhite);
  c.TextOut(dx, dy, text, kNavy, font);
  Pixels out;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (c.Pixel(x, y) == kNavy) out.emplace(x, y);
  return out;
}

TEST(CanvasText, GlyphsAndCellFollowThePointAndAreClipped) {
  const TextSize cell = Canvas::TextExtent("42%", Font{});
  const Pixels at0 = Glyphs("42%", Font{});
  ASSERT_GT(at0.size(), 20u);
  for (auto [x, y] : at0) EXPECT_TRUE(x < cell.width && y < cell.height) << x << "," << y;

  constexpr int kW = 60, kH = 30;
  const std::pair<int, int> points[] = {{0, 0}, {7, 4}, {-5, -3}, {kW - 8, kH - 6}};
  for (std::optional<Rgb> background : {std::optional<Rgb>(kWhite), std::optional<Rgb>()}) {
    for (auto [px, py] : points) {
      SCOPED_TRACE(testing::Message() << "at " << px << "," << py << " opaque " << !!background);
      Canvas c(kW, kH, kGreen);
      c.brushColour = kYellow;
      c.MoveTo(5, 6);
      c.TextOut(px, py, "42%", kNavy, Font{}, background);
      Pixels glyphs;
      for (auto [x, y] : at0)
        if (x + px >= 0 && y + py >= 0 && x + px < kW && y + py < kH)
          glyphs.emplace(x + px, y + py);
      // Glyphs in the text colour, the rest of the cell in the background
      // (if any); nothing else changes, the brush and pen included.
      for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
          const bool inCell = x >= px && y >= py && x < px + cell.width && y < py + cell.height;
          const Rgb want = glyphs.contains({x, y}) ? kNavy
                           : inCell && background  ? *background
                                                   : kGreen;
          ASSERT_EQ(c.Pixel(x, y), want) << x << "," << y;
        }
      }
      EXPECT_EQ(c.brushColour, kYellow);
      EXPECT_EQ(c.PenX(), 5);
    }
  }
}

TEST(CanvasText, EmptyTextHasAZeroWidthCellAndDrawsNothing) {
  EXPECT_EQ(Canvas::TextExtent("", Font{}).width, 0);
  EXPECT_EQ(Canvas::TextExtent("", Font{}).height, Canvas::TextExtent("0%", Font{}).height);
  Canvas c(10, 10, kGreen);
  c.TextOut(1, 1, "", kBlack, Font{}, kWhite);
  EXPECT_EQ(c.Pixel(1, 1), kGreen);
}

TEST(CanvasText, FontSizeWeightAndFamilyAreHonoured) {
  // Points at 96 dpi, rounded to the nearest pixel: {points, pixels}.
  for (auto [points, pixels] : {std::pair{8, 11}, {9, 12}, {10, 13}, {7, 9}}) {
    Font byPoints, byPixels;
    byPoints.pointSize = points;
    byPixels.pixelSize = pixels;
    byPixels.pointSize = 30;  // ignored
    EXPECT_EQ(Canvas::TextExtent("123%", byPoints), Canvas::TextExtent("123%", byPixels));
    EXPECT_EQ(Glyphs("123%", byPoints), Glyphs("123%", byPixels)) << points;
  }
  Font bold;
  bold.bold = true;
  EXPECT_GT(Glyphs("100%", bold).size(), Glyphs("100%", Font{}).size());
  // Only a fixed-pitch family gives "iii" and "MMM" one width.
  Font mono;
  mono.family = "DejaVu Sans Mono";
  EXPECT_EQ(Canvas::TextExtent("iii", mono).width, Canvas::TextExtent("MMM", mono).width);
  EXPECT_LT(Canvas::TextExtent("iii", Font{}).width, Canvas::TextExtent("MMM", Font{}).width);
  // UTF-8: a micro sign is one glyph.
  EXPECT_EQ(Canvas::TextExtent("\xC2\xB5\xC2\xB5", mono).width,
            Canvas::TextExtent("ab", mono).width);
}

}  // namespace
}  // namespace rovanel::display
