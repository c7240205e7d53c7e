#include "display/traces.h"

#include <algorithm>
#include <cstdlib>

namespace rovanel::display {

namespace {

// Rows a..b (either order) of column x in the pen colour, clipped.
void FillColumn(Canvas& canvas, int x, int a, int b, std::uint32_t argb) {
  const int top = std::max(std::min(a, b), 0);
  const int bottom = std::min(std::max(a, b), canvas.Height() - 1);
  std::uint32_t* bits = canvas.MutableBits();
  const auto width = static_cast<std::size_t>(canvas.Width());
  for (int y = top; y <= bottom; ++y) bits[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] = argb;
}

// What a column of the Pics trace covers on its own: the rows its samples
// visit one after the other, as vertical segments without their end pixel.
struct ColumnWalk {
  int first = 0, last = 0;  // rows of the column's first and last samples
  int lo = 0, hi = 0;       // the rows covered (lo > hi: none)
};

ColumnWalk Walk(const std::uint8_t* samples, long long s0, int count, bool half) {
  ColumnWalk w;
  w.first = w.last = RowOf(samples[s0], half);
  int lo = w.first, hi = w.first;          // over every row so far
  int before = 256, beforeHi = -1;         // over the rows before the final run of equal rows
  for (int j = 1; j < count; ++j) {
    const int r = RowOf(samples[s0 + j], half);
    if (r != w.last) {
      before = lo;
      beforeHi = hi;
      lo = std::min(lo, r);
      hi = std::max(hi, r);
      w.last = r;
    }
  }
  // Every row between the extremes is left by a segment again, except the
  // last one: it is drawn only when an earlier segment passed over it.
  w.lo = lo;
  w.hi = hi;
  if (beforeHi < 0) {
    w.lo = 1;
    w.hi = 0;  // one row throughout: no segment
  } else if (w.last < before) {
    w.lo = w.last + 1;
  } else if (w.last > beforeHi) {
    w.hi = w.last - 1;
  }
  return w;
}

// The Pics style with a solid one-pixel pen, one span per column: the
// pixels of the per-sample segments (the column's walk, and the two halves
// of each joining line between one column's last row and the next one's
// first), computed instead of stepped. The pen ends where the segments
// would have left it.
void DrawPicsSpans(Canvas& canvas, const std::uint8_t* samples, long long n, const TraceView& v) {
  const int width = canvas.Width();
  const bool half = v.halfHeight;
  const std::uint32_t argb = canvas.penColour.ToArgb();
  // Samples of column x that exist (0 once the data end).
  auto countOf = [&](int x) {
    const long long s = SampleIndex(v, x, 0);
    return s >= n ? 0 : static_cast<int>(std::min<long long>(v.zoomStep, n - s));
  };
  int count = countOf(0);
  ColumnWalk w = Walk(samples, SampleIndex(v, 0, 0), count, half);
  int lo = w.lo, hi = w.hi;
  int x = 0;
  for (;;) {
    const int nextCount = (x + 1 < width && count == v.zoomStep) ? countOf(x + 1) : 0;
    if (nextCount == 0) {
      if (lo <= hi) FillColumn(canvas, x, lo, hi, argb);
      canvas.MoveTo(x, w.last);
      return;
    }
    const ColumnWalk next = Walk(samples, SampleIndex(v, x + 1, 0), nextCount, half);
    // The joining line from (x, last) to (x + 1, next.first), without its end:
    // (x, last) always; steeper than one row per column, its first half
    // (rows up to half the rise) stays in column x, the rest goes to x + 1.
    const int rise = next.first - w.last;
    const int dy = std::abs(rise);
    const int sy = rise >= 0 ? 1 : -1;
    int ownEnd = w.last;
    int nextLo = next.lo, nextHi = next.hi;
    if (dy > 1) {
      ownEnd = w.last + sy * (dy / 2);
      const int from = w.last + sy * (dy / 2 + 1);
      const int to = next.first - sy;
      if ((to - from) * sy >= 0) {
        const bool walked = next.lo <= next.hi;
        nextLo = std::min(walked ? next.lo : from, std::min(from, to));
        nextHi = std::max(walked ? next.hi : from, std::max(from, to));
      }
    }
    if (lo > hi) lo = hi = w.last;
    lo = std::min({lo, w.last, ownEnd});
    hi = std::max({hi, w.last, ownEnd});
    FillColumn(canvas, x, lo, hi, argb);
    ++x;
    w = next;
    count = nextCount;
    lo = nextLo;
    hi = nextHi;
  }
}

}  // namespace

void DrawTrace(Canvas& canvas, const std::uint8_t* samples, std::size_t count, TraceStyle style,
               const TraceView& view) {
  TraceView v = view;
  v.zoomStep = std::max(v.zoomStep, 1);
  v.stride = std::max(v.stride, 1);
  if (samples == nullptr || v.viewStart < 0 || static_cast<std::size_t>(v.viewStart) >= count) {
    return;
  }
  const long long n = static_cast<long long>(count);
  const int width = canvas.Width();
  const bool half = v.halfHeight;
  auto row = [&](long long s) { return RowOf(samples[s], half); };

  switch (style) {
    case TraceStyle::Vecteurs:
      canvas.MoveTo(0, row(v.viewStart));
      for (int x = 1; x < width; ++x) {
        const long long s = SampleIndex(v, x, 0);
        if (s >= n) return;
        canvas.LineTo(x, row(s));
      }
      return;
    case TraceStyle::Pics:
      if (canvas.penStyle == PenStyle::Solid && canvas.penWidth <= 1) {
        DrawPicsSpans(canvas, samples, n, v);
        return;
      }
      canvas.MoveTo(0, row(v.viewStart));
      for (int x = 0; x < width; ++x) {
        for (int j = 0; j < v.zoomStep; ++j) {
          const long long s = SampleIndex(v, x, j);
          if (s >= n) return;
          canvas.LineTo(x, row(s));
        }
      }
      return;
    case TraceStyle::Points: {
      const Rgb c = canvas.penColour;
      for (int x = 0; x < width; ++x) {
        for (int j = 0; j < v.zoomStep; ++j) {
          const long long s = SampleIndex(v, x, j);
          if (s >= n) return;
          canvas.SetPixel(x, row(s), c);
        }
      }
      return;
    }
  }
}

}  // namespace rovanel::display
