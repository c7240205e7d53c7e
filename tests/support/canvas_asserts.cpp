#include "support/canvas_asserts.h"

#include <sstream>

namespace rovanel::testsupport {

using display::Canvas;
using display::Rgb;

const Palette& DefaultPalette() {
  static const Palette p{{'.', display::kWhite}, {'#', display::kBlack},  {'n', display::kNavy},
                         {'r', display::kRed},   {'s', display::kSilver}, {'b', display::kBlue},
                         {'y', display::kYellow}};
  return p;
}

static char CharOf(Rgb c, const Palette& palette) {
  for (const auto& [ch, rgb] : palette) {
    if (rgb == c) return ch;
  }
  return '?';
}

std::string AsciiRegion(const Canvas& c, int left, int top, int right, int bottom,
                        const Palette& palette) {
  std::string out;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) out += CharOf(c.Pixel(x, y), palette);
    out += '\n';
  }
  return out;
}

::testing::AssertionResult RegionIs(const Canvas& c, int left, int top,
                                    const std::vector<std::string>& rows, const Palette& palette) {
  const int h = static_cast<int>(rows.size());
  const int w = h ? static_cast<int>(rows[0].size()) : 0;
  std::string expected;
  for (const std::string& r : rows) {
    if (static_cast<int>(r.size()) != w) {
      return ::testing::AssertionFailure() << "expected picture has rows of different lengths";
    }
    expected += r + '\n';
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const char want = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      const auto it = palette.find(want);
      if (it == palette.end()) {
        return ::testing::AssertionFailure() << "character '" << want << "' not in the palette";
      }
      const Rgb got = c.Pixel(left + x, top + y);
      if (!(got == it->second)) {
        std::ostringstream s;
        s << "first difference at (" << left + x << ", " << top + y << "): got (" << int(got.r)
          << ", " << int(got.g) << ", " << int(got.b) << ")\nexpected:\n"
          << expected << "actual:\n"
          << AsciiRegion(c, left, top, left + w, top + h, palette);
        return ::testing::AssertionFailure() << s.str();
      }
    }
  }
  return ::testing::AssertionSuccess();
}

std::vector<std::pair<int, int>> PixelsNot(const Canvas& c, Rgb background) {
  std::vector<std::pair<int, int>> out;
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      if (!(c.Pixel(x, y) == background)) out.emplace_back(x, y);
    }
  }
  return out;
}

std::vector<int> RowsOfColour(const Canvas& c, int x, Rgb colour) {
  std::vector<int> out;
  for (int y = 0; y < c.Height(); ++y) {
    if (c.Pixel(x, y) == colour) out.push_back(y);
  }
  return out;
}

}  // namespace rovanel::testsupport
