// The cursor overlay: dotted lines over a copy of the plot, with the band
// gap, in the cursor colour and width.
#include "display/cursors.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/canvas_asserts.h"

namespace rovanel::display {
namespace {

using testsupport::PixelsNot;
using testsupport::RowsOfColour;

// Positions from..to (inclusive) that a dotted line started at `from` draws:
// 3 on, 3 off.
std::vector<int> Dotted(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i)
    if ((i - from) % 6 < 3) v.push_back(i);
  return v;
}

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<int> ColumnsOfColour(const Canvas& c, int y, Rgb colour) {
  std::vector<int> out;
  for (int x = 0; x < c.Width(); ++x)
    if (c.Pixel(x, y) == colour) out.push_back(x);
  return out;
}

TEST(DrawCursors, CopiesThePlotAndSetsTheCursorPen) {
  Canvas plot(512, 256);
  plot.SetPixel(7, 9, kNavy);
  plot.SetPixel(511, 255, kYellow);
  Canvas overlay(512, 256, kRed);  // last time's overlay
  CursorParams p;                  // no cursor pair on
  p.colour = kBlue;
  p.width = 2;
  DrawCursors(overlay, plot, p);
  EXPECT_EQ(PixelsNot(overlay, kWhite), (std::vector<std::pair<int, int>>{{7, 9}, {511, 255}}));
  EXPECT_EQ(overlay.Pixel(7, 9), kNavy);
  EXPECT_EQ(overlay.penColour, kBlue);
  EXPECT_EQ(overlay.penWidth, 2);
  EXPECT_EQ(overlay.penStyle, PenStyle::Dot);
  EXPECT_EQ(PixelsNot(plot, kWhite).size(), 2u);
}

TEST(DrawCursors, VerticalPairRunsDownTheWholePlotOrAroundTheBand) {
  for (bool band : {false, true}) {
    Canvas plot(512, 256);
    Canvas overlay(512, 256);
    CursorParams p;
    p.cursv = true;
    p.bandMode = band;
    DrawCursors(overlay, plot, p);
    // Full height: rows 0..255. Band: rows 0..127, then from 139 a new dotted
    // run to 246; rows 128..138 and 247..255 stay free.
    const std::vector<int> rows = band ? Concat(Dotted(0, 127), Dotted(139, 246)) : Dotted(0, 255);
    for (int x : {100, 300}) EXPECT_EQ(RowsOfColour(overlay, x, kBlack), rows) << band << " " << x;
    EXPECT_EQ(PixelsNot(overlay, kWhite).size(), 2 * rows.size()) << band;
  }
}

TEST(DrawCursors, HorizontalPairRunsAcrossThePlot) {
  Canvas plot(512, 256);
  Canvas overlay(512, 256);
  CursorParams p;
  p.cursh = true;
  p.y1 = 0;
  p.y2 = 127;
  p.colour = kRed;
  DrawCursors(overlay, plot, p);
  for (int y : {0, 127}) EXPECT_EQ(ColumnsOfColour(overlay, y, kRed), Dotted(0, 511)) << y;
  EXPECT_EQ(PixelsNot(overlay, kWhite).size(), 2 * Dotted(0, 511).size());
}

struct WidthCase {
  int width;
  int firstColumn, lastColumn;  // of the vertical cursor at 100
  int firstRow, lastRow;        // of the horizontal cursor at 50
};

TEST(DrawCursors, WidthCoversColumnsOrRowsAroundTheCursor) {
  const WidthCase cases[] = {{1, 100, 100, 50, 50}, {2, 99, 100, 49, 50}, {4, 98, 101, 48, 51}};
  for (const WidthCase& c : cases) {
    Canvas plot(512, 256);
    Canvas overlay(512, 256);
    CursorParams p;
    p.cursv = p.cursh = true;
    p.x1 = p.x2 = 100;
    p.y1 = p.y2 = 50;
    p.width = c.width;
    p.colour = kNavy;
    DrawCursors(overlay, plot, p);
    for (int x = 95; x <= 105; ++x) {
      const bool in = x >= c.firstColumn && x <= c.lastColumn;
      // Row 200: only the vertical cursor; dotted from row 0, so 198 on, 201 off.
      EXPECT_EQ(overlay.Pixel(x, 198) == kNavy, in) << c.width << " column " << x;
      EXPECT_EQ(overlay.Pixel(x, 201), kWhite);
    }
    for (int y = 45; y <= 55; ++y) {
      const bool in = y >= c.firstRow && y <= c.lastRow;
      EXPECT_EQ(overlay.Pixel(402, y) == kNavy, in) << c.width << " row " << y;  // 402: on
      EXPECT_EQ(overlay.Pixel(405, y), kWhite);                                  // 405: off
    }
  }
}

}  // namespace
}  // namespace rovanel::display
