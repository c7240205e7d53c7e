// The plot picture as a Windows BMP file.
#pragma once

#include <cstdint>
#include <vector>

#include "display/canvas.h"

namespace rovanel::display {

// The bytes of a BMP file of the canvas: file header, 40-byte information
// header, then 24-bit pixels (blue, green, red) in rows bottom to top, each
// row padded with zeros to a multiple of 4 bytes; 2835 pixels per metre (72 dpi).
std::vector<std::uint8_t> EncodeBmp(const Canvas& c);

}  // namespace rovanel::display
