// Thick pens: a width-w line covers w pixels across its major axis, from
// w/2 before the one-pixel line; length, end pixel and dash pattern unchanged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/canvas.h"
#include "support/canvas_asserts.h"

namespace rovanel::display {
namespace {

using testsupport::AsciiRegion;
using testsupport::RegionIs;

struct WidthCase {
  int width;
  PenStyle style;
  int x0, y0, x1, y1;
  std::vector<std::string> picture;  // the whole 8 x 8 canvas
};

TEST(CanvasPenWidth, ThickLinesCoverTheirWidthAcrossTheLine) {
  const WidthCase cases[] = {
      // Vertical at column 4: 2 wide is columns 3..4, 4 wide is 2..5; rows 1..5.
      {2,
       PenStyle::Solid,
       4,
       1,
       4,
       6,
       {"........", "...##...", "...##...", "...##...", "...##...", "...##...", "........",
        "........"}},
      {4,
       PenStyle::Solid,
       4,
       6,
       4,
       1,  // upwards: rows 6..2, the same columns
       {"........", "........", "..####..", "..####..", "..####..", "..####..", "..####..",
        "........"}},
      // Horizontal at row 4: rows 3..4 and 2..5; columns 1..5.
      {2,
       PenStyle::Solid,
       1,
       4,
       6,
       4,
       {"........", "........", "........", ".#####..", ".#####..", "........", "........",
        "........"}},
      {4,
       PenStyle::Solid,
       6,
       4,
       1,
       4,
       {"........", "........", "..#####.", "..#####.", "..#####.", "..#####.", "........",
        "........"}},
      // Dotted, 3 on and 3 off along the line, each dot the full width.
      {2,
       PenStyle::Dot,
       4,
       0,
       4,
       8,
       {"...##...", "...##...", "...##...", "........", "........", "........", "...##...",
        "...##..."}},
      {4,
       PenStyle::Dot,
       0,
       3,
       8,
       3,
       {"........", "###...##", "###...##", "###...##", "###...##", "........", "........",
        "........"}},
      // At the edge the part outside the canvas is clipped.
      {4,
       PenStyle::Solid,
       0,
       0,
       0,
       3,
       {"##......", "##......", "##......", "........", "........", "........", "........",
        "........"}},
      {4,
       PenStyle::Solid,
       2,
       7,
       6,
       7,
       {"........", "........", "........", "........", "........", "..####..", "..####..",
        "..####.."}},
  };
  for (const WidthCase& c : cases) {
    Canvas canvas(8, 8);
    canvas.penWidth = c.width;
    canvas.penStyle = c.style;
    canvas.MoveTo(c.x0, c.y0);
    canvas.LineTo(c.x1, c.y1);
    EXPECT_TRUE(RegionIs(canvas, 0, 0, c.picture)) << "width " << c.width << " (" << c.x0 << ","
                                                   << c.y0 << ")-(" << c.x1 << "," << c.y1 << ")";
    EXPECT_EQ(canvas.PenX(), c.x1);
    EXPECT_EQ(canvas.PenY(), c.y1);
  }
}

TEST(CanvasPenWidth, DotPatternRunsOnAcrossThickSegments) {
  // Two segments of a polyline: the pattern continues from the first one.
  Canvas c(12, 4);
  c.penWidth = 2;
  c.penStyle = PenStyle::Dot;
  c.penColour = kRed;
  c.MoveTo(0, 2);
  c.LineTo(4, 2);
  c.LineTo(12, 2);
  EXPECT_TRUE(RegionIs(c, 0, 0, {"............", "rrr...rrr...", "rrr...rrr...", "............"}));
}

TEST(CanvasPenWidth, WidthOneOrLessDrawsTheOnePixelLine) {
  struct Seg {
    int x0, y0, x1, y1;
    PenStyle style;
  };
  const Seg segs[] = {{1, 1, 14, 9, PenStyle::Solid}, {3, 14, 3, 0, PenStyle::Solid},
                      {0, 7, 15, 7, PenStyle::Dot},   {14, 1, 2, 12, PenStyle::DashDot},
                      {5, 0, 9, 15, PenStyle::Dot},   {0, 15, 15, 0, PenStyle::Solid}};
  for (const Seg& s : segs) {
    Canvas thin(16, 16);
    thin.penStyle = s.style;
    thin.MoveTo(s.x0, s.y0);
    thin.LineTo(s.x1, s.y1);
    for (int width : {1, 0, -3}) {
      Canvas c(16, 16);
      c.penStyle = s.style;
      c.penWidth = width;
      c.MoveTo(s.x0, s.y0);
      c.LineTo(s.x1, s.y1);
      EXPECT_EQ(AsciiRegion(c, 0, 0, 16, 16), AsciiRegion(thin, 0, 0, 16, 16))
          << "width " << width << " from " << s.x0 << "," << s.y0;
    }
  }
  EXPECT_EQ(Canvas(1, 1).penWidth, 1);
}

TEST(CanvasPenWidth, SlopedThickLineSpreadsAlongTheMinorAxis) {
  // 2 down over 5 across: the one-pixel rows 0 0 1 1 2, each doubled upwards.
  Canvas c(6, 4);
  c.penWidth = 2;
  c.MoveTo(0, 1);
  c.LineTo(5, 3);
  EXPECT_TRUE(RegionIs(c, 0, 0, {"##....", "####..", "..###.", "....#."}));
}

}  // namespace
}  // namespace rovanel::display
