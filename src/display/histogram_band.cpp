#include "display/histogram_band.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace rovanel::display {

Canvas HistogramBandPicture(const signal::Histogram& h, const Font& font) {
  Canvas band(kBandWidth, kBandHeight, kWhite);
  band.penColour = kBlack;
  band.penStyle = PenStyle::Solid;
  const int w = h.classWidth;
  const int classes = std::clamp(h.classCount, 0, signal::kHistMaxClasses);
  // Bars stand on the row below the picture's last one.
  const int base = kBandHeight;
  for (int c = 0; c < classes; ++c) {
    const int left = 2 * c * w;
    const int right = 2 * w * (c + 1);
    const int top = base - h.height[c];
    const auto grey = static_cast<std::uint8_t>(std::clamp(c * w, 0, 255));
    band.brushColour = Rgb{grey, grey, grey};
    band.FillRect(left, base, right, top);
    band.MoveTo(left, top);
    band.LineTo(right, top);
    band.TextOut(left, top - 10, std::to_string(h.label[c]) + "%", kBlack, font, kWhite);
  }
  return band;
}

void DrawHistogramBand(Canvas& drawBitmap, const signal::Histogram& h, const Font& font) {
  drawBitmap.CopyFrom(HistogramBandPicture(h, font), 0, kBandTop);
}

}  // namespace rovanel::display
