#include "display/colour_bands.h"

#include <algorithm>
#include <cmath>

namespace rovanel::display {

namespace {

// round(num / den), halves to even: one division of exact integers in double.
long long RoundRatio(long long num, long long den) {
  return static_cast<long long>(
      std::nearbyint(static_cast<double>(num) / static_cast<double>(den)));
}

std::uint8_t Byte(long long v) {
  return static_cast<std::uint8_t>(std::clamp(v, 0LL, 255LL));
}

// Sum of the `zoom` samples from `first`; false when they run past the curve.
bool ColumnSum(std::span<const std::uint8_t> curve, long long first, long long zoom,
               long long& sum) {
  if (first < 0 || first + zoom > static_cast<long long>(curve.size())) return false;
  sum = 0;
  for (long long j = 0; j < zoom; ++j) sum += curve[static_cast<std::size_t>(first + j)];
  return true;
}

// Colour entry of the wavelength of pixel `pixel`; false outside the table.
bool EntryAt(std::span<const float> lambdaTab, const SpectrumColourTable& colours, long long pixel,
             Rgb& entry) {
  if (pixel < 0 || pixel >= static_cast<long long>(lambdaTab.size())) return false;
  entry = SpectrumRgb(colours, SpectrumColourIndex(lambdaTab[static_cast<std::size_t>(pixel)]));
  return true;
}

void VerticalLine(Canvas& c, int x, int fromRow, int toRow, Rgb colour) {
  c.penColour = colour;
  c.MoveTo(x, fromRow);
  c.LineTo(x, toRow);
}

}  // namespace

Rgb LevelColour(int level, const LevelColours& levels) {
  const long long l = std::clamp(level, 0, 255);
  if (levels.single) {
    return Rgb{Byte(RoundRatio(l * levels.max.r, 255)), Byte(RoundRatio(l * levels.max.g, 255)),
               Byte(RoundRatio(l * levels.max.b, 255))};
  }
  auto channel = [l](std::uint8_t a, std::uint8_t b) {
    if (a == b) return a;
    return a < 255 ? Byte(l) : Byte(255 - l);
  };
  return Rgb{channel(levels.min.r, levels.max.r), channel(levels.min.g, levels.max.g),
             channel(levels.min.b, levels.max.b)};
}

void DrawGreyBand(Canvas& drawBitmap, std::span<const std::uint8_t> curve,
                  const GreyBandParams& p) {
  Canvas band(kColourBandWidth, kColourBandHeight, kWhite);
  const long long zoom = std::max(p.zoomStep, 1);
  for (int x = 0; x < kColourBandWidth; ++x) {
    long long sum = 0;
    if (!ColumnSum(curve, p.viewStart + x * zoom, zoom, sum)) break;
    VerticalLine(band, x, kColourLineTop, kColourLineEnd,
                 LevelColour(static_cast<int>(RoundRatio(sum, zoom)), p.levels));
  }
  drawBitmap.CopyFrom(band, 0, p.atTop ? 0 : kColourBandTop);
}

void DrawSpectrumBand(Canvas& drawBitmap, std::span<const std::uint8_t> curve,
                      std::span<const float> lambdaTab, const SpectrumColourTable& colours,
                      const SpectrumViewParams& p) {
  Canvas band(kColourBandWidth, kColourBandHeight, kWhite);
  const long long zoom = std::max(p.zoomStep, 1);
  for (int x = 0; x < kColourBandWidth; ++x) {
    long long sum = 0;
    Rgb entry;
    if (!ColumnSum(curve, p.viewStart + x * zoom, zoom, sum) ||
        !EntryAt(lambdaTab, colours, p.viewStart + x * (p.realTime ? 4 : zoom), entry))
      break;
    const long long den = zoom * 255;
    VerticalLine(band, x, kColourLineTop, kColourLineEnd,
                 Rgb{Byte(RoundRatio(entry.r * sum, den)), Byte(RoundRatio(entry.g * sum, den)),
                     Byte(RoundRatio(entry.b * sum, den))});
  }
  drawBitmap.CopyFrom(band, 0, kColourBandTop);
}

void DrawSpectrumBars(Canvas& drawBitmap, std::span<const std::uint8_t> curve,
                      std::span<const float> lambdaTab, const SpectrumColourTable& colours,
                      const SpectrumViewParams& p) {
  Canvas bars(drawBitmap.Width(), drawBitmap.Height(), kWhite);
  const long long zoom = std::max(p.zoomStep, 1);
  const int base = p.bandMode ? 127 : 255;
  for (int x = 0; x < bars.Width(); ++x) {
    long long sum = 0;
    Rgb entry;
    if (!ColumnSum(curve, p.viewStart + x * zoom, zoom, sum) ||
        !EntryAt(lambdaTab, colours, p.viewStart + x * (p.realTime ? 4 : zoom), entry))
      break;
    const int top = base - static_cast<int>(RoundRatio(sum, p.bandMode ? 2 * zoom : zoom));
    VerticalLine(bars, x, base, top, entry);
    bars.SetPixel(x, top, kBlack);
  }
  drawBitmap.CopyFrom(bars, 0, 0);
}

}  // namespace rovanel::display
