#include "display/canvas.h"

#include <gtest/gtest.h>

#include "support/canvas_asserts.h"

namespace rovanel::display {
namespace {

using testsupport::RegionIs;

TEST(Rgb, TColorIsBlueGreenRed) {
  EXPECT_EQ(Rgb::FromTColor(0x800000), kNavy);
  EXPECT_EQ(Rgb::FromTColor(0x0000FF), kRed);
  EXPECT_EQ(Rgb::FromTColor(0xFF0000), kBlue);
  EXPECT_EQ(Rgb::FromTColor(0x00FFFF), kYellow);
  EXPECT_EQ((Rgb{0x12, 0x34, 0x56}.ToTColor()), 0x563412u);
  EXPECT_EQ(kSilver.ToTColor(), 0xC0C0C0u);
}

TEST(Canvas, PixelsAndRawLayout) {
  Canvas c(4, 3);
  EXPECT_EQ(c.Width(), 4);
  EXPECT_EQ(c.Height(), 3);
  EXPECT_EQ(c.Pixel(0, 0), kWhite);
  c.penColour = kRed;  // SetPixel ignores the pen
  c.penStyle = PenStyle::Dot;
  c.SetPixel(2, 1, Rgb{0x12, 0x34, 0x56});
  EXPECT_EQ(c.Pixel(2, 1), (Rgb{0x12, 0x34, 0x56}));
  EXPECT_EQ(c.Bits()[1 * 4 + 2], 0xFF123456u);
  EXPECT_EQ(c.Bits()[0], 0xFFFFFFFFu);
  // Outside: writes ignored, reads white.
  c.SetPixel(-1, 0, kBlack);
  c.SetPixel(4, 0, kBlack);
  c.SetPixel(0, 3, kBlack);
  c.SetPixel(0, -1, kBlack);
  EXPECT_EQ(testsupport::PixelsNot(c, kWhite).size(), 1u);
  Canvas black(2, 2, kBlack);
  EXPECT_EQ(black.Pixel(2, 0), kWhite);
  EXPECT_EQ(black.Pixel(-1, -1), kWhite);
}

TEST(CanvasLine, HorizontalAndVerticalStopBeforeTheEndPixel) {
  Canvas c(7, 7);
  c.MoveTo(1, 1);
  c.LineTo(5, 1);
  EXPECT_EQ(c.PenX(), 5);
  EXPECT_EQ(c.PenY(), 1);
  c.MoveTo(5, 3);
  c.LineTo(1, 3);  // right to left: (5,3) drawn, (1,3) not
  c.MoveTo(0, 1);
  c.LineTo(0, 5);
  c.MoveTo(6, 6);
  c.LineTo(6, 2);
  EXPECT_TRUE(RegionIs(c, 0, 0,
                       {".......",  //
                        "#####..",  //
                        "#......",  //
                        "#.#####",  //
                        "#.....#",  //
                        "......#",  //
                        "......#"}));
}

TEST(CanvasLine, DiagonalsAndSlopes) {
  Canvas c(6, 6);
  c.MoveTo(0, 0);
  c.LineTo(4, 4);
  EXPECT_TRUE(RegionIs(c, 0, 0,
                       {"#.....",  //
                        ".#....",  //
                        "..#...",  //
                        "...#..",  //
                        "......",  //
                        "......"}));
  // 2 down over 5 across: rows nearest k*2/5 = 0, 0.4, 0.8, 1.2, 1.6.
  Canvas s(6, 3);
  s.MoveTo(0, 0);
  s.LineTo(5, 2);
  EXPECT_TRUE(RegionIs(s, 0, 0,
                       {"##....",  //
                        "..##..",  //
                        "....#."}));
  // Steep: 2 across over 5 down, the same rule with the axes swapped.
  Canvas v(3, 6);
  v.MoveTo(0, 0);
  v.LineTo(2, 5);
  EXPECT_TRUE(RegionIs(v, 0, 0, {"#..", "#..", ".#.", ".#.", "..#", "..."}));
}

TEST(CanvasLine, ExactHalvesGoToTheStartSide) {
  // 2 over 4: at k = 1 and 3 the ideal row is 0.5 and 1.5.
  Canvas a(5, 3);
  a.MoveTo(0, 0);
  a.LineTo(4, 2);
  EXPECT_TRUE(RegionIs(a, 0, 0, {"##...", "..##.", "....."}));
  Canvas b(5, 3);
  b.MoveTo(4, 2);
  b.LineTo(0, 0);
  EXPECT_TRUE(RegionIs(b, 0, 0, {".....", ".##..", "...##"}));
  // Up and to the right, steep, with a half at k = 1.
  Canvas u(2, 3);
  u.MoveTo(0, 2);
  u.LineTo(1, 0);
  EXPECT_TRUE(RegionIs(u, 0, 0, {"..", "#.", "#."}));
}

TEST(CanvasLine, PolylineJoinsAndZeroLength) {
  Canvas c(5, 4);
  c.MoveTo(0, 0);
  c.LineTo(0, 0);  // nothing
  EXPECT_TRUE(testsupport::PixelsNot(c, kWhite).empty());
  c.LineTo(3, 0);
  c.LineTo(3, 3);  // the corner (3,0) is drawn by the second segment
  c.LineTo(0, 3);
  EXPECT_TRUE(RegionIs(c, 0, 0, {"####.", "...#.", "...#.", ".###."}));
  EXPECT_EQ(c.PenX(), 0);
  EXPECT_EQ(c.PenY(), 3);
}

TEST(CanvasLine, UsesPenColour) {
  Canvas c(3, 1);
  c.penColour = kNavy;
  c.MoveTo(0, 0);
  c.LineTo(2, 0);
  EXPECT_TRUE(RegionIs(c, 0, 0, {"nn."}));
}

// A line clipped by a small canvas must give exactly the pixels the same line
// gives on a large canvas, seen through a window.
TEST(CanvasLine, ClippingKeepsThePixelsOfTheUnclippedLine) {
  struct Seg {
    int x0, y0, x1, y1;
  };
  const Seg segs[] = {{5, 5, 35, 22},  {35, 22, 5, 5},  {3, 38, 21, 1}, {30, 2, 11, 37},
                      {0, 20, 39, 21}, {20, 0, 19, 39}, {39, 39, 0, 0}, {2, 30, 38, 10},
                      {7, 1, 8, 38},   {1, 8, 38, 9},   {36, 3, 4, 35}};
  const int ox = 12, oy = 8;  // window origin in big-canvas coordinates
  for (const Seg& s : segs) {
    Canvas big(40, 40);
    big.MoveTo(s.x0, s.y0);
    big.LineTo(s.x1, s.y1);
    Canvas small(10, 9);
    small.MoveTo(s.x0 - ox, s.y0 - oy);
    small.LineTo(s.x1 - ox, s.y1 - oy);
    EXPECT_EQ(testsupport::AsciiRegion(small, 0, 0, 10, 9),
              testsupport::AsciiRegion(big, ox, oy, ox + 10, oy + 9))
        << s.x0 << "," << s.y0 << " -> " << s.x1 << "," << s.y1;
    EXPECT_EQ(small.PenX(), s.x1 - ox);
    EXPECT_EQ(small.PenY(), s.y1 - oy);
  }
}

TEST(CanvasLine, FarEndpointsAreClippedNotWalked) {
  Canvas c(8, 3);
  c.MoveTo(-2000000000, 1);
  c.LineTo(2000000000, 1);
  EXPECT_TRUE(RegionIs(c, 0, 0, {"........", "########", "........"}));
  c.MoveTo(3, 2000000000);
  c.LineTo(3, -2000000000);
  EXPECT_TRUE(RegionIs(c, 0, 0, {"...#....", "########", "...#...."}));
  EXPECT_EQ(c.PenY(), -2000000000);

  Canvas d(8, 8);
  d.MoveTo(-1000000000, -1000000000);
  d.LineTo(1000000000, 1000000000);
  EXPECT_TRUE(RegionIs(d, 0, 0,
                       {"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..",
                        "......#.", ".......#"}));
  // Slope 1/2 through (0, 3): row 3 + x/2, the halves going to the start side.
  Canvas h(8, 8);
  h.MoveTo(-2000000000, -1000000000 + 3);
  h.LineTo(2000000000, 1000000000 + 3);
  EXPECT_TRUE(RegionIs(h, 0, 0,
                       {"........", "........", "........", "##......", "..##....", "....##..",
                        "......##", "........"}));
}

TEST(CanvasLine, DottedAndDashDotPatternsRunAlongTheLineAndRestartAtMoveTo) {
  Canvas c(25, 4);
  c.penStyle = PenStyle::Dot;
  c.MoveTo(0, 0);
  c.LineTo(13, 0);
  c.penStyle = PenStyle::DashDot;
  c.MoveTo(0, 1);
  c.LineTo(25, 1);
  // The pattern runs on over a polyline...
  c.penStyle = PenStyle::Dot;
  c.MoveTo(0, 2);
  c.LineTo(4, 2);
  c.LineTo(13, 2);
  // ...and starts again at a move.
  c.MoveTo(0, 3);
  c.LineTo(2, 3);
  c.MoveTo(2, 3);
  c.LineTo(13, 3);
  EXPECT_TRUE(RegionIs(c, 0, 0,
                       {
                           "###...###...#............",  //
                           "#########......###......#",  //
                           "###...###...#............",  //
                           "#####...###..............",  //
                       }));
  // Vertical lines count along their own length.
  Canvas v(1, 7);
  v.penStyle = PenStyle::Dot;
  v.MoveTo(0, 6);
  v.LineTo(0, -1);
  EXPECT_TRUE(RegionIs(v, 0, 0, {"#", ".", ".", ".", "#", "#", "#"}));
}

TEST(CanvasFillRect, RightAndBottomExclusiveNormalisedAndClipped) {
  Canvas c(6, 5);
  c.brushColour = kRed;
  c.penColour = kBlue;  // not used by fills
  c.FillRect(1, 1, 4, 3);
  EXPECT_TRUE(RegionIs(c, 0, 0, {"......", ".rrr..", ".rrr..", "......", "......"}));
  c.brushColour = kNavy;
  c.FillRect(6, 5, 4, 3);  // corners swapped
  c.brushColour = kBlack;
  c.FillRect(-3, 4, 2, 99);  // clipped
  c.FillRect(2, 2, 2, 4);    // empty: zero width
  EXPECT_TRUE(RegionIs(c, 0, 0, {"......", ".rrr..", ".rrr..", "....nn", "##..nn"}));
}

TEST(CanvasCopyFrom, OffsetsAndClipping) {
  Canvas src(3, 2);
  src.SetPixel(0, 0, kRed);
  src.SetPixel(1, 0, kBlack);
  src.SetPixel(2, 0, kBlue);
  src.SetPixel(0, 1, kNavy);
  src.SetPixel(1, 1, kYellow);
  src.SetPixel(2, 1, kSilver);

  Canvas c(5, 4, kBlack);
  c.CopyFrom(src, 1, 1);
  EXPECT_TRUE(RegionIs(c, 0, 0, {"#####", "#r#b#", "#nys#", "#####"}));

  Canvas d(5, 4, kBlack);
  d.CopyFrom(src, -1, -1);  // only the lower right part lands
  d.CopyFrom(src, 3, 3);    // only the upper left part lands
  d.CopyFrom(src, 5, 0);    // entirely outside
  d.CopyFrom(src, 0, -2);
  EXPECT_TRUE(RegionIs(d, 0, 0, {"ys###", "#####", "#####", "###r#"}));

  Canvas big(2, 2, kBlack);
  Canvas cover(4, 4, kYellow);
  big.CopyFrom(cover, -1, -1);
  EXPECT_TRUE(RegionIs(big, 0, 0, {"yy", "yy"}));
}

TEST(CanvasCopyFrom, CopyOntoItselfUsesTheOriginalPicture) {
  Canvas c(4, 1);
  c.SetPixel(0, 0, kRed);
  c.SetPixel(1, 0, kBlue);
  c.CopyFrom(c, 1, 0);
  EXPECT_TRUE(RegionIs(c, 0, 0, {"rrb."}));
}

}  // namespace
}  // namespace rovanel::display
