#include "display/traces.h"

#include <algorithm>

namespace rovanel::display {

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
