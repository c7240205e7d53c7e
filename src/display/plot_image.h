// The window's plot as a picture file: a PNG of the given size in pixels,
// or an SVG of that size whose curves stay vectors.
#pragma once

#include <string>

#include "display/plot_drawing.h"

namespace rovanel::display {

enum class PlotImageKind { Png, Svg };

// Draws the plot filling a white `width` x `height` picture (96 dpi, as on
// screen) and writes it to `path`; false with `error` set when it cannot.
bool WritePlotImage(const std::string& path, PlotImageKind kind, int width, int height,
                    const PrintPage& page, const PageStyle& style, const PlotOptions& options,
                    std::string& error);

}  // namespace rovanel::display
