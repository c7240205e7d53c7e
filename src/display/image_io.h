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

// Writes PNG or BMP according to the extension (".png" / ".bmp", any case),
// replacing the file only once the new one is whole. Any other extension,
// or a write failure: false, with the reason in `error` when given.
bool SaveCanvas(const Canvas& c, const std::string& path, std::string* error = nullptr);

}  // namespace rovanel::display
