// Conversions between the canvas and QImage, and saving a canvas to a file.
#pragma once

#include <QImage>
#include <string>

#include "display/canvas.h"

namespace rovanel::display {

// Format_RGB32 deep copy of the canvas.
QImage ToQImage(const Canvas& c);
// Canvas of the image's size and colours (alpha dropped).
Canvas FromQImage(const QImage& img);

// Writes PNG or BMP according to the extension (".png" / ".bmp", any case).
// Any other extension, or a write failure: false.
bool SaveCanvas(const Canvas& c, const std::string& path);

}  // namespace rovanel::display
