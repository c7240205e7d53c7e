// Readable pixel checks for canvases: regions rendered as ASCII art and
// compared against an expected picture.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "display/canvas.h"

namespace rovanel::testsupport {

// Character of each colour in ASCII pictures. Colours not in the map show as '?'.
using Palette = std::map<char, display::Rgb>;

// '.' white, '#' black, 'n' navy, 'r' red, 's' silver, 'b' blue, 'y' yellow.
const Palette& DefaultPalette();

// Rows top..bottom-1, columns left..right-1 (exclusive ends), one line per row,
// pixels outside the canvas as white like Canvas::Pixel does.
std::string AsciiRegion(const display::Canvas& c, int left, int top, int right, int bottom,
                        const Palette& palette = DefaultPalette());

// Succeeds when the region starting at (left, top) equals `rows` (all rows the
// same length); on failure shows both pictures and the first differing pixel.
::testing::AssertionResult RegionIs(const display::Canvas& c, int left, int top,
                                    const std::vector<std::string>& rows,
                                    const Palette& palette = DefaultPalette());

// Pixels of the whole canvas that are not `background`, as (x, y) pairs in row order.
std::vector<std::pair<int, int>> PixelsNot(const display::Canvas& c, display::Rgb background);

// Rows of column x that have colour `colour`, top to bottom.
std::vector<int> RowsOfColour(const display::Canvas& c, int x, display::Rgb colour);

}  // namespace rovanel::testsupport
