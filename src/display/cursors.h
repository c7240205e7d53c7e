// The cursor overlay: the composed plot with the two vertical and two
// horizontal cursor lines on top.
#pragma once

#include "display/canvas.h"

namespace rovanel::display {

struct CursorParams {
  bool cursv = false;  // vertical pair shown
  bool cursh = false;  // horizontal pair shown
  int x1 = 100, x2 = 300;
  int y1 = 100, y2 = 200;
  bool bandMode = false;
  Rgb colour = kBlack;
  int width = 1;  // 1, 2 or 4 pixels
  PenStyle style = PenStyle::Dot;
};

// Copies `drawBitmap` onto `cursorBitmap` at (0, 0), sets cursorBitmap's pen
// to colour, width and style (it keeps them), then draws for x = x1, x2 the
// lines (x, 0) - (x, 256), or in band mode (x, 0) - (x, 128) and
// (x, 139) - (x, 247), leaving the band's top rows 128..138 free; and for
// y = y1, y2 the lines (0, y) - (512, y).
void DrawCursors(Canvas& cursorBitmap, const Canvas& drawBitmap, const CursorParams& p);

}  // namespace rovanel::display
