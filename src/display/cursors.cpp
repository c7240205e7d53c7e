#include "display/cursors.h"

namespace rovanel::display {

void DrawCursors(Canvas& cursorBitmap, const Canvas& drawBitmap, const CursorParams& p) {
  cursorBitmap.CopyFrom(drawBitmap, 0, 0);
  cursorBitmap.penColour = p.colour;
  cursorBitmap.penWidth = p.width;
  cursorBitmap.penStyle = p.style;
  if (p.cursv) {
    for (int x : {p.x1, p.x2}) {
      if (p.bandMode) {
        cursorBitmap.MoveTo(x, 0);
        cursorBitmap.LineTo(x, 128);
        cursorBitmap.MoveTo(x, 139);
        cursorBitmap.LineTo(x, 247);
      } else {
        cursorBitmap.MoveTo(x, 0);
        cursorBitmap.LineTo(x, 256);
      }
    }
  }
  if (p.cursh) {
    for (int y : {p.y1, p.y2}) {
      cursorBitmap.MoveTo(0, y);
      cursorBitmap.LineTo(512, y);
    }
  }
}

}  // namespace rovanel::display
