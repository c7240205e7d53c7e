// The band views that turn a profile into colours: the grey-level band and
// the spectral colour band under a half-height plot, and the spectral bars
// that replace the whole plot.
#pragma once

#include <cstdint>
#include <span>

#include "display/canvas.h"
#include "display/colour_strip.h"

namespace rovanel::display {

// Size of the band picture and its plot row, for the grey and spectral bands.
inline constexpr int kColourBandWidth = 512;
inline constexpr int kColourBandHeight = 128;
inline constexpr int kColourBandTop = 129;
// Each column's line runs from row 10 to row 118, the end row not drawn.
inline constexpr int kColourLineTop = 10;
inline constexpr int kColourLineEnd = 118;

// The colour-level settings.
struct LevelColours {
  Rgb min = kBlack;     // colour of level 0
  Rgb max = kWhite;     // colour of level 255
  bool single = false;  // levels are shades of `max` from black
};

// Colour of level L (0..255). single: round(L*c/255) for each channel c of
// max. Otherwise per channel with a from min and b from max: a when a = b;
// else L when a < 255; else 255 - L. (Start colours: the grey (L, L, L).)
Rgb LevelColour(int level, const LevelColours& levels);

struct GreyBandParams {
  int viewStart = 0;
  int zoomStep = 4;
  LevelColours levels;
  // The histogram or spectral band is shown too: the grey band then goes to
  // (0, 0), over the curves, instead of (0, kColourBandTop).
  bool atTop = false;
};

// On a white band picture, for each column x the level
// L = round(mean of curve[viewStart + x*zoomStep + j], j < zoomStep), halves
// to even, drawn as a LevelColour line (x, 10) - (x, 118); the picture is
// copied onto drawBitmap at (0, 0) or (0, 129). Columns whose samples run past
// the curve stay white. drawBitmap's pen and brush are unchanged.
void DrawGreyBand(Canvas& drawBitmap, std::span<const std::uint8_t> curve, const GreyBandParams& p);

struct SpectrumViewParams {
  int viewStart = 0;
  int zoomStep = 4;
  bool realTime = false;  // wavelengths of every fourth pixel: p = viewStart + 4x
  bool bandMode = false;  // bars only: half height on base row 127
};

// On a white band picture, for each column x: the wavelength of pixel
// p = viewStart + x*zoomStep (viewStart + 4x in real time) picks the entry
// SpectrumColourIndex(lambdaTab[p]); with S the sum of the zoomStep samples of
// `curve` from viewStart + x*zoomStep, each channel c becomes
// round(c*S / (zoomStep*255)), halves to even: the colour as bright as the
// light measured there, drawn as a line (x, 10) - (x, 118). The picture is
// copied onto drawBitmap at (0, 129). Columns past the curve or the table stay
// white. drawBitmap's pen and brush are unchanged.
void DrawSpectrumBand(Canvas& drawBitmap, std::span<const std::uint8_t> curve,
                      std::span<const float> lambdaTab, const SpectrumColourTable& colours,
                      const SpectrumViewParams& p);

// On a white picture of drawBitmap's size, base row r0 = 127 in band mode,
// else 255; for each column x with p, the entry and S as in DrawSpectrumBand:
// h = round(S / zoomStep), or round(S / (2*zoomStep)) in band mode; a line
// in the entry's full colour from (x, r0) to (x, r0 - h), then one black pixel
// at (x, r0 - h). The picture replaces drawBitmap (copied at (0, 0)); its pen
// and brush are unchanged.
void DrawSpectrumBars(Canvas& drawBitmap, std::span<const std::uint8_t> curve,
                      std::span<const float> lambdaTab, const SpectrumColourTable& colours,
                      const SpectrumViewParams& p);

}  // namespace rovanel::display
