#include "display/colour_bands.h"

#include <algorithm>
#include <array>
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

// The white band picture with one vertical line per column, from row
// kColourLineTop down to kColourLineEnd (end pixel not drawn), copied onto
// `dest` at (0, top). Painted row by row straight into `dest`: the same
// pixels as drawing the band apart and copying it, at a fraction of the cost.
void PaintBand(Canvas& dest, int top, const std::array<std::uint32_t, kColourBandWidth>& colours,
               int columns) {
  const int width = std::min(dest.Width(), kColourBandWidth);
  const std::uint32_t white = kWhite.ToArgb();
  std::uint32_t* bits = dest.MutableBits();
  for (int r = 0; r < kColourBandHeight; ++r) {
    const int y = top + r;
    if (y < 0 || y >= dest.Height()) continue;
    std::uint32_t* row = bits + static_cast<std::size_t>(y) * dest.Width();
    const bool line = r >= kColourLineTop && r < kColourLineEnd;
    const int coloured = line ? std::min(columns, width) : 0;
    std::copy_n(colours.begin(), coloured, row);
    std::fill(row + coloured, row + width, white);
  }
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
  std::array<std::uint32_t, kColourBandWidth> colours{};
  const long long zoom = std::max(p.zoomStep, 1);
  int x = 0;
  for (; x < kColourBandWidth; ++x) {
    long long sum = 0;
    if (!ColumnSum(curve, p.viewStart + x * zoom, zoom, sum)) break;
    colours[x] = LevelColour(static_cast<int>(RoundRatio(sum, zoom)), p.levels).ToArgb();
  }
  PaintBand(drawBitmap, p.atTop ? 0 : kColourBandTop, colours, x);
}

void DrawSpectrumBand(Canvas& drawBitmap, std::span<const std::uint8_t> curve,
                      std::span<const float> lambdaTab, const SpectrumColourTable& colours,
                      const SpectrumViewParams& p) {
  std::array<std::uint32_t, kColourBandWidth> line{};
  const long long zoom = std::max(p.zoomStep, 1);
  int x = 0;
  for (; x < kColourBandWidth; ++x) {
    long long sum = 0;
    Rgb entry;
    if (!ColumnSum(curve, p.viewStart + x * zoom, zoom, sum) ||
        !EntryAt(lambdaTab, colours, p.viewStart + x * (p.realTime ? 4 : zoom), entry))
      break;
    const long long den = zoom * 255;
    line[x] = Rgb{Byte(RoundRatio(entry.r * sum, den)), Byte(RoundRatio(entry.g * sum, den)),
                  Byte(RoundRatio(entry.b * sum, den))}
                  .ToArgb();
  }
  PaintBand(drawBitmap, kColourBandTop, line, x);
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
    bars.penColour = entry;
    bars.MoveTo(x, base);
    bars.LineTo(x, top);
    bars.SetPixel(x, top, kBlack);
  }
  drawBitmap.CopyFrom(bars, 0, 0);
}

}  // namespace rovanel::display
