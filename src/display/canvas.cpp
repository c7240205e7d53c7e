#include "display/canvas.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace rovanel::display {

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bits_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill.ToArgb()) {}

void Canvas::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
  phase_ = 0;
}

bool Canvas::PatternOn(long long phase) const {
  std::span<const int> runs;
  switch (penStyle) {
    case PenStyle::Solid:
      return true;
    case PenStyle::Dot:
      runs = kDotPattern;
      break;
    case PenStyle::DashDot:
      runs = kDashDotPattern;
      break;
  }
  long long period = 0;
  for (int r : runs) period += r;
  long long pos = phase % period;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (pos < runs[i]) return i % 2 == 0;
    pos -= runs[i];
  }
  return false;
}

void Canvas::LineTo(int x, int y) {
  const long long x0 = penX_, y0 = penY_;
  const long long dx = x >= x0 ? x - x0 : x0 - x;
  const long long dy = y >= y0 ? y - y0 : y0 - y;
  const int sx = x >= x0 ? 1 : -1;
  const int sy = y >= y0 ? 1 : -1;

  // Major axis a, minor axis b; pixel k (k = 0 .. len - 1) sits at
  // a0 + sa*k, b0 + sb*m(k) with m(k) = ceil((2k*d - len) / (2*len)),
  // i.e. nearest to k*d/len with exact halves going to the smaller m.
  const bool xMajor = dx >= dy;
  const long long len = xMajor ? dx : dy;
  const long long d = xMajor ? dy : dx;
  const long long a0 = xMajor ? x0 : y0;
  const long long b0 = xMajor ? y0 : x0;
  const int sa = xMajor ? sx : sy;
  const int sb = xMajor ? sy : sx;
  const long long aSize = xMajor ? width_ : height_;
  const long long bSize = xMajor ? height_ : width_;

  const long long pw = std::max(penWidth, 1);  // pixels across the line
  if (len > 0 && penStyle == PenStyle::Solid && dx == 0 && pw == 1) {
    // Vertical solid segment, the bulk of a trace: rows without Bresenham.
    if (x0 >= 0 && x0 < width_) {
      const long long first = std::max<long long>(sy > 0 ? y0 : y + 1, 0);
      const long long last = std::min<long long>(sy > 0 ? y - 1 : y0, height_ - 1);
      const std::uint32_t argb = penColour.ToArgb();
      for (long long row = first; row <= last; ++row)
        bits_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) +
              static_cast<std::size_t>(x0)] = argb;
    }
  } else if (len > 0 && aSize > 0) {
    // Steps whose major coordinate falls on the canvas: at most aSize of them.
    long long kFirst = 0, kLast = len - 1;
    if (sa > 0) {
      kFirst = std::max(kFirst, -a0);
      kLast = std::min(kLast, aSize - 1 - a0);
    } else {
      kFirst = std::max(kFirst, a0 - (aSize - 1));
      kLast = std::min(kLast, a0);
    }
    if (kFirst <= kLast) {
      // Bresenham state at kFirst: e = 2k*d - len - 2*len*m, in (-2*len, 0].
      // 128-bit: kFirst and d may each be near 2^32 for far-off end points.
      const long long den = 2 * len;
      long long m = 0;
      long long e = -len;  // the state at k = 0, the usual case: no division
      if (kFirst > 0) {
        const __int128 num = static_cast<__int128>(2 * kFirst) * d - len;
        const __int128 m0 = num >= 0 ? (num + den - 1) / den : -((-num) / den);
        m = static_cast<long long>(m0);
        e = static_cast<long long>(num - m0 * den);
      }
      const std::uint32_t argb = penColour.ToArgb();
      const bool solid = penStyle == PenStyle::Solid;
      for (long long k = kFirst; k <= kLast; ++k) {
        const long long a = a0 + sa * k;
        const long long b = b0 + sb * m;
        if (solid || PatternOn(phase_ + k)) {
          // The run across the line (just b for a one-pixel pen), clipped.
          const long long from = std::max(b - pw / 2, 0LL);
          const long long to = std::min(b - pw / 2 + pw - 1, bSize - 1);
          for (long long across = from; across <= to; ++across) {
            const long long px = xMajor ? a : across;
            const long long py = xMajor ? across : a;
            bits_[static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(px)] = argb;
          }
        }
        e += 2 * d;
        if (e > 0) {
          ++m;
          e -= den;
        }
      }
    }
  }
  phase_ += len;
  penX_ = x;
  penY_ = y;
}

void Canvas::FillRect(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom) return;
  const std::uint32_t argb = brushColour.ToArgb();
  for (int y = top; y < bottom; ++y) {
    std::fill_n(bits_.begin() + static_cast<std::ptrdiff_t>(Index(left, y)), right - left, argb);
  }
}

void Canvas::Clear(Rgb c) {
  std::fill(bits_.begin(), bits_.end(), c.ToArgb());
}

void Canvas::CopyFrom(const Canvas& src, int x, int y) {
  if (&src == this) {
    // src is this canvas: the pixels are read from a copy while written.
    const Canvas copy = src;  // NOLINT(performance-unnecessary-copy-initialization)
    CopyFrom(copy, x, y);
    return;
  }
  // Destination rectangle, clipped, in 64 bits so that far offsets cannot overflow.
  const long long dl = std::max<long long>(x, 0);
  const long long dt = std::max<long long>(y, 0);
  const long long dr = std::min<long long>(static_cast<long long>(x) + src.width_, width_);
  const long long db = std::min<long long>(static_cast<long long>(y) + src.height_, height_);
  if (dl >= dr || dt >= db) return;
  const std::size_t n = static_cast<std::size_t>(dr - dl);
  for (long long row = dt; row < db; ++row) {
    const std::uint32_t* from =
        src.bits_.data() + src.Index(static_cast<int>(dl - x), static_cast<int>(row - y));
    std::memcpy(bits_.data() + Index(static_cast<int>(dl), static_cast<int>(row)), from,
                n * sizeof(std::uint32_t));
  }
}

}  // namespace rovanel::display
