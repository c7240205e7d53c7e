// The progress gauge's bar picture: a blue/navy bar with the percentage
// written over it by XOR, so the text shows on both parts.
#pragma once

#include <QFont>
#include <QImage>

namespace rovanel::display {

// Blue part of a bar `width` pixels wide at `percent`: nearest(percent * width / 100),
// halves to even; percent is clamped to 0..100.
int GaugeFillWidth(int width, int percent);

// The text picture: black, with "%2d%%" of `percent` in yellow, centred.
// Text is drawn without antialiasing so every pixel is black or yellow.
QImage RenderGaugeText(int width, int height, int percent, const QFont& font);

// The bar picture (Format_RGB32): left GaugeFillWidth columns blue (0, 0, 255),
// the rest navy (0, 0, 128), the text picture XORed onto it. `width`/`height`
// are the bevel's inner size (bevel size minus 2).
QImage RenderGaugeBar(int width, int height, int percent, const QFont& font);
QImage RenderGaugeBar(int width, int height, int percent);

// Font of the bar text when none is given.
QFont DefaultGaugeFont();

}  // namespace rovanel::display
